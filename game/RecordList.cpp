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
    if (damage.missing > 0) {
        char first[80], last[80];
        RecordListSectionName(base, damage.firstMissing, first, sizeof first);
        RecordListSectionName(base, damage.lastMissing, last, sizeof last);
        const std::string of =
            " of the " + std::to_string(damage.counted) + " records of [" + base + "]";
        if (damage.missing == 1)
            text = first + of + " is missing";
        else
            text = std::to_string(damage.missing) + of + " (" + first + " to " + last +
                   ") are missing";
    }
    if (damage.cutLine) text += text.empty() ? "the last line is cut" : ", the last line is cut";
    return text;
}
