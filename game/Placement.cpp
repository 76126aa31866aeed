// The placement table of quarter turns and its inverse.
#include "game/Placement.h"

#include "engine/MathConst.h"
#include "game/AttrInfo.h"
#include "game/GameGridCore.h"

namespace {
constexpr float kQuarter = kHalfPi6;

// The table's offset of the position from the anchor. Its "2W" is the footprint's width in
// world units, W x the tile size along the axis it lies on.
void Offset(const AttrInfo* info, int turn, float tileWidth, float tileHeight, float* dx,
            float* dz) {
    const float ox = info->footOffsetX, oz = info->footOffsetZ;
    const float w = (float)info->footX;
    switch (turn & 3) {
        case 0: *dx = ox, *dz = oz; break;
        case 1: *dx = oz, *dz = w * tileHeight - ox; break;
        case 2: *dx = w * tileWidth - ox, *dz = oz; break;
        default: *dx = oz, *dz = ox; break;
    }
}
} // namespace

int YawToQuarterTurn(float yaw) {
    if (yaw > 6.248174f) return 0;
    if (yaw > 4.677404f) return 3;
    if (yaw > 3.106634f) return 2;
    if (yaw > 1.535864f) return 1;
    return 0;
}

float QuarterTurnYaw(int turn) {
    return (float)(turn & 3) * kQuarter;
}

void PlacementFootprint(const AttrInfo* info, int turn, int* width, int* depth) {
    const bool odd = (turn & 1) != 0;
    *width = odd ? info->footZ : info->footX;
    *depth = odd ? info->footX : info->footZ;
}

void PlacementPosition(const AttrInfo* info, int turn, float tileWidth, float tileHeight,
                       float anchorX, float anchorZ, float* x, float* z) {
    float dx, dz;
    Offset(info, turn, tileWidth, tileHeight, &dx, &dz);
    *x = anchorX + dx;
    *z = anchorZ + dz;
}

void PlacementAnchor(const AttrInfo* info, int turn, float tileWidth, float tileHeight, float x,
                     float z, float* anchorX, float* anchorZ) {
    float dx, dz;
    Offset(info, turn, tileWidth, tileHeight, &dx, &dz);
    *anchorX = x - dx;
    *anchorZ = z - dz;
}

bool PlacementFirstCell(const GameGridCore* grid, const AttrInfo* info, const VECTOR3* position,
                        float yaw, int* fx, int* fz) {
    float ax, az;
    PlacementAnchor(info, YawToQuarterTurn(yaw), grid->tileWidth, grid->tileHeight, position->x,
                    position->z, &ax, &az);
    return GameGridWorldToCell(grid, ax + grid->tileWidth * 0.5f, az + grid->tileHeight * 0.5f, fx,
                               fz);
}
