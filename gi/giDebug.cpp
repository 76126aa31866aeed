// Diagnostics of the model library.
#include "gi/giDebug.h"

#include "engine/DebugLog.h"
#include "engine/System.h"

#include <set>
#include <string>
#include <utility>

namespace {
std::set<std::pair<std::string, std::string>> s_shown;
int s_asked = 0;
int s_shownCount = 0;
} // namespace

std::string& giErrorText() {
    static std::string s_text;
    return s_text;
}

void giOutputDebugString(const char* text) {
    if (!text) return;
    DbgOut("%s", text);
    DbgPrintf(DBG_GENERAL, "%s", text);
}

void giMessageBox(const char* text, const char* caption) {
    const char* t = text ? text : "";
    const char* c = caption ? caption : "";
    ++s_asked;
    if (!s_shown.emplace(c, t).second) {
        DbgPrintf(DBG_GENERAL, "[%s] %s\n", c, t);
        return;
    }
    ++s_shownCount;
    SysMessageBox(t, c);
}

int giMessageBoxAsked() {
    return s_asked;
}
int giMessageBoxShown() {
    return s_shownCount;
}
void giMessageBoxReset() {
    s_shown.clear();
    s_asked = s_shownCount = 0;
}
