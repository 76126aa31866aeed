// Loading and releasing the world classes' class-wide textures.
#include "world/ClassTexture.h"

#include "I3d/Textures.h"
#include "engine/DebugLog.h"
#include "engine/System.h"

#include <string>

int WorldClassTexLoad(const char* className, const char* name) {
    const std::string path = std::string(SysProgramFolder()) + "Data/" + name;
    const int slot = I3dTexLoad(path.c_str(), name, 1);
    if (slot < 0) DbgPrintf(1, "%s: no texture \"%s\"\n", className, name);
    return slot;
}

void WorldClassTexRelease(int* slot) {
    // A kernel stopped and started again holds none of the old slots.
    const I3dTexSlot* s = I3dTexGetSlot(*slot);
    if (s && s->count > 0) I3dTexRelease(*slot);
    *slot = -1;
}
