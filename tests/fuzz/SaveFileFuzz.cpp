// Save files of any content loaded by the game object as a sandbox, a career and a layout, with
// the framework's test classes standing in for the placed entities (their properties load from
// the file's sections too).
#include "engine/Dirs.h"
#include "engine/EntIniLoader.h"
#include "engine/EntTree.h"
#include "engine/IniFile.h"
#include "game/MtGame.h"
#include "game/MtGameSave.h"
#include "tests/engine/EntTestClasses.h"
#include "tests/fuzz/FuzzInput.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The save folder follows the documents folder: the process's scratch folder.
    static const bool s_documents = [] {
        setenv("XDG_DOCUMENTS_DIR", FuzzScratchPath("Documents").c_str(), 1);
        DirCreatePath(FuzzScratchPath("Documents/Fairlark/Fuzz").c_str());
        DirCreatePath(FuzzScratchPath("Documents/Fairlark/Player 1").c_str());
        return true;
    }();
    (void)s_documents;
    RegisterTestClasses();
    EntCreateClass(EcMtGameProc, 0, 0);
    ENTBASE* root = MakeEnt("Rider", nullptr, "Root");
    auto* game = static_cast<MtGame*>(EntCreateChild("MtGame", root));
    game->Start();
    ENTBASE* world = MakeEnt("Rider", root, "World");
    MakeEnt("Rider", world, "First");

    FuzzWriteFile("Documents/Fairlark/Fuzz.sbx", data, size);
    FuzzWriteFile("Documents/Fairlark/Fuzz/Fuzz.car", data, size);
    FuzzWriteFile("Documents/Fairlark/Player 1/Layout00_Fuzz.lay", data, size);
    MtGameLoadSandbox(game, "Fuzz");
    if (EntIsLive(game)) {
        MtGameLoadCareer(game, "Fuzz");
        std::snprintf(game->career.name, sizeof game->career.name, "Player 1");
        MtGameSetVenue(game, 0);
        MtGameLoadLayout(game, "Fuzz");
    }

    EntDestroyTree(root);
    EntSystemShutdown();
    IniClose();
    EntSourceFilesClear();
    return 0;
}
