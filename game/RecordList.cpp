// Opening, counting and closing for the numbered record lists.
#include "game/RecordList.h"

#include "engine/DebugLog.h"
#include "engine/IniFile.h"

#include <cstdio>

RecordListSource RecordListBegin(const char* path, const char* base, bool zeroIsEmpty) {
    RecordListSource source{-1, 1, false};
    if (path) source.openResult = IniOpen(path);
    if (source.openResult < 0 || IniSetSection(base) != 0) return source;
    int num = 0;
    IniReadInt(&num, "num", 0);
    if (num == 0 && zeroIsEmpty) {
        source.count = 0;
    } else if (num > 0) {
        if (num > REC_LIST_MAX) {
            DbgPrintf(DBG_GENERAL, "%s: [%s] asks for %i records; only %i are read\n", path, base,
                      num, REC_LIST_MAX);
            num = REC_LIST_MAX;
        }
        source.count = num;
        source.fromFile = true;
    }
    return source;
}

void RecordListSectionName(const char* base, int index, char* out, size_t outSize) {
    std::snprintf(out, outSize, "%s%02i", base, index);
}

void RecordListEnd(const RecordListSource& source) {
    if (source.openResult == 0) IniClose();
}
