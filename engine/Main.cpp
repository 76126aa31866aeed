// The program's entry: the game application, made before main runs, taken through start-up, its
// loop and shutdown.
#include "engine/App/AppBase.h"
#include "engine/GameApp/GameApp.h"

static GameApp s_game;

int main(int argc, char** argv) {
    return AppMain(argc, argv);
}
