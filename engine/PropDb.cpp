// Property databases: the list of all databases, adding and finding fields, and the
// whole-object operations (defaults, ini, blobs, dumps, setters by name).
#include "engine/PropDb.h"

#include "engine/DebugLog.h"
#include "engine/IniFile.h"
#include "engine/MathConst.h"
#include "engine/Memory.h"
#include "engine/PropFields.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

// A function-local static: databases are static objects in many files, constructed in no
// particular order before main, and each must find the list already usable.
PropDb*& ListHead() {
    static PropDb* s_head = nullptr;
    return s_head;
}

PropField* Append(PropDb* db, PropField* field) {
    if (!field) return nullptr;
    PropField** at = &db->first;
    while (*at)
        at = &(*at)->next;
    *at = field;
    return field;
}

int64_t s_failedAdds = 0;

// Every add that adds nothing says so: the objects of the database would otherwise go without
// the field, unread from their files and unset by the scripts, without a word.
PropField* Refused(const PropDb* db, const char* name, const char* why) {
    ++s_failedAdds;
    DbgPrintf(DBG_GENERAL, "** WARNING ** property database [%s]: \"%s\" not added: %s\n",
              db ? db->name : "", name ? name : "", why);
    return nullptr;
}

// The checks every add makes first: a database, a name that fits and is not taken.
const char* CannotAdd(const PropDb* db, const char* name) {
    if (!db) return "no database";
    if (!name || !*name || std::strlen(name) > PropField::NAME_LEN_MAX)
        return "the name is empty or too long";
    if (PropDbFindField(db, name)) return "the name is taken";
    return nullptr;
}

template <typename Field, typename... Args>
PropField* AddField(PropDb* db, const char* name, Args... args) {
    if (const char* why = CannotAdd(db, name)) return Refused(db, name, why);
    PropField* field = Append(db, new (std::nothrow) Field(name, args...));
    return field ? field : Refused(db, name, "no memory");
}

PropField* FindTyped(const PropDb* db, const char* name, uint32_t type) {
    PropField* f = PropDbFindField(db, name);
    return f && f->type == type ? f : nullptr;
}

} // namespace

PropDb::PropDb() {
    next = ListHead();
    ListHead() = this;
}

PropDb::~PropDb() {
    for (PropField* f = first; f;) {
        PropField* n = f->next;
        delete f;
        f = n;
    }
    first = nullptr;
    for (PropDb** at = &ListHead(); *at; at = &(*at)->next)
        if (*at == this) {
            *at = next;
            break;
        }
}

int64_t PropDbFailedAdds() {
    return s_failedAdds;
}

PropDb* PropDbFirst() {
    return ListHead();
}

void PropDbSetName(PropDb* db, const char* name) {
    if (db) std::snprintf(db->name, sizeof db->name, "%s", name ? name : "");
}

// ---- adding ----

PropField* PropDbAddInt(PropDb* db, const char* name, intptr_t offset, int def, uint32_t flags) {
    return AddField<PropFieldInt>(db, name, offset, def, flags);
}

PropField* PropDbAddBool(PropDb* db, const char* name, intptr_t offset, uint8_t def,
                         uint32_t flags) {
    return AddField<PropFieldBool>(db, name, offset, def, flags);
}

PropField* PropDbAddSwitch(PropDb* db, const char* name, intptr_t offset, int32_t def,
                           uint32_t flags) {
    return AddField<PropFieldSwitch>(db, name, offset, def, flags);
}

PropField* PropDbAddFloat(PropDb* db, const char* name, intptr_t offset, float def,
                          uint32_t flags) {
    PropField* f = AddField<PropFieldFloat>(db, name, offset, def, flags, (uint32_t)PROP_FLOAT);
    if (f) f->SetRangeFloat(0.0f, 1000.0f, 1.0f);
    return f;
}

PropField* PropDbAddAngle(PropDb* db, const char* name, intptr_t offset, float def,
                          uint32_t flags) {
    PropField* f = AddField<PropFieldFloat>(db, name, offset, def, flags, (uint32_t)PROP_ANGLE);
    if (f) f->SetRangeFloat(0.0f, kTwoPi, 0.017453292f);
    return f;
}

PropField* PropDbAddString(PropDb* db, const char* name, intptr_t offset, const char* def,
                           int maxLength, uint32_t flags) {
    if (maxLength < 0) return nullptr;
    return AddField<PropFieldString>(db, name, offset, def, maxLength, flags);
}

PropField* PropDbAddStringBlank(PropDb* db, const char* name, intptr_t offset, int maxLength,
                                uint32_t flags) {
    return PropDbAddString(db, name, offset, "", maxLength, flags);
}

PropField* PropDbAddVoid(PropDb* db, const char* name, intptr_t offset, intptr_t def,
                         uint32_t flags) {
    return AddField<PropFieldVoid>(db, name, offset, def, flags);
}

PropField* PropDbAddVector3(PropDb* db, const char* name, intptr_t offset, float x, float y,
                            float z, uint32_t flags) {
    return AddField<PropFieldFloat3>(db, name, offset, x, y, z, flags, (uint32_t)PROP_VECTOR3);
}

PropField* PropDbAddVector3Zero(PropDb* db, const char* name, intptr_t offset, uint32_t flags) {
    return PropDbAddVector3(db, name, offset, 0.0f, 0.0f, 0.0f, flags);
}

PropField* PropDbAddColor3f(PropDb* db, const char* name, intptr_t offset, float r, float g,
                            float b, uint32_t flags) {
    return AddField<PropFieldFloat3>(db, name, offset, r, g, b, flags, (uint32_t)PROP_COLOR3F);
}

PropField* PropDbAddColor3fWhite(PropDb* db, const char* name, intptr_t offset, uint32_t flags) {
    return PropDbAddColor3f(db, name, offset, 1.0f, 1.0f, 1.0f, flags);
}

PropField* PropDbAddColor4b(PropDb* db, const char* name, intptr_t offset, uint32_t def,
                            uint32_t flags) {
    return AddField<PropFieldColor4b>(db, name, offset, def, flags);
}

PropField* PropDbAddColor4bWhite(PropDb* db, const char* name, intptr_t offset, uint32_t flags) {
    return PropDbAddColor4b(db, name, offset, 0xFFFFFFFFu, flags);
}

PropField* PropDbAddSeparator(PropDb* db, const char* label) {
    return AddField<PropFieldSeparator>(db, label);
}

PropField* PropDbAddCommand(PropDb* db, const char* name, PropCommandFn handler, uint32_t flags) {
    return AddField<PropFieldCommand>(db, name, handler, flags);
}

PropField* PropDbFindField(const PropDb* db, const char* name) {
    if (!db || !name) return nullptr;
    for (PropField* f = db->first; f; f = f->next)
        if (std::strncmp(f->name, name, PropField::MATCH_LENGTH) == 0) return f;
    return nullptr;
}

// ---- whole objects ----

void PropDbInitObject(const PropDb* db, void* object) {
    if (!db || !object) return;
    for (PropField* f = db->first; f; f = f->next)
        f->SetDefault(object);
}

bool VarDbSaveIni(const PropDb* db, const void* object, const char* path, const char* section) {
    if (!db || !object) return false;
    bool set = IniSetProfileFile(path) == 1;
    bool answer = false;
    for (PropField* f = db->first; f; f = f->next)
        answer = f->WriteIni(object, section);
    // The writes are only held in memory until the file is cleared: that is where they can fail.
    if (set && IniClearProfileFile() != 0) return false;
    return answer;
}

void VarDbLoadIni(const PropDb* db, void* object, const char* path, const char* section) {
    if (!db || !object) return;
    // An empty path is a file that cannot be opened (every field its default), never the file
    // some earlier caller left loaded.
    if (path && !*path) IniClose();
    bool opened = path && IniOpen(path) == 0;
    IniSetSection(section);
    for (PropField* f = db->first; f; f = f->next)
        f->ReadIni(object);
    if (opened) IniClose();
}

void* VarDbSaveBlob(const PropDb* db, const void* object, size_t* size) {
    if (size) *size = 0;
    if (!db || !object) return nullptr;
    size_t total = 0;
    for (PropField* f = db->first; f; f = f->next)
        total += (size_t)f->Size(object);
    auto* block = static_cast<char*>(MemAlloc(total ? total : 1));
    if (!block) return nullptr;
    char* at = block;
    for (PropField* f = db->first; f; f = f->next)
        at += f->CopyOut(object, at);
    if (size) *size = total;
    return block;
}

bool VarDbLoadBlob(const PropDb* db, void* object, const void* block) {
    if (!db || !object || !block) return false;
    const char* at = static_cast<const char*>(block);
    for (PropField* f = db->first; f; f = f->next)
        at += f->CopyIn(object, at);
    return true;
}

// ---- dumps ----

void PropDbDump(const PropDb* db) {
    if (!db) return;
    DbgPrintf(DBG_GENERAL, "Property Database [%s]\n", db->name);
    for (PropField* f = db->first; f; f = f->next)
        DbgPrintf(DBG_GENERAL, "  field:[%16s]  type:[%12s]:\n", f->name, f->TypeName());
}

void PropDbDumpAll() {
    for (PropDb* db = ListHead(); db; db = db->next)
        PropDbDump(db);
}

void VarDbDump(const PropDb* db, const void* object) {
    if (!db || !object) return;
    DbgPrintf(DBG_GENERAL, "Variable Database [%s] of object at 0x%" PRIXPTR "\n", db->name,
              (uintptr_t)object);
    char text[INI_VALUE_MAX + 1];
    for (PropField* f = db->first; f; f = f->next) {
        f->ToText(object, text, sizeof text);
        DbgPrintf(DBG_GENERAL, "  [%16s]  [%12s] [%3i bytes] [%s]\n", f->name, f->TypeName(),
                  f->Size(object), text);
    }
}

// ---- setters by name ----

bool PropDbSetString(const PropDb* db, void* object, const char* name, const char* text) {
    PropField* f = FindTyped(db, name, PROP_STRING);
    if (!f || !object) return false;
    f->SetPtr(object, text);
    return true;
}

bool PropDbSetFloat(const PropDb* db, void* object, const char* name, float value) {
    PropField* f = FindTyped(db, name, PROP_FLOAT);
    if (!f || !object) return false;
    f->SetFloat(object, value);
    return true;
}

bool PropDbSetColor3(const PropDb* db, void* object, const char* name, float r, float g, float b) {
    PropField* f = FindTyped(db, name, PROP_COLOR3F);
    if (!f || !object) return false;
    static_cast<PropFieldFloat3*>(f)->Set3(object, r, g, b);
    return true;
}

bool PropDbSetVector3(const PropDb* db, void* object, const char* name, float x, float y, float z) {
    PropField* f = FindTyped(db, name, PROP_VECTOR3);
    if (!f || !object) return false;
    static_cast<PropFieldFloat3*>(f)->Set3(object, x, y, z);
    return true;
}

bool PropDbSetInt(const PropDb* db, void* object, const char* name, int value) {
    PropField* f = FindTyped(db, name, PROP_INT);
    if (!f || !object) return false;
    f->SetInt(object, value);
    return true;
}

bool PropDbSetVoid(const PropDb* db, void* object, const char* name, intptr_t value) {
    PropField* f = FindTyped(db, name, PROP_VOID);
    if (!f || !object) return false;
    f->SetPtr(object, reinterpret_cast<const void*>(value));
    return true;
}

bool PropDbSetBool(const PropDb* db, void* object, const char* name, uint8_t value) {
    PropField* f = FindTyped(db, name, PROP_BOOL);
    if (!f || !object) return false;
    f->SetBool(object, value);
    return true;
}
