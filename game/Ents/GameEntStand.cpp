// Where a walking character stands: see GameEntStand.h.
#include "game/Ents/GameEntStand.h"

#include "I3d/Math/Mat4Math.h"
#include "engine/Ent3d/Ent3dBase.h"

void GameEntStandLocalBox(Ent3dBase* e, float height) {
    const float box[6] = {-0.5f, 0.0f, -0.5f, 0.5f, height, 0.5f};
    for (int i = 0; i < 6; ++i)
        e->localBox[i] = box[i];
}

void GameEntStand(Ent3dBase* e, float yaw, float offsetX, float offsetZ, float height) {
    const VECTOR3& pos = e->pos;
    Mat4Identity(&e->matrix);
    Mat4RotateY(&e->matrix, yaw);
    e->matrix.m[12] = pos.x + offsetX;
    e->matrix.m[13] = pos.y;
    e->matrix.m[14] = pos.z + offsetZ;
    const float box[6] = {pos.x - 0.5f, pos.y,          pos.z - 0.5f,
                          pos.x + 0.5f, pos.y + height, pos.z + 0.5f};
    for (int i = 0; i < 6; ++i)
        e->worldBox[i] = box[i];
}
