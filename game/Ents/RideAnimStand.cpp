// The stands' animator: the table's product nodes posed on the state time around each draw.
#include "game/Ents/RideAnimStand.h"

int RideAnimStand::Init(AttrInfo* type, const char* folder, RideAnimOwner* owner) {
    const int result = RideAnim::Init(type, folder, owner);
    nodes.Find(model, row);
    return result;
}

void RideAnimStand::Draw(const Mat4* world) {
    if (!instance || !model) return;
    nodes.Pose(stateTime, 0.0f, false);
    nodes.Attach();
    RideAnim::Draw(world);
    nodes.Detach();
}
