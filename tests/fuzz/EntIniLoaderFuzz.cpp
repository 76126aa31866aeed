// Entity files of any content, in both forms: the list form as the scripts load it into the
// world (and as the editor asks it whether it names an entity), and the section form of saved
// games and layouts, against a fresh registry of test classes each time (their properties load
// from the file's sections too).
#include "engine/EntIniLoader.h"
#include "engine/EntTree.h"
#include "engine/IniFile.h"
#include "tests/engine/EntTestClasses.h"
#include "tests/fuzz/FuzzInput.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RegisterTestClasses();
    ENTBASE* root = MakeEnt("Rider", nullptr, "Root");
    ENTBASE* world = MakeEnt("Rider", root, "World");
    const std::string path = FuzzWriteFile("Entities.ini", data, size);

    EntLoadEntitiesIni("Entities.ini", root, world, FuzzScratchPath("").c_str());
    EntListNames(path.c_str(), "World");
    {
        EntIniLoader loader(1000);
        loader.root = root;
        loader.defaultParent[0] = loader.defaultParent[1] = world;
        if (loader.Open(path.c_str()) == 0) {
            loader.EntLoadIni(ENT_SAVEGAME);
            loader.StartAll();
        }
    }
    EntDestroyTree(root);
    EntSystemShutdown();
    IniClose();
    EntSourceFilesClear();
    return 0;
}
