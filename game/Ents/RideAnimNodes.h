// The moving nodes of a table-driven ride animator: found once in the model by their table
// names, posed from the ride's angle (a stand's state time) and speed, attached as override
// matrices just before the model draw and cleared right after it.
#pragma once

#include "I3d/Math/MathTypes.h"
#include "game/Ents/RideAnimTable.h"

#include <vector>

struct MDL3;
struct MDL3NODE;

struct RideNode {
    MDL3NODE* node = nullptr; // null: not in the model, skipped
    int motion = 0;           // the row's motion
    int k = 0;                // place in its numbered run
    Mat4 matrix = {};
};

class RideNodeSet {
  public:
    // Looks every node of the row up from the model's root; a null model finds none.
    void Find(MDL3* model, const RideTypeRow* row);
    // Moves the motions' own angles (turns that are not whole numbers) by a ride's angle step.
    void Advance(float step);
    // Each found node's matrix for `a` and speed: a ride's angle, which wraps at a whole turn
    // (turns that are not whole numbers then take their own angles), or a stand's time.
    void Pose(double a, float speed, bool wraps);
    // Attaches every found node's matrix; Detach clears them again.
    void Attach();
    void Detach();
    int FoundCount() const;

    const RideTypeRow* row = nullptr;
    std::vector<RideNode> nodes;
    float ownAngle[RIDE_TABLE_MOTIONS] = {};
};

// The rotation about a row axis (or the rise along y) by `value`.
Mat4 RideAxisMatrix(RideAxis axis, float value);
