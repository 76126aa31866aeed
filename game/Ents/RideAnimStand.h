// A food or drink stand's animator: its product nodes turn or wobble for ever on the state time,
// which stops counting while the stand is broken or closed.
#pragma once

#include "game/Ents/RideAnim.h"
#include "game/Ents/RideAnimNodes.h"

class RideAnimStand : public RideAnim {
  public:
    explicit RideAnimStand(int type) : row(&RideTypeRowOf(type)) {}
    int Init(AttrInfo* info, const char* dataFolder, RideAnimOwner* owner) override;
    void Draw(const Mat4* world) override;

    const RideTypeRow* row;
    RideNodeSet nodes;
};
