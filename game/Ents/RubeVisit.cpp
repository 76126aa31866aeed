// The visit's stand-ins: see RubeVisit.h.
#include "game/Ents/RubeVisit.h"

#include "game/Ents/Rube1.h"

AttrBase* RubeVisitChoose(Rube1*, int) {
    return nullptr;
}

void RubeVisitArrive(Rube1* patron) {
    if (!patron) return;
    patron->target = EntRef();
    patron->EnterThink();
}
