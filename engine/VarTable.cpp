// Variable tables: entries, setters by name, text forms and the ini form.
#include "engine/VarTable.h"

#include "engine/DebugLog.h"
#include "engine/IniFile.h"
#include "engine/Memory.h"
#include "engine/NumText.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr size_t kNameMax = sizeof(VarEntry::name) - 1;

template <typename T>
T* At(void* object, intptr_t offset) {
    return reinterpret_cast<T*>(static_cast<char*>(object) + offset);
}
template <typename T>
const T* At(const void* object, intptr_t offset) {
    return reinterpret_cast<const T*>(static_cast<const char*>(object) + offset);
}

// Entries are written through memcpy: object fields need not be aligned for their type.
template <typename T>
void Store(void* object, intptr_t offset, T value) {
    std::memcpy(At<char>(object, offset), &value, sizeof value);
}
template <typename T>
T Load(const void* object, intptr_t offset) {
    T value;
    std::memcpy(&value, At<char>(object, offset), sizeof value);
    return value;
}

int64_t s_failedAdds = 0;

// Every add that adds nothing says so: a table counted too small would otherwise lose the field
// without a word, and the object would keep an unset value.
int Refused(const char* name, const char* why) {
    ++s_failedAdds;
    DbgPrintf(DBG_GENERAL, "** WARNING ** variable table: \"%s\" not added: %s\n", name ? name : "",
              why);
    return -1;
}

bool NameFits(const char* name, size_t suffix = 0) {
    return name && *name && std::strlen(name) + suffix <= kNameMax;
}

int FreeCount(VarTable* table) {
    int n = 0;
    for (int i = 0; i < table->count; ++i)
        n += table->Entries()[i].type == VAR_FREE;
    return n;
}

VarEntry* TakeFree(VarTable* table) {
    if (!table) return nullptr;
    for (int i = 0; i < table->count; ++i)
        if (table->Entries()[i].type == VAR_FREE) return &table->Entries()[i];
    return nullptr;
}

// A free entry filled with name, type, offset and flags; null (logged) when there is none.
VarEntry* Add(VarTable* table, const char* name, uint32_t type, intptr_t offset, uint32_t flags) {
    if (!NameFits(name)) {
        Refused(name, "the name is empty or too long");
        return nullptr;
    }
    VarEntry* e = TakeFree(table);
    if (!e) {
        Refused(name, table ? "the table is full" : "no table");
        return nullptr;
    }
    std::memset(e, 0, sizeof *e);
    std::strcpy(e->name, name);
    e->type = type;
    e->offset = offset;
    e->flags = flags;
    return e;
}

// "<name><suffix>" for entries built from one name; false when it does not fit an entry.
bool Suffixed(char (&out)[sizeof(VarEntry::name)], const char* name, const char* suffix) {
    size_t suffixLength = std::strlen(suffix);
    if (!NameFits(name, suffixLength)) return false;
    size_t nameLength = std::strlen(name);
    std::memcpy(out, name, nameLength);
    std::memcpy(out + nameLength, suffix, suffixLength + 1);
    return true;
}

VarEntry* FindTyped(VarTable* table, const char* name, uint32_t type) {
    VarEntry* e = VarTableFind(table, name);
    return e && e->type == type ? e : nullptr;
}

void CopyString(const VarEntry* e, void* object, const char* text) {
    size_t max = e->max.i > 0 ? (size_t)e->max.i : 0;
    size_t n = text ? strnlen(text, max) : 0;
    char* dst = At<char>(object, e->offset);
    std::memmove(dst, text ? text : "", n);
    dst[n] = 0;
}

uint8_t ClampByte(int value) {
    return (uint8_t)(value < 0 ? 0 : value > 255 ? 255 : value);
}

uint8_t FractionToByte(float f) {
    if (!(f > 0.0f)) return 0; // negative and NaN
    if (f >= 1.0f) return 255;
    return (uint8_t)std::lround(f * 255.0f);
}

const char* const kColor4fKeys[4] = {".a", ".r", ".g", ".b"};
const int kColor4fOffsets[4] = {12, 0, 4, 8};
const char* const kColor3fKeys[3] = {".r", ".g", ".b"};

int AddColor4f(VarTable* table, const char* name, intptr_t offset, const float defs[4],
               uint32_t flags) {
    char names[4][sizeof(VarEntry::name)];
    for (int i = 0; i < 4; ++i)
        if (!Suffixed(names[i], name, kColor4fKeys[i]))
            return Refused(name, "the name is empty or too long");
    if (!table || FreeCount(table) < 4)
        return Refused(name, table ? "the table has no room for its four entries" : "no table");
    for (int i = 0; i < 4; ++i) {
        VarEntry* e = Add(table, names[i], VAR_FLOAT, offset + kColor4fOffsets[i], flags);
        e->min.f = 0.0f;
        e->max.f = 1.0f;
        e->def.f = defs[i];
    }
    return 0;
}

} // namespace

int64_t VarTableFailedAdds() {
    return s_failedAdds;
}

VarTable* VarTableCreate(int count) {
    if (count < 0 || (size_t)count > (SIZE_MAX - sizeof(VarTable)) / sizeof(VarEntry))
        return nullptr;
    size_t bytes = sizeof(VarTable) + (size_t)count * sizeof(VarEntry);
    auto* table = static_cast<VarTable*>(MemAllocTag(bytes, "NumVars:", __LINE__));
    if (!table) return nullptr;
    MemZero(table, bytes);
    table->count = count;
    return table;
}

void VarTableDestroy(VarTable* table) {
    if (table) MemFree(table);
}

VarEntry* VarTableFind(VarTable* table, const char* name) {
    if (!table || !name) return nullptr;
    for (int i = 0; i < table->count; ++i) {
        VarEntry* e = &table->Entries()[i];
        if (e->type != VAR_FREE && std::strcmp(e->name, name) == 0) return e;
    }
    return nullptr;
}

// ---- adding ----

int VarTableAddByte(VarTable* table, const char* name, intptr_t offset, int def, int min, int max,
                    uint32_t flags) {
    VarEntry* e = Add(table, name, VAR_BYTE, offset, flags);
    if (!e) return -1;
    e->def.i = def;
    e->min.i = min;
    e->max.i = max;
    return 0;
}

int VarTableAddInt(VarTable* table, const char* name, intptr_t offset, int def, int min, int max,
                   uint32_t flags) {
    VarEntry* e = Add(table, name, VAR_INT, offset, flags);
    if (!e) return -1;
    e->def.i = def;
    e->min.i = min;
    e->max.i = max;
    return 0;
}

int VarTableAddFloat(VarTable* table, const char* name, intptr_t offset, float def, float min,
                     float max, uint32_t flags) {
    VarEntry* e = Add(table, name, VAR_FLOAT, offset, flags);
    if (!e) return -1;
    e->def.f = def;
    e->min.f = min;
    e->max.f = max;
    return 0;
}

int VarTableAddBool(VarTable* table, const char* name, intptr_t offset, int def, uint32_t flags) {
    VarEntry* e = Add(table, name, VAR_BOOL, offset, flags);
    if (!e) return -1;
    e->def.i = def != 0;
    e->max.i = 1;
    return 0;
}

int VarTableAddString(VarTable* table, const char* name, intptr_t offset, int maxLength,
                      const char* def, uint32_t flags) {
    if (maxLength < 0) return Refused(name, "a negative length");
    VarEntry* e = Add(table, name, VAR_STRING, offset, flags);
    if (!e) return -1;
    e->max.i = maxLength;
    e->defText = def;
    return 0;
}

int VarTableAddEntity(VarTable* table, const char* name, intptr_t offset, uint32_t flags) {
    return Add(table, name, VAR_ENTITY, offset, flags) ? 0 : -1;
}

int VarTableAddColor4b(VarTable* table, const char* name, intptr_t offset, uint32_t color,
                       uint32_t flags) {
    static const int kByte[4] = {3, 2, 1, 0}; // a, r, g, b of the packed word
    char names[4][sizeof(VarEntry::name)];
    for (int i = 0; i < 4; ++i)
        if (!Suffixed(names[i], name, kColor4fKeys[i]))
            return Refused(name, "the name is empty or too long");
    if (!table || FreeCount(table) < 4)
        return Refused(name, table ? "the table has no room for its four entries" : "no table");
    for (int i = 0; i < 4; ++i) {
        VarEntry* e = Add(table, names[i], VAR_BYTE, offset + kByte[i], flags);
        e->min.i = 0;
        e->max.i = 255;
        e->def.i = (int)((color >> (8 * kByte[i])) & 0xFF);
    }
    return 0;
}

int VarTableAddColor4f(VarTable* table, const char* name, intptr_t offset, uint32_t flags) {
    const float defs[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    return AddColor4f(table, name, offset, defs, flags);
}

int VarTableAddColor4fArgb(VarTable* table, const char* name, intptr_t offset, uint32_t color,
                           uint32_t flags) {
    const float k = 1.0f / 255.0f;
    const float defs[4] = {(float)((color >> 24) & 0xFF) * k, (float)((color >> 16) & 0xFF) * k,
                           (float)((color >> 8) & 0xFF) * k, (float)(color & 0xFF) * k};
    return AddColor4f(table, name, offset, defs, flags);
}

int VarTableAddCommand(VarTable* table, const char* name, VarCommandFn function, uint32_t flags) {
    VarEntry* e = Add(table, name, VAR_COMMAND, 0, flags);
    if (!e) return -1;
    e->function = function;
    return 0;
}

int VarTableAddSeparator(VarTable* table, const char* label) {
    return Add(table, label, VAR_SEPARATOR, 0, 0) ? 0 : -1;
}

// ---- setters by name ----

int VarTableSetString(VarTable* table, void* object, const char* name, const char* text) {
    VarEntry* e = FindTyped(table, name, VAR_STRING);
    if (!e || !object) return 0;
    CopyString(e, object, text);
    return 1;
}

namespace {
// Stores a value into the named entry of exactly that type; 1, or 0 changing nothing.
template <typename T>
int SetTyped(VarTable* table, void* object, const char* name, uint32_t type, T value) {
    VarEntry* e = FindTyped(table, name, type);
    if (!e || !object) return 0;
    Store(object, e->offset, value);
    return 1;
}
} // namespace

int VarTableSetFloat(VarTable* table, void* object, const char* name, float value) {
    return SetTyped(table, object, name, VAR_FLOAT, value);
}
int VarTableSetInt(VarTable* table, void* object, const char* name, int value) {
    return SetTyped(table, object, name, VAR_INT, (int32_t)value);
}
int VarTableSetEntity(VarTable* table, void* object, const char* name, intptr_t value) {
    return SetTyped(table, object, name, VAR_ENTITY, value);
}
// A bool entry holds 0 or 1 only: any nonzero value is stored as 1, as its text form reads it.
int VarTableSetBool(VarTable* table, void* object, const char* name, int value) {
    return SetTyped(table, object, name, VAR_BOOL, (uint32_t)(value != 0));
}

int VarTableSetColor(VarTable* table, void* object, const char* name, float r, float g, float b) {
    char names[3][sizeof(VarEntry::name)];
    VarEntry* e[3];
    for (int i = 0; i < 3; ++i) {
        if (!Suffixed(names[i], name ? name : "", kColor3fKeys[i])) return 0;
        e[i] = VarTableFind(table, names[i]);
    }
    if (!object || !e[0] || (e[0]->type != VAR_FLOAT && e[0]->type != VAR_BYTE)) return 0;
    if (!e[1] || !e[2] || e[1]->type != e[0]->type || e[2]->type != e[0]->type) return 0;
    const float v[3] = {r, g, b};
    for (int i = 0; i < 3; ++i) {
        if (e[i]->type == VAR_FLOAT)
            Store(object, e[i]->offset, v[i]);
        else
            Store(object, e[i]->offset, FractionToByte(v[i]));
    }
    return 1;
}

int VarTableSetVector(VarTable* table, void* object, const char* name, float x, float y, float z) {
    static const char* const kKeys[3] = {".x", ".y", ".z"};
    char names[3][sizeof(VarEntry::name)];
    VarEntry* e[3];
    for (int i = 0; i < 3; ++i) {
        if (!Suffixed(names[i], name ? name : "", kKeys[i])) return 0;
        e[i] = FindTyped(table, names[i], VAR_FLOAT);
        if (!e[i]) return 0;
    }
    if (!object) return 0;
    Store(object, e[0]->offset, x);
    Store(object, e[1]->offset, y);
    Store(object, e[2]->offset, z);
    return 1;
}

// ---- text forms ----

int VarTableEntryFromText(const VarEntry* e, void* object, const char* text) {
    if (!e || !object) return 0;
    if (!text) text = "";
    switch (e->type) {
        case VAR_BYTE: Store(object, e->offset, ClampByte(DecToInt(text))); break;
        case VAR_INT: Store(object, e->offset, (int32_t)DecToInt(text)); break;
        case VAR_FLOAT: Store(object, e->offset, TextToFloat(text)); break;
        case VAR_STRING: CopyString(e, object, text); break;
        case VAR_BOOL: Store(object, e->offset, (uint32_t)(DecToInt(text) != 0)); break;
        default: break;
    }
    return 0;
}

void VarTableEntryToText(const VarEntry* e, const void* object, char* out, size_t outSize) {
    if (!out || outSize == 0) return;
    out[0] = 0;
    if (!e || !object) return;
    switch (e->type) {
        case VAR_BYTE: std::snprintf(out, outSize, "%d", Load<uint8_t>(object, e->offset)); break;
        case VAR_INT: std::snprintf(out, outSize, "%d", Load<int32_t>(object, e->offset)); break;
        case VAR_FLOAT: FloatToText(Load<float>(object, e->offset), out, outSize); break;
        case VAR_STRING: {
            const char* s = At<char>(object, e->offset);
            std::snprintf(out, outSize, "%.*s", (int)strnlen(s, (size_t)e->max.i), s);
            break;
        }
        case VAR_BOOL:
            std::snprintf(out, outSize, "%s", Load<uint32_t>(object, e->offset) ? "1" : "0");
            break;
        case VAR_COLOR4F: std::snprintf(out, outSize, "color4f value"); break;
        case VAR_COLOR3F: std::snprintf(out, outSize, "color3f value"); break;
        default: break;
    }
}

// ---- ini form ----

namespace {

void ReadFloatKey(const VarEntry* e, void* object, const char* suffix, int plus, float def) {
    char key[sizeof(VarEntry::name) + 4];
    std::snprintf(key, sizeof key, "%s%s", e->name, suffix);
    float v;
    IniReadFloat(&v, key, def);
    Store(object, e->offset + plus, v);
}

void WriteFloatKey(const VarEntry* e, const void* object, const char* section, const char* suffix,
                   int plus) {
    char key[sizeof(VarEntry::name) + 4];
    std::snprintf(key, sizeof key, "%s%s", e->name, suffix);
    IniProfileWriteFloat(section, key, Load<float>(object, e->offset + plus));
}

// "TRUE"/"FALSE" in any case by their first letter, else an integer: nonzero is true.
bool BoolFromIniText(const char* text) {
    if (text[0] == 't' || text[0] == 'T') return true;
    if (text[0] == 'f' || text[0] == 'F') return false;
    return IniTextToInt(text) != 0;
}
} // namespace

int VarTableLoadIni(VarTable* table, const char* path, const char* section, void* object) {
    if (!table || !object) return 0;
    // An empty path is a file that cannot be opened (every key its default), never the file
    // some earlier caller left loaded.
    if (path && !*path) IniClose();
    bool opened = path && IniOpen(path) == 0;
    IniSetSection(section);
    for (int i = 0; i < table->count; ++i) {
        const VarEntry* e = &table->Entries()[i];
        int v;
        switch (e->type) {
            case VAR_BYTE:
                IniReadInt(&v, e->name, e->def.i);
                Store(object, e->offset, ClampByte(v));
                break;
            case VAR_INT:
                IniReadInt(&v, e->name, e->def.i);
                Store(object, e->offset, (int32_t)v);
                break;
            case VAR_FLOAT: ReadFloatKey(e, object, "", 0, e->def.f); break;
            case VAR_STRING: {
                char text[INI_VALUE_MAX + 1];
                IniReadString(text, e->name, e->defText, sizeof text);
                CopyString(e, object, text);
                break;
            }
            case VAR_COLOR4F:
                for (int k = 0; k < 4; ++k)
                    ReadFloatKey(e, object, kColor4fKeys[k], kColor4fOffsets[k], 1.0f);
                break;
            case VAR_COLOR3F:
                for (int k = 0; k < 3; ++k)
                    ReadFloatKey(e, object, kColor3fKeys[k], 4 * k, 1.0f);
                break;
            case VAR_BOOL: {
                // An entity ini names a switch as "TRUE" or "FALSE", as for the property
                // database's classes; dropping it would leave the switch silently unset (a
                // particle spray's "destBlend=TRUE" is how its data file asks for additive
                // blending, so the data file's own rule holds). A missing key keeps the value;
                // saving writes no bool key, as before.
                char text[INI_VALUE_MAX + 1];
                if (IniFindKey(e->name, text, sizeof text) == 0)
                    Store(object, e->offset, (uint32_t)(BoolFromIniText(text) ? 1 : 0));
                break;
            }
            default: break;
        }
    }
    if (opened) IniClose();
    return 0;
}

int VarTableSaveIni(VarTable* table, const char* path, const char* section, void* object) {
    if (!table || !object) return 0;
    bool set = IniSetProfileFile(path) == 1;
    for (int i = 0; i < table->count; ++i) {
        const VarEntry* e = &table->Entries()[i];
        switch (e->type) {
            case VAR_BYTE:
                IniProfileWriteInt(section, e->name, Load<uint8_t>(object, e->offset));
                break;
            case VAR_INT:
                IniProfileWriteInt(section, e->name, Load<int32_t>(object, e->offset));
                break;
            case VAR_FLOAT: WriteFloatKey(e, object, section, "", 0); break;
            case VAR_STRING: {
                char text[INI_VALUE_MAX + 1];
                VarTableEntryToText(e, object, text, sizeof text);
                IniProfileWriteString(section, e->name, text);
                break;
            }
            case VAR_COLOR4F:
                for (int k = 0; k < 4; ++k)
                    WriteFloatKey(e, object, section, kColor4fKeys[k], kColor4fOffsets[k]);
                break;
            case VAR_COLOR3F:
                for (int k = 0; k < 3; ++k)
                    WriteFloatKey(e, object, section, kColor3fKeys[k], 4 * k);
                break;
            default: break;
        }
    }
    // The writes are only held in memory until the file is cleared: that is where they can fail.
    if (set && IniClearProfileFile() != 0) return -1;
    return 0;
}

void VarTableInitObject(VarTable* table, void* object) {
    if (!table || !object) return;
    VarEntry* entries = table->Entries();
    for (int32_t i = 0; i < table->count; ++i) {
        const VarEntry* e = &entries[i];
        switch (e->type) {
            case VAR_BYTE: Store(object, e->offset, (uint8_t)e->def.i); break;
            case VAR_INT: Store(object, e->offset, e->def.i); break;
            case VAR_FLOAT: Store(object, e->offset, e->def.f); break;
            case VAR_STRING: CopyString(e, object, e->defText); break;
            case VAR_BOOL: Store(object, e->offset, (uint32_t)(e->def.i != 0)); break;
            default: break; // colours are their byte and float entries; the rest hold no value
        }
    }
}
