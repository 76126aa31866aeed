// The source-file table that entities are stamped with, and automatic entity names.
#include "engine/EntBase.h"
#include "engine/EntIniLoader.h"
#include "engine/NumText.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <strings.h>

namespace {
constexpr int kSourceFiles = 8;
char s_sourceFiles[kSourceFiles][260];
int s_autoName = 0;
} // namespace

const char* EntSourceFileFind(const char* name) {
    if (!name || !*name) return nullptr;
    for (auto& entry : s_sourceFiles)
        if (entry[0] && strcasecmp(entry, name) == 0) return entry;
    return nullptr;
}

const char* EntSourceFileIntern(const char* name) {
    if (const char* found = EntSourceFileFind(name)) return found;
    if (!name || !*name || std::strlen(name) >= sizeof s_sourceFiles[0]) return nullptr;
    for (auto& entry : s_sourceFiles)
        if (!entry[0]) {
            std::strcpy(entry, name);
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
    std::memset(s_sourceFiles, 0, sizeof s_sourceFiles);
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
