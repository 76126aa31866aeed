// The program's entry: takes the application object, when the program has one, through
// start-up, its loop and shutdown.
#include "engine/App/AppBase.h"

int main(int argc, char** argv) {
    return AppMain(argc, argv);
}
