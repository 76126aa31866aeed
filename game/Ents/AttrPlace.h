// Placing an attraction on the grid as a player buys it: the footprint and its ring tested free,
// the attraction made under the world's parent at its type's position for the turn, standing on
// the ground, named and stamped for the saved game, its deposit paid through the day's book and
// its footprint marked. The placing screen and the simulation's tests share it, so a fault in
// placing shows wherever attractions are placed.
#pragma once

class AttrBase;
class AttrInfo;
class ENTBASE;
class MtGame;
struct GameGridCore;

// The position (x, z) of `info` turned `turn` with the first corner of its ring at cell (cx, cz)
// by the quarter-turn table: the anchor is the far corner of that cell, the first cell inside the
// ring. The placing screen's cursor model stands where the attraction will.
void AttrPlacePosition(const GameGridCore* grid, const AttrInfo* info, int turn, int cx, int cz,
                       float* x, float* z);
// Places `info` (type `type` of the game's list) with the first corner of its ring at cell
// (cx, cz), turned `turn` quarter turns, under `parent`: the attraction, or null with nothing
// taken. *result (when given) tells why: 1 placed; 0 no grid or footprint, the rectangle not
// free, or the day closed; -1 the attraction could not be made. Without a game object
// nothing is paid.
AttrBase* AttrPlace(MtGame* game, GameGridCore* grid, ENTBASE* parent, const AttrInfo* info,
                    int type, int cx, int cz, int turn, int* result = nullptr);
