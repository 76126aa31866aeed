// The choice of an attraction's ride animator: by its type index in the ride table, never by
// the model file it names.
#include "game/Ents/AttrBase.h"
#include "game/Ents/RideAnimArch.h"
#include "game/Ents/RideAnimCarousel.h"
#include "game/Ents/RideAnimDropTower.h"
#include "game/Ents/RideAnimGenerator.h"
#include "game/Ents/RideAnimLoop.h"
#include "game/Ents/RideAnimStand.h"
#include "game/Ents/RideAnimTable.h"

#include <new>

RideAnimCore* AttrBaseBuildAnimator(int type, AttrInfo* info, const char* dataFolder,
                                    RideAnimOwner* attraction) {
    if (!info) return nullptr;
    RideAnim* anim = nullptr;
    switch (RideTypeRowOf(type).family) {
        case RIDE_FAMILY_STAND: anim = new (std::nothrow) RideAnimStand(type); break;
        case RIDE_FAMILY_SPIN: anim = new (std::nothrow) RideAnimSpin(type); break;
        case RIDE_FAMILY_CAROUSEL: anim = new (std::nothrow) RideAnimCarousel; break;
        case RIDE_FAMILY_LOOP: anim = new (std::nothrow) RideAnimLoop; break;
        case RIDE_FAMILY_DROP: anim = new (std::nothrow) RideAnimDropTower; break;
        case RIDE_FAMILY_GENERATOR: anim = new (std::nothrow) RideAnimGenerator; break;
        case RIDE_FAMILY_ARCH: anim = new (std::nothrow) RideAnimArch; break;
        case RIDE_FAMILY_STATIC: anim = new (std::nothrow) RideAnim; break;
    }
    if (!anim) return nullptr;
    anim->Init(info, dataFolder, attraction);
    return anim;
}
