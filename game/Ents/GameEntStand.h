// Where a walking character stands: the patrons and the carnies face their heading on the ground
// under a box one unit square and as high as they are.
#pragma once

#include "I3d/Math/MathTypes.h"

class Ent3dBase;

// The entity's box in its own frame: one unit square around its feet, `height` high.
void GameEntStandLocalBox(Ent3dBase* e, float height);

// The world matrix turned by `yaw` about y and set at the entity's position moved by
// (`offsetX`, 0, `offsetZ`), and the world box around the position itself.
void GameEntStand(Ent3dBase* e, float yaw, float offsetX, float offsetZ, float height);

// What GameEntStandAgain last made for one entity.
struct GameEntStandMemo {
    bool known = false;
    float inputs[7] = {};
    Mat4 matrix = {};
    float worldBox[6] = {};
};

// GameEntStand, skipped when its inputs and the entity's position are those of the last call and
// the matrix and world box are still what that call made (nobody else wrote them since): the
// same inputs give the same result, and a character standing in a line needs no sine and cosine
// every frame. One that walks on under the same yaw keeps the last turn and moves only its
// translation and box.
void GameEntStandAgain(Ent3dBase* e, GameEntStandMemo* memo, float yaw, float offsetX,
                       float offsetZ, float height);
