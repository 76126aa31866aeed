// "Config.ini" of any content read as the game reads it at start-up (its video keys, the
// configuration dialog answering "Play Game") and for the options' preferences.
#include "engine/GameApp/GameApp.h"
#include "game/Prefs.h"
#include "tests/fuzz/FuzzInput.h"
#include "tools/HwConfig.h"

#include <sys/stat.h>

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool s_folders = [] {
        setenv("XDG_DOCUMENTS_DIR", FuzzScratchPath("").c_str(), 1);
        mkdir(FuzzScratchPath("Fairlark").c_str(), 0755);
        HwConfigSetDriver([](HwConfigSettings*) { return 1; });
        return true;
    }();
    (void)s_folders;
    FuzzWriteFile("Fairlark/Config.ini", data, size);
    {
        GameApp app;
        app.SetProgramFolder(FuzzScratchPath("program/").c_str());
        app.LoadConfig();
    }
    Prefs prefs;
    prefs.Load(FuzzScratchPath("Fairlark").c_str());
    return 0;
}
