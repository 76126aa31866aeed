// Variable tables: fixed-size arrays of named, typed entries built at run time, describing
// fields of an object by byte offset. World entities keep their per-instance variables in one
// (their named setters and ini loading then go through it); the developer tools edit them.
#pragma once

#include <cstddef>
#include <cstdint>

enum VarType : uint32_t {
    VAR_FREE = 0,
    VAR_BYTE = 1,       // u8 (colour channels 0..255)
    VAR_INT = 2,        // i32
    VAR_FLOAT = 3,      // float
    VAR_STRING = 4,     // char[max + 1]: at most max characters and the terminator
    VAR_BOOL = 5,       // u32, 0 or 1
    VAR_COLOR4F = 9,    // four floats r, g, b, a
    VAR_COLOR3F = 10,   // three floats r, g, b
    VAR_COMMAND = 11,   // a function the tools call
    VAR_SEPARATOR = 12, // a label only
    VAR_ENTITY = 13,    // a pointer-sized entity reference
};

using VarCommandFn = void (*)(void* object);

// The flags word the classes add their entries with, so the adds leave it out. It is stored in the
// entry; nothing reads it.
constexpr uint32_t VAR_FLAGS_EDIT = 3;

union VarValue {
    int32_t i;
    float f;
};

// One entry. Names hold at most 31 characters; colour adds store "<name>.a", ".r", ".g", ".b".
struct VarEntry {
    char name[32];
    uint32_t type;
    uint32_t flags;
    intptr_t offset;       // byte offset of the value in the object
    VarCommandFn function; // VAR_COMMAND only
    VarValue min;
    VarValue max; // VAR_STRING: the maximum length (the buffer holds one byte more)
    VarValue def;
    const char* defText; // VAR_STRING: the default text (kept as a pointer, not copied)
};

struct VarTable {
    int32_t count;    // entries after the head; an entry of type VAR_FREE is unused
    intptr_t context; // a word for the table's owner
    VarEntry* Entries() { return reinterpret_cast<VarEntry*>(this + 1); }
};

// One allocation ("NumVars:"), all entries zero. Null for a negative count or no memory.
VarTable* VarTableCreate(int count);
// A table sized from its field list: `fill` adds the entries (once, into a table of
// VAR_BUILD_MAX entries), and the table returned holds them and `spare` free entries more. Null
// for a null fill, a negative spare or no memory. An entry the fill could not add is logged, as
// every refused add is, and fails an assertion: a class's own fields never miss their table.
using VarTableFill = void (*)(VarTable* table);
constexpr int VAR_BUILD_MAX = 256;
VarTable* VarTableBuild(VarTableFill fill, int spare = 0);
void VarTableDestroy(VarTable* table);
// The first entry whose name equals name exactly, or null.
VarEntry* VarTableFind(VarTable* table, const char* name);

// Each add takes the first free entry and returns 0, or -1 adding nothing when the table is
// full or the name is empty or too long for an entry (a cut name could collide with another).
// A refused add writes a log line naming the entry and why.
int VarTableAddByte(VarTable* table, const char* name, intptr_t offset, int def, int min, int max,
                    uint32_t flags = VAR_FLAGS_EDIT);
int VarTableAddInt(VarTable* table, const char* name, intptr_t offset, int def, int min, int max,
                   uint32_t flags = VAR_FLAGS_EDIT);
int VarTableAddFloat(VarTable* table, const char* name, intptr_t offset, float def, float min,
                     float max, uint32_t flags = VAR_FLAGS_EDIT);
int VarTableAddBool(VarTable* table, const char* name, intptr_t offset, int def,
                    uint32_t flags = VAR_FLAGS_EDIT);
// The object holds char[maxLength + 1] at offset.
int VarTableAddString(VarTable* table, const char* name, intptr_t offset, int maxLength,
                      const char* def, uint32_t flags = VAR_FLAGS_EDIT);
int VarTableAddEntity(VarTable* table, const char* name, intptr_t offset,
                      uint32_t flags = VAR_FLAGS_EDIT);
// Four byte entries "<name>.a", ".r", ".g", ".b" over bytes 3, 2, 1, 0 of the packed word at
// offset, range 0..255, defaults from `color`. All four or none.
int VarTableAddColor4b(VarTable* table, const char* name, intptr_t offset, uint32_t color,
                       uint32_t flags = VAR_FLAGS_EDIT);
// Four float entries "<name>.a" (offset + 12), ".r" (+0), ".g" (+4), ".b" (+8), range 0..1,
// default 1.0; the Argb form takes the defaults from a packed word (channel / 255).
int VarTableAddColor4f(VarTable* table, const char* name, intptr_t offset,
                       uint32_t flags = VAR_FLAGS_EDIT);
int VarTableAddColor4fArgb(VarTable* table, const char* name, intptr_t offset, uint32_t color,
                           uint32_t flags = VAR_FLAGS_EDIT);
int VarTableAddCommand(VarTable* table, const char* name, VarCommandFn function,
                       uint32_t flags = VAR_FLAGS_EDIT);
int VarTableAddSeparator(VarTable* table, const char* label);

// Adds refused since the program started (each also logged).
int64_t VarTableFailedAdds();

// Every value entry's default into the object (strings cut to the entry), as a database's
// defaults are written into a new object.
void VarTableInitObject(VarTable* table, void* object);

// Setters by name: 1 when stored, 0 (nothing changed) when the name is missing or of another
// type. Strings are cut to the entry's maximum length; null stores "". The colour setter finds
// "<name>.r" and stores r, g, b into the ".r", ".g", ".b" entries (float entries take the value,
// byte entries the value x 255, rounded and clamped); the vector setter finds float entries
// "<name>.x", ".y", ".z".
int VarTableSetString(VarTable* table, void* object, const char* name, const char* text);
int VarTableSetFloat(VarTable* table, void* object, const char* name, float value);
int VarTableSetInt(VarTable* table, void* object, const char* name, int value);
int VarTableSetEntity(VarTable* table, void* object, const char* name, intptr_t value);
int VarTableSetBool(VarTable* table, void* object, const char* name, int value);
int VarTableSetColor(VarTable* table, void* object, const char* name, float r, float g, float b);
int VarTableSetVector(VarTable* table, void* object, const char* name, float x, float y, float z);

// Text forms. FromText: byte and int decimal (a byte clamped to 0..255), float as atof, string
// cut to the entry, bool 1 for a nonzero number; other types ignored. Returns 0.
int VarTableEntryFromText(const VarEntry* entry, void* object, const char* text);
// byte, int decimal; float "%f" without trailing zeros; string; bool "1"/"0"; "color4f value";
// "color3f value"; anything else empty. Cut to outSize - 1.
void VarTableEntryToText(const VarEntry* entry, const void* object, char* out, size_t outSize);

// Ini form, one key per entry in the section (colour entries: "<name>.a/.r/.g/.b" or
// "<name>.r/.g/.b"); bool, entity, command and separator entries are not stored. Load reads a
// bool key when present ("TRUE"/"FALSE" by the first letter, else a nonzero integer), leaving the
// value alone when the key is missing. Load opens the path when given (closing it again if it
// loaded it), else reads the loaded file; Save writes to the path when given, else to the
// current profile file. Both return 0; Save -1 when the file given could not be written (the
// ini writer logs which).
int VarTableLoadIni(VarTable* table, const char* path, const char* section, void* object);
int VarTableSaveIni(VarTable* table, const char* path, const char* section, void* object);
