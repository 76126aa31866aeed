// The program's entry: takes the application object through start-up, its loop and shutdown.
#include "engine/DebugLog.h"
#include "engine/System.h"

int main(int argc, char** argv) {
    SysInit(nullptr, nullptr, argc, argv);
    DbgLogStart(1);
    DbgLogStop(1);
    return 0;
}
