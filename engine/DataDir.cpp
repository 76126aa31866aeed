// Class data folders.
#include "engine/DataDir.h"

#include "engine/Paths.h"
#include "engine/System.h"

#include <cstring>

int DataDirSetFromFile(DataDir* dir, const char* filePath) {
    if (!dir) return -1;
    if (filePath) {
        dir->path = PathDir(filePath);
        return 1;
    }
    // "Data/" alone would read the working folder's data, whatever that holds.
    const char* program = SysProgramFolder();
    dir->path = program && *program ? std::string(program) + "Data/" : std::string();
    return dir->path.empty() ? -1 : 1;
}

int DataDirFile(const DataDir* dir, const char* name, char* out, unsigned outSize) {
    if (!out || outSize == 0) return -1;
    std::string full = (dir ? dir->path : std::string()) + (name ? name : "");
    if (full.size() >= outSize) {
        out[0] = 0;
        return -1;
    }
    std::memcpy(out, full.c_str(), full.size() + 1);
    return 1;
}
