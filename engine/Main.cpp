// The program's entry: the game application, made before main runs, taken through start-up, its
// loop and shutdown.
#include "engine/App/AppBase.h"
#include "engine/GameApp/GameApp.h"
#include "tools/HwConfig.h"
#include "tools/MasterEdit.h"

static GameApp s_game;

int main(int argc, char** argv) {
    // The program shows the real dialog; test programs install drivers of their own.
    HwConfigSetDriver(HwConfigRun);
    // The same for the editor: tests keep their doubles.
    EditorSetMaker(MasterEditNew);
    return AppMain(argc, argv);
}
