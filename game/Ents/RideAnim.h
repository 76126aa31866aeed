// The ride animator with a model: the attraction type's shared extended model, drawn with the
// attraction's lights and chaser pattern, and the world matrices of its attach nodes copied into
// the attraction's seats. The per-model animators derive from it.
#pragma once

#include "game/RideAnimCore.h"

struct MDL3;
class Mdl3ExModel;

class RideAnim : public RideAnimCore {
  public:
    // Releases the model.
    ~RideAnim() override;
    // The core's Init, then the light phase and the model ("modelFileName" behind the data
    // folder); a model that does not load leaves the unit box and no seats.
    int Init(AttrInfo* info, const char* dataFolder, RideAnimOwner* owner) override;
    void Draw(const Mat4* world) override;
    // The model's attach nodes, at most RIDE_SEAT_MAX; 0 without a model.
    int SeatCount() override;

    MDL3* model = nullptr;           // the instance's node tree, not owned
    Mdl3ExModel* instance = nullptr; // one reference to the shared model
    int32_t lightPhase = 0;
};
