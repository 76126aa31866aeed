// Where a placed attraction stands for each quarter turn, and back: the one table that placing,
// the grid's rebuild and removal share, so the three always agree on an attraction's cells.
#pragma once

#include "I3d/Math/MathTypes.h"

class AttrInfo;
struct GameGridCore;

// 0..3 from a yaw in radians; each threshold lies 0.035 below a multiple of pi/2.
int YawToQuarterTurn(float yaw);
// The yaw of a quarter turn.
float QuarterTurnYaw(int turn);

// The footprint in cells along x and z after the turn: (footX, footZ), swapped for an odd turn.
void PlacementFootprint(const AttrInfo* info, int turn, int* width, int* depth);

// The attraction's position (x, z) for the anchor (x, z): the low corner of its first
// footprint cell.
void PlacementPosition(const AttrInfo* info, int turn, float tileWidth, float tileHeight,
                       float anchorX, float anchorZ, float* x, float* z);
// The inverse: the anchor of an attraction standing at (x, z).
void PlacementAnchor(const AttrInfo* info, int turn, float tileWidth, float tileHeight, float x,
                     float z, float* anchorX, float* anchorZ);

// The first footprint cell of an attraction at `position` with `yaw`. The anchor is read at the
// centre of its cell, so that rounding in the table, and positions written to save files as text,
// cannot slip it into the neighbouring cell. True when the cell lies in the grid.
bool PlacementFirstCell(const GameGridCore* grid, const AttrInfo* info, const VECTOR3* position,
                        float yaw, int* fx, int* fz);
