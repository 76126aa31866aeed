// The source-file table that entities are stamped with, and automatic entity names.
#include "engine/EntBase.h"
#include "engine/EntIniLoader.h"
#include "engine/NumText.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <deque>
#include <string>
#include <strings.h>

namespace {
constexpr int kSourceFiles = 8;
// The table holds at most eight names at a time, and a class reset empties it. The names
// themselves are never freed or overwritten: entities that outlive the reset still point at
// their stamp, which must go on naming their own file (a save writes the "~SAVEGAME~" ones).
const char* s_sourceFiles[kSourceFiles] = {};
int s_autoName = 0;

// Every name ever interned, once each ignoring case. Never freed, not even at exit: entities
// destroyed during static destruction may still read theirs.
std::deque<std::string>& Names() {
    static auto* s_names = new std::deque<std::string>;
    return *s_names;
}

const char* KeptName(const char* name) {
    for (const std::string& kept : Names())
        if (strcasecmp(kept.c_str(), name) == 0) return kept.c_str();
    Names().emplace_back(name);
    return Names().back().c_str();
}
} // namespace

const char* EntSourceFileFind(const char* name) {
    if (!name || !*name) return nullptr;
    for (const char* entry : s_sourceFiles)
        if (entry && strcasecmp(entry, name) == 0) return entry;
    return nullptr;
}

const char* EntSourceFileIntern(const char* name) {
    if (const char* found = EntSourceFileFind(name)) return found;
    if (!name || !*name) return nullptr;
    for (const char*& entry : s_sourceFiles)
        if (!entry) {
            entry = KeptName(name);
            return entry;
        }
    return nullptr;
}

bool EntSetSourceFile(ENTBASE* entity, const char* name) {
    const char* entry = EntSourceFileIntern(name);
    if (!entity || !entry) return false;
    entity->sourceFile = entry;
    return true;
}

int EntSourceFilesClear() {
    for (const char*& entry : s_sourceFiles)
        entry = nullptr;
    return 1;
}

char* EntMakeAutoName(char* buffer, size_t size) {
    if (!buffer || size == 0) return buffer;
    std::snprintf(buffer, size, "ENT~%d", s_autoName);
    if (s_autoName < INT_MAX) ++s_autoName;
    return buffer;
}

int EntTreeMaxAutoName(ENTBASE* entity, int start) {
    int best = start;
    if (!entity || !entity->node) return best;
    EntNode* n = entity->node;
    if (n->deleteCount != 0 || !n->object) return best;
    const char* name = n->object->GetName();
    if (name && name[0] == 'E' && name[1] == 'N' && name[2] && name[3] == '~') {
        int v = DecToInt(name + 4);
        if (v > best) best = v;
    }
    for (EntNode* c = n->firstChild; c; c = c->next)
        if (c->deleteCount == 0 && c->object) best = EntTreeMaxAutoName(c->object, best);
    return best;
}

void EntAutoNameResync(ENTBASE* entity) {
    int max = EntTreeMaxAutoName(entity, 0);
    s_autoName = max < INT_MAX ? max + 1 : INT_MAX;
}
