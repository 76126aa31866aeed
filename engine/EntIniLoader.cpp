// The entity ini loader (list and section forms), the scripts' loading rules and the writer of
// the section form.
#include "engine/EntIniLoader.h"

#include "engine/DebugLog.h"
#include "engine/EntBase.h"
#include "engine/IniFile.h"
#include "engine/Memory.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr size_t kWordMax = 256;

bool IsComment(const char* firstWord) {
    return firstWord[0] == '/' || (firstWord[0] && firstWord[1] == '/');
}

// Splits a line into at most three blank-separated words (each cut to kWordMax - 1; a name
// longer than an entity name is caught by its length).
int SplitWords(const char* line, char (*words)[kWordMax], size_t* lengths) {
    int n = 0;
    const char* p = line;
    while (n < 3) {
        while (*p == ' ' || *p == '\t' || *p == '\r')
            ++p;
        if (!*p) break;
        const char* start = p;
        while (*p && *p != ' ' && *p != '\t' && *p != '\r')
            ++p;
        size_t length = (size_t)(p - start);
        lengths[n] = length;
        if (length >= kWordMax) length = kWordMax - 1;
        std::memcpy(words[n], start, length);
        words[n][length] = 0;
        ++n;
    }
    return n;
}

// A section named like this would merge with the file's own "Sandbox" section, could not be read
// back, or would split into other sections.
bool SavableName(const char* name) {
    return name && *name && std::strcmp(name, "Sandbox") != 0 && !std::strpbrk(name, "[]=\r\n");
}

void ReportLongName(const char* name, const char* path) {
    DbgPrintf(DBG_GENERAL,
              "EntIniLoader: entity name %.32s... in %s is longer than %d "
              "characters; skipped\n",
              name, path, ENTBASE::NAME_LEN_MAX);
}

} // namespace

EntIniLoader::EntIniLoader(int cap) : capacity(cap < 0 ? 0 : cap) {
    m_array =
        static_cast<EntNode**>(MemAlloc(sizeof(EntNode*) * (size_t)(capacity ? capacity : 1)));
    if (!m_array) capacity = 0;
}

EntIniLoader::~EntIniLoader() {
    IniClose();
    if (m_array) MemFree(m_array);
}

int EntIniLoader::Open(const char* file) {
    path = file ? file : "";
    if (!file) return -1;
    return IniOpen(path.c_str()) < 0 ? -1 : 0;
}

bool EntIniLoader::HasRoom() {
    if (count < capacity) return true;
    ++m_skipped;
    return false;
}

bool EntIniLoader::Collect(ENTBASE* entity) {
    if (!entity || !entity->node || count >= capacity) return false;
    m_array[count++] = entity->node;
    return true;
}

void EntIniLoader::ReportSkipped() {
    if (m_skipped > 0)
        DbgPrintf(DBG_GENERAL,
                  "EntIniLoader: %s holds more than %d entities; %d skipped, not loaded\n",
                  path.c_str(), capacity, m_skipped);
    m_skipped = 0;
}

ENTBASE* EntIniLoader::CreateOne(const char* name, const char* className, ENTBASE* parent,
                                 const char* sourceFile) {
    if (!name || !*name) return nullptr;
    const char* stamp = sourceFile ? sourceFile : path.c_str();
    IniSetSection(name);
    if (ENTBASE* existing = EntTreeFindName(root, name)) {
        existing->LoadVarsSimple(nullptr);
        existing->SetName(name);
        EntSetSourceFile(existing, stamp);
        return existing;
    }
    ENTBASE* entity = EntCreateChild(className, nullptr);
    if (!entity) return nullptr;
    DbgPrintf(DBG_ENTITY, "INFO: Created entity [%s] of class %s].\n", name,
              className ? className : "");
    entity->SetName(name);
    entity->LoadVarsSimple(nullptr);
    entity->SetName(name); // the properties may have held another name
    EntSetSourceFile(entity, stamp);
    if (!parent || EntLinkUnder(entity, parent) != 0) EntLinkUnder(entity, defaultParent[0]);
    return entity;
}

int EntIniLoader::EntLoadIni(const char* sourceFile) {
    if (IniOpen(path.c_str()) < 0) return 0;
    int sections = 0;
    char name[ENTBASE::NAME_LEN_MAX + 1];
    char className[kWordMax];
    char parentName[kWordMax];
    size_t fullLength = 0;
    IniRewindSections();
    while (IniNextSection(name, sizeof name, &fullLength)) {
        IniReadString(className, "class", "", sizeof className);
        if (!className[0]) continue;
        ++sections;
        if (fullLength > ENTBASE::NAME_LEN_MAX) {
            ReportLongName(name, path.c_str());
            continue;
        }
        IniReadString(parentName, "parent", "", sizeof parentName);
        if (!HasRoom()) continue;
        ENTBASE* parent = parentName[0] ? EntTreeFindName(root, parentName) : nullptr;
        // CreateOne selects other sections; the walk keeps its own place.
        Collect(CreateOne(name, className, parent, sourceFile));
    }
    ReportSkipped();
    return sections;
}

int EntIniLoader::EntLoadList(const char* sourceFile) {
    if (IniOpen(path.c_str()) < 0) return 0;
    IniSectionReader* reader = IniSectionOpen("Entities");
    if (!reader) return 0;
    int lines = 0;
    char line[INI_VALUE_MAX + 1];
    char words[3][kWordMax];
    size_t lengths[3];
    while (IniSectionReadLine(reader, line, sizeof line)) {
        int n = SplitWords(line, words, lengths);
        if (n == 0 || IsComment(words[0])) continue;
        ++lines;
        if (n < 2) continue; // no class
        if (lengths[0] > ENTBASE::NAME_LEN_MAX) {
            ReportLongName(words[0], path.c_str());
            continue;
        }
        if (!HasRoom()) continue;
        ENTBASE* parent = n > 2 ? EntTreeFindName(root, words[2]) : nullptr;
        Collect(CreateOne(words[0], words[1], parent, sourceFile));
    }
    IniSectionClose(reader);
    ReportSkipped();
    return lines;
}

int EntIniLoader::StartAll() {
    EntWalkGuard guard;
    int started = 0;
    for (int i = 0; i < count; ++i) {
        EntNode* n = m_array[i];
        // An earlier Start may have destroyed a later entity: its node is marked, not freed.
        if (n->deleteCount != 0 || !n->object) continue;
        n->object->Start();
        ++started;
    }
    count = 0;
    return started;
}

int EntListNames(const char* path, const char* name) {
    const int opened = path && name ? IniOpen(path) : -1;
    if (opened < 0) return -1;
    IniSectionReader* reader = IniSectionOpen("Entities");
    int found = reader ? 0 : -1;
    char line[INI_VALUE_MAX + 1];
    char words[3][kWordMax];
    size_t lengths[3];
    while (reader && found == 0 && IniSectionReadLine(reader, line, sizeof line)) {
        const int n = SplitWords(line, words, lengths);
        if (n > 0 && !IsComment(words[0]) && std::strcmp(words[0], name) == 0) found = 1;
    }
    if (reader) IniSectionClose(reader);
    if (opened == 0) IniClose(); // a file the reader held already stays loaded
    return found;
}

int EntLoadEntitiesIni(const char* fileName, ENTBASE* root, ENTBASE* world,
                       const char* dataFolder) {
    if (!fileName) return -1;
    EntIniLoader loader(1000);
    loader.root = root;
    ENTBASE* first = EntTreeFindName(world, "First");
    loader.defaultParent[0] = loader.defaultParent[1] = first ? first : world;
    std::string path = std::string(dataFolder ? dataFolder : "") + fileName;
    if (loader.Open(path.c_str()) != 0) {
        DbgPrintf(DBG_GENERAL, "EntLoadEntitiesIni: %s is missing or cannot be read\n",
                  path.c_str());
        return -1;
    }
    loader.EntLoadList(nullptr);
    return loader.StartAll();
}

int EntSaveEntities(ENTBASE* entity) {
    if (!entity || !entity->node) return 0;
    EntWalkGuard guard;
    EntNode* n = entity->node;
    if (n->deleteCount != 0 || !n->object) return 0;
    int written = 0;
    const char* type = entity->GetTypeName() ? entity->GetTypeName() : "";
    const bool saved = entity->sourceFile && std::strcmp(entity->sourceFile, ENT_SAVEGAME) == 0;
    if (saved && !SavableName(entity->GetName())) {
        DbgPrintf(DBG_GENERAL,
                  "EntSaveEntities: entity \"%s\" of class %s has a name no "
                  "section can hold; not saved\n",
                  entity->GetName(), type);
    } else if (saved) {
        DbgPrintf(DBG_GENERAL, "Saving entity %s of class %s\n", entity->GetName(), type);
        ENTBASE* parent = EntGetParent(entity);
        IniProfileWriteString(entity->GetName(), "class", type);
        IniProfileWriteString(entity->GetName(), "parent", parent ? parent->GetName() : "");
        entity->SaveVars(nullptr);
        ++written;
    }
    for (EntNode *c = n->firstChild, *next = nullptr; c; c = next) {
        next = c->next;
        if (c->deleteCount == 0 && c->object) written += EntSaveEntities(c->object);
    }
    return written;
}
