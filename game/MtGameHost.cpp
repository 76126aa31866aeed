// The host of the game objects.
#include "game/MtGameHost.h"

static MtGameHost* s_host = nullptr;

void MtGameSetHost(MtGameHost* host) {
    s_host = host;
}

MtGameHost* MtGameGetHost() {
    return s_host;
}
