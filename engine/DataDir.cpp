// Class data folders.
#include "engine/DataDir.h"

#include "engine/Paths.h"
#include "engine/System.h"

#include <cstdio>
#include <cstring>

int DataDirSetFromFile(DataDir* dir, const char* filePath) {
    if (!dir) return -1;
    int ok;
    if (filePath) {
        ok = PathGetDir(filePath, dir->path, sizeof dir->path);
    } else {
        int n = std::snprintf(dir->path, sizeof dir->path, "%sData/", SysProgramFolder());
        ok = n >= 0 && (size_t)n < sizeof dir->path ? 1 : -1;
    }
    if (ok != 1) dir->path[0] = 0;
    dir->end = dir->path + std::strlen(dir->path);
    return ok == 1 ? 1 : -1;
}

int DataDirFile(const DataDir* dir, const char* name, char* out, unsigned outSize) {
    if (!out || outSize == 0) return -1;
    int n = std::snprintf(out, outSize, "%s%s", dir ? dir->path : "", name ? name : "");
    if (n < 0 || (unsigned)n >= outSize) {
        out[0] = 0;
        return -1;
    }
    return 1;
}
