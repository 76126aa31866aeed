// Opening, counting and closing for the numbered record lists.
#include "game/RecordList.h"

#include "engine/DebugLog.h"
#include "engine/IniFile.h"

#include <cstdio>

RecordListSource RecordListBegin(const char* path, const char* base, bool zeroIsEmpty) {
    RecordListSource source{-1, 1, false, false};
    if (path) source.openResult = IniOpen(path);
    if (source.openResult >= 0) source.cutLine = IniEndsMidLine() == 1;
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

std::string RecordListDamageText(const char* base, const RecordListDamage& damage) {
    std::string text;
    char part[200];
    if (damage.missing > 0) {
        char first[80], last[80];
        RecordListSectionName(base, damage.firstMissing, first, sizeof first);
        RecordListSectionName(base, damage.lastMissing, last, sizeof last);
        if (damage.missing == 1)
            std::snprintf(part, sizeof part, "%s of the %i records of [%s] is missing", first,
                          damage.counted, base);
        else
            std::snprintf(part, sizeof part, "%i of the %i records of [%s] (%s to %s) are missing",
                          damage.missing, damage.counted, base, first, last);
        text = part;
    }
    if (damage.cutLine) text += text.empty() ? "the last line is cut" : ", the last line is cut";
    return text;
}
