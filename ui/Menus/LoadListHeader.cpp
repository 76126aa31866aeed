// The load screens' reading of a save file's numbers.
#include "ui/Menus/LoadListHeader.h"

#include "engine/IniFile.h"

void LoadListReadInts(const char* path, const char* section, const char* const* keys,
                      const int* defaults, int* out, int count) {
    for (int i = 0; i < count; ++i)
        out[i] = defaults[i];
    // Closed first and after: the reader keeps one file, and a path it holds is not read again.
    IniClose();
    if (path && path[0] && IniOpen(path) >= 0 && IniSetSection(section) == 0)
        for (int i = 0; i < count; ++i)
            IniReadInt(&out[i], keys[i], defaults[i]);
    IniClose();
}
