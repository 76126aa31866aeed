// The terrain entity's drawing, its patch LOD overlay and its pick test. The terrain drawing
// and its ray tests (message 112 among them) fill these in; until then the terrain draws
// nothing and is never picked, and message 112 takes the 3D base's answer.
#include "world/EcTerrain2.h"

int EcTerrain2::DrawPre() {
    return 1;
}

int EcTerrain2::Hook15() {
    return 1;
}

bool EcTerrain2::PickTest(PickQuery*) {
    return false;
}
