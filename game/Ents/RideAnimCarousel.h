// The carousel: the spin ride's states with its own draw. The platform turns about the vertical
// axis by -angle, and the two horse rings rise and sink in opposite phase.
#pragma once

#include "game/Ents/RideAnimSpin.h"

struct MDL3NODE;

class RideAnimCarousel : public RideAnimSpin {
  public:
    RideAnimCarousel();
    int Init(AttrInfo* info, const char* dataFolder, RideAnimOwner* owner) override;
    void Draw(const Mat4* world) override;
    // The three override matrices at the current angle.
    void Pose();

    MDL3NODE* platform = nullptr; // "Merrygoround"
    MDL3NODE* horses1 = nullptr;  // "Horses1"
    MDL3NODE* horses2 = nullptr;  // "Horse2"
    Mat4 platformMatrix = {};
    Mat4 horses1Matrix = {};
    Mat4 horses2Matrix = {};
};
