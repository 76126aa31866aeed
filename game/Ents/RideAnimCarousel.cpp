// The carousel's nodes and their overrides around the model draw.
#include "game/Ents/RideAnimCarousel.h"

#include "I3d/Mdl3.h"

#include <cmath>

namespace {
constexpr int kCarouselType = 18;
constexpr float kHorseRise = 0.2f;
} // namespace

RideAnimCarousel::RideAnimCarousel() : RideAnimSpin(kCarouselType) {}

int RideAnimCarousel::Init(AttrInfo* type, const char* folder, RideAnimOwner* owner) {
    const int result = RideAnimSpin::Init(type, folder, owner);
    MDL3NODE* root = model && model->numNodes > 0 ? &model->nodes[0] : nullptr;
    platform = root ? Mdl3FindNode(root, "Merrygoround") : nullptr;
    horses1 = root ? Mdl3FindNode(root, "Horses1") : nullptr;
    horses2 = root ? Mdl3FindNode(root, "Horse2") : nullptr;
    return result;
}

void RideAnimCarousel::Pose() {
    platformMatrix = RideAxisMatrix(RIDE_AXIS_Y, -angle);
    const float rise = kHorseRise + kHorseRise * std::sin(angle);
    horses1Matrix = RideAxisMatrix(RIDE_AXIS_RISE, rise);
    horses2Matrix = RideAxisMatrix(RIDE_AXIS_RISE, -rise);
}

void RideAnimCarousel::Draw(const Mat4* world) {
    if (!instance || !model) return;
    Pose();
    if (platform) Mdl3NodeSetOverride(platform, &platformMatrix);
    if (horses1) Mdl3NodeSetOverride(horses1, &horses1Matrix);
    if (horses2) Mdl3NodeSetOverride(horses2, &horses2Matrix);
    RideAnim::Draw(world);
    if (platform) Mdl3NodeClearOverride(platform);
    if (horses1) Mdl3NodeClearOverride(horses1);
    if (horses2) Mdl3NodeClearOverride(horses2);
}
