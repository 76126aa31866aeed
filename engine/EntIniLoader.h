// Entities in ini files, in two forms: the list form (section "Entities", one line per entity:
// name, class, parent) that scripts load into the world, and the section form (one section per
// entity, keys "class", "parent" and the entity's properties) of saved games and layouts. Also
// the table of source files that entities are stamped with, and automatic entity names.
#pragma once

#include "engine/EntTree.h"

#include <cstddef>
#include <string>

// The stamp of entities that belong in saved games (compared with case).
#define ENT_SAVEGAME "~SAVEGAME~"

// ---- source files: a table of up to 8 names ----

// The entry equal to the name ignoring case, or null.
const char* EntSourceFileFind(const char* name);
// That entry, or a new one while fewer than 8 are held; null when full or for an empty name.
const char* EntSourceFileIntern(const char* name);
// entity.sourceFile = the interned entry; false (no stamp) when it cannot be interned.
bool EntSetSourceFile(ENTBASE* entity, const char* name);
// Empties the table (every class reset does); 1. The names stay valid: entities stamped before
// keep their own file name, and a name interned again gets the same entry back.
int EntSourceFilesClear();

// ---- automatic names "ENT~<n>" ----

// Writes "ENT~" and the counter into buffer (at most size - 1 characters) and counts on.
char* EntMakeAutoName(char* buffer, size_t size = 33);
// The largest n over the subtree's names "EN?~<n>" (n read as a saturating decimal), at least
// start.
int EntTreeMaxAutoName(ENTBASE* entity, int start);
// The counter continues after the largest number in the subtree.
void EntAutoNameResync(ENTBASE* entity);

// ---- the loader ----

// Lives for one file: construct, Open, one load, StartAll, destroy. While it lives, destroyed
// entities keep their nodes (it holds a walk guard), so its collected entities stay checkable.
class EntIniLoader {
  public:
    explicit EntIniLoader(int capacity);
    ~EntIniLoader();
    EntIniLoader(const EntIniLoader&) = delete;
    EntIniLoader& operator=(const EntIniLoader&) = delete;

    // Copies the path and opens the file for reading; -1 when it cannot be read.
    int Open(const char* path);
    // The section form: every section with a non-empty "class" in file order; returns how many
    // there were (created or not).
    int EntLoadIni(const char* sourceFile);
    // The list form: every line of "Entities" that is not a comment ("/..." or "?/..."); returns
    // how many there were.
    int EntLoadList(const char* sourceFile);
    // Creates the entity, or finds it under root by name and reloads its properties in place;
    // stamps it with sourceFile (or the loader's path) and links a new one under parent (or
    // the default parent). Null when the class is unknown.
    ENTBASE* CreateOne(const char* name, const char* className, ENTBASE* parent,
                       const char* sourceFile);
    // Start on every collected entity still alive, in collection order; empties the list and
    // returns how many were started.
    int StartAll();

    int capacity;
    int count = 0;
    ENTBASE* root = nullptr;
    ENTBASE* defaultParent[2] = {nullptr, nullptr};
    std::string path; // as Open was given it

  private:
    // Collects an entity unless the array is full; false when it is.
    bool Collect(ENTBASE* entity);
    // Room for one more, or a skip counted for the log.
    bool HasRoom();
    void ReportSkipped();

    EntNode** m_array = nullptr; // nodes, so that a destroyed entity is seen as gone
    int m_skipped = 0;
    EntWalkGuard m_guard;
};

// The scripts' loader rules: capacity 1000; names are looked up under root; the default parent
// is the entity "First" under world, else world; the file is dataFolder + fileName. Loads the
// list form, starts the entities and returns how many were started; -1, with a log line naming
// the file, when the file is missing or cannot be read (an empty list is 0, and is no fault).
int EntLoadEntitiesIni(const char* fileName, ENTBASE* root, ENTBASE* world, const char* dataFolder);

// Whether the "Entities" list of an ini file names an entity: 1 a line names it, 0 the file has
// a list that does not (a section written for it would never be loaded), -1 the file has no
// list (the section form) or cannot be read.
int EntListNames(const char* path, const char* name);

// The section form of every entity stamped ENT_SAVEGAME in the subtree, pre-order (children of
// other entities are still visited), into the current profile file: "class" (its type string),
// "parent" (its parent's name), then its SaveVars (null). An entity named "Sandbox", or empty, or
// with "[", "]" or "=" in its name is skipped with a log line. Returns how many were written.
int EntSaveEntities(ENTBASE* entity);
