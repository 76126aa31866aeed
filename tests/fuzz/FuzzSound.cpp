// The sound targets' device, opened once per process.
#include "tests/fuzz/FuzzSound.h"

#include "engine/Sound/Sound.h"

#include <cstdlib>

namespace {
void CloseSound() {
    SndShutdown();
}
} // namespace

void FuzzOpenSoundOnce() {
    static const bool s_open = [] {
        const bool open = SndInit(nullptr, 0, 4) == 0;
        if (open) std::atexit(CloseSound);
        return open;
    }();
    (void)s_open;
}
