// Where a walking character stands: see GameEntStand.h.
#include "game/Ents/GameEntStand.h"

#include "I3d/Math/Mat4Math.h"
#include "engine/Ent3d/Ent3dBase.h"

#include <cstring>

void GameEntStandLocalBox(Ent3dBase* e, float height) {
    const float box[6] = {-0.5f, 0.0f, -0.5f, 0.5f, height, 0.5f};
    for (int i = 0; i < 6; ++i)
        e->localBox[i] = box[i];
}

namespace {
// The turned matrix moved to the entity's position, and the world box around it.
void StandTurned(Ent3dBase* e, const Mat4& turned, float offsetX, float offsetZ, float height) {
    const VECTOR3& pos = e->pos;
    e->matrix = turned;
    e->matrix.m[12] = pos.x + offsetX;
    e->matrix.m[13] = pos.y;
    e->matrix.m[14] = pos.z + offsetZ;
    const float box[6] = {pos.x - 0.5f, pos.y,          pos.z - 0.5f,
                          pos.x + 0.5f, pos.y + height, pos.z + 0.5f};
    for (int i = 0; i < 6; ++i)
        e->worldBox[i] = box[i];
}
} // namespace

void GameEntStand(Ent3dBase* e, float yaw, float offsetX, float offsetZ, float height) {
    Mat4 turned;
    Mat4Identity(&turned);
    Mat4RotateY(&turned, yaw);
    StandTurned(e, turned, offsetX, offsetZ, height);
}

void GameEntStandAgain(Ent3dBase* e, GameEntStandMemo* memo, float yaw, float offsetX,
                       float offsetZ, float height) {
    const float inputs[7] = {yaw, offsetX, offsetZ, height, e->pos.x, e->pos.y, e->pos.z};
    // Bit for bit: -0 and 0 turn the matrix alike but NaN never equals itself.
    if (memo->known && std::memcmp(inputs, memo->inputs, sizeof inputs) == 0 &&
        std::memcmp(&e->matrix, &memo->matrix, sizeof(Mat4)) == 0 &&
        std::memcmp(e->worldBox, memo->worldBox, sizeof memo->worldBox) == 0)
        return;
    if (memo->known && std::memcmp(&yaw, &memo->inputs[0], sizeof yaw) == 0) {
        // The same heading walking on: the last matrix holds this turn (its translation is
        // written over), so no sine and cosine again.
        StandTurned(e, memo->matrix, offsetX, offsetZ, height);
    } else {
        GameEntStand(e, yaw, offsetX, offsetZ, height);
    }
    memo->known = true;
    std::memcpy(memo->inputs, inputs, sizeof inputs);
    memo->matrix = e->matrix;
    std::memcpy(memo->worldBox, e->worldBox, sizeof memo->worldBox);
}
