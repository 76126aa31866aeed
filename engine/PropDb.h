// Property databases: the static description of the named, typed fields of one kind of object
// (an entity class or a plain data record). From it objects get their defaults, are read from
// and written to one ini section, are set by name from scripts, are copied to and from a memory
// block, and are listed for the developer tools. Field order is the order of all of these.
#pragma once

#include <cstddef>
#include <cstdint>

enum PropType : uint32_t {
    PROP_ERROR = 0,
    PROP_INT = 2,        // i32
    PROP_FLOAT = 3,      // float
    PROP_ANGLE = 4,      // float, radians
    PROP_STRING = 5,     // char[max + 1]: at most max characters and the terminator
    PROP_BOOL = 6,       // one byte, 0 or 1
    PROP_COLOR3F = 11,   // three floats r, g, b
    PROP_COMMAND = 12,   // no value; the field holds a handler
    PROP_SEPARATOR = 13, // no value; a heading row
    PROP_COLOR4B = 14,   // u32: byte 0 = b, 1 = g, 2 = r, 3 = a
    PROP_VECTOR3 = 16,   // three floats x, y, z
    PROP_VOID = 17,      // a pointer-sized word
    PROP_SWITCH = 18,    // i32, 0 or 1: read as a bool ("TRUE" is on), written "0" or "1"
};

using PropCommandFn = void (*)(void* object);

// The flags word every class and record builder adds its fields with, so the adds leave it out.
// It is stored with the field; nothing reads it.
constexpr uint32_t PROP_FLAGS_EDIT = 3;

// The byte offset of a field, also in entity classes: those have virtual tables, so they are
// not standard-layout and offsetof is only conditionally supported there (GCC supports it for
// classes without virtual bases, which entity classes never have). Use it instead of offsetof.
// clang-format off
#define PROP_OFFSET(type, member)                                                                  \
    ([]() -> intptr_t {                                                                            \
        _Pragma("GCC diagnostic push")                                                             \
        _Pragma("GCC diagnostic ignored \"-Winvalid-offsetof\"")                                  \
        return (intptr_t)offsetof(type, member);                                                   \
        _Pragma("GCC diagnostic pop")                                                              \
    }())
// clang-format on

// One field. Values live at `offset` inside the object; fields need not be aligned. The
// operations a type has no use for do nothing.
class PropField {
  public:
    enum { NAME_LEN_MAX = 67, MATCH_LENGTH = 24 };

    PropField(const char* name, intptr_t offset, uint32_t type, uint32_t flags);
    virtual ~PropField() = default;
    PropField(const PropField&) = delete;
    PropField& operator=(const PropField&) = delete;

    virtual void SetPtr(void* object, const void* pointer); // string: the text; void: the word
    virtual void SetFloat(void* object, float value);
    virtual void SetBool(void* object, uint8_t value);
    virtual void SetInt(void* object, int value);
    virtual void GetPtr(const void* object, intptr_t* out) const;
    virtual void GetFloat(const void* object, float* out) const;
    virtual void GetBool(const void* object, uint8_t* out) const;
    virtual void GetInt(const void* object, int* out) const;
    virtual void SetRangeInt(int min, int max, int step);
    virtual void SetRangeFloat(float min, float max, float step);
    virtual const char* TypeName() const;
    // Bytes of the value as CopyOut writes them (string: its length + 1).
    virtual int Size(const void* object) const;
    // The text form, cut to outSize - 1; 1, or 0 for a field without one (the base).
    virtual int ToText(const void* object, char* out, size_t outSize) const;
    // Parses the text form into the object; false when the type has none.
    virtual bool FromText(void* object, const char* text);
    virtual void SetDefault(void* object);
    // The ini form: keys into `section` of the profile file / from the reader's current section.
    // ReadIni answers false and writes the default when the key is missing.
    virtual bool WriteIni(const void* object, const char* section) const;
    virtual bool ReadIni(void* object);
    // The value to and from a memory block; both return the bytes used in the block.
    virtual int CopyOut(const void* object, void* dst) const;
    virtual int CopyIn(void* object, const void* src);
    virtual int Reserved(intptr_t word);

    intptr_t offset;
    char name[NAME_LEN_MAX + 1];
    uint32_t type;
    uint32_t flags;
    PropField* next = nullptr;
};

// One database; a static object per class or record type. Construction links it into the
// list of all databases (safe before main, whatever the order of construction across files);
// destruction deletes its fields and unlinks it.
class PropDb {
  public:
    PropDb();
    ~PropDb();
    PropDb(const PropDb&) = delete;
    PropDb& operator=(const PropDb&) = delete;

    char name[64] = {};
    PropField* first = nullptr;
    PropDb* next = nullptr;
};

// The first database of the list of all databases (the most recently constructed).
PropDb* PropDbFirst();

void PropDbSetName(PropDb* db, const char* name);

// Each add returns the new field, or null adding nothing when a field of that name (first 24
// characters) exists or the name is empty or longer than 67 characters. Defaults and edit
// ranges: int 0..100 step 1; float 0..1000 step 1; angle 0..2pi step pi/180.
PropField* PropDbAddInt(PropDb* db, const char* name, intptr_t offset, int def,
                        uint32_t flags = PROP_FLAGS_EDIT);
PropField* PropDbAddBool(PropDb* db, const char* name, intptr_t offset, uint8_t def,
                         uint32_t flags = PROP_FLAGS_EDIT);
// A 32-bit switch for files that other code reads as whole numbers: any bool text reads ("TRUE",
// "1", "FALSE", "0"), and it is written "0" or "1".
PropField* PropDbAddSwitch(PropDb* db, const char* name, intptr_t offset, int32_t def,
                           uint32_t flags = PROP_FLAGS_EDIT);
PropField* PropDbAddFloat(PropDb* db, const char* name, intptr_t offset, float def,
                          uint32_t flags = PROP_FLAGS_EDIT);
PropField* PropDbAddAngle(PropDb* db, const char* name, intptr_t offset, float def,
                          uint32_t flags = PROP_FLAGS_EDIT);
// The object holds char[maxLength + 1] at offset.
PropField* PropDbAddString(PropDb* db, const char* name, intptr_t offset, const char* def,
                           int maxLength, uint32_t flags = PROP_FLAGS_EDIT);
PropField* PropDbAddStringBlank(PropDb* db, const char* name, intptr_t offset, int maxLength,
                                uint32_t flags = PROP_FLAGS_EDIT);
PropField* PropDbAddVoid(PropDb* db, const char* name, intptr_t offset, intptr_t def,
                         uint32_t flags = PROP_FLAGS_EDIT);
PropField* PropDbAddVector3(PropDb* db, const char* name, intptr_t offset, float x, float y,
                            float z, uint32_t flags = PROP_FLAGS_EDIT);
PropField* PropDbAddVector3Zero(PropDb* db, const char* name, intptr_t offset,
                                uint32_t flags = PROP_FLAGS_EDIT);
PropField* PropDbAddColor3f(PropDb* db, const char* name, intptr_t offset, float r, float g,
                            float b, uint32_t flags = PROP_FLAGS_EDIT);
PropField* PropDbAddColor3fWhite(PropDb* db, const char* name, intptr_t offset,
                                 uint32_t flags = PROP_FLAGS_EDIT);
PropField* PropDbAddColor4b(PropDb* db, const char* name, intptr_t offset, uint32_t def,
                            uint32_t flags = PROP_FLAGS_EDIT);
PropField* PropDbAddColor4bWhite(PropDb* db, const char* name, intptr_t offset,
                                 uint32_t flags = PROP_FLAGS_EDIT);
PropField* PropDbAddSeparator(PropDb* db, const char* label);
PropField* PropDbAddCommand(PropDb* db, const char* name, PropCommandFn handler,
                            uint32_t flags = PROP_FLAGS_EDIT);

// Adds refused since the program started; each refused add also writes a log line naming the
// database, the field and why.
int64_t PropDbFailedAdds();

// The first field whose name equals `name` in its first 24 characters (case-sensitive).
PropField* PropDbFindField(const PropDb* db, const char* name);
// SetDefault of every field, in order.
void PropDbInitObject(const PropDb* db, void* object);

// Writes every field into `section`: of `path` when given (made the profile file for the call),
// else of the current profile file. Returns the last field's answer, or false when the file
// given could not be written (the ini writer logs which).
bool VarDbSaveIni(const PropDb* db, const void* object, const char* path, const char* section);
// Reads every field from `section` (a null section keeps the current one): of `path` when given
// (closed again when this call loaded it), else of the loaded file. Missing keys, sections and
// files give the defaults.
void VarDbLoadIni(const PropDb* db, void* object, const char* path, const char* section);

// Every field's value in order, in a new MemAlloc block of the summed sizes (freed with
// MemFree; *size gets the size when asked); null when there is nothing to hold or no memory.
void* VarDbSaveBlob(const PropDb* db, const void* object, size_t* size = nullptr);
bool VarDbLoadBlob(const PropDb* db, void* object, const void* block);

// Level-1 log listings: the fields of one database or of all, and an object's values.
void PropDbDump(const PropDb* db);
void PropDbDumpAll();
void VarDbDump(const PropDb* db, const void* object);

// Setters by name: true when the field exists with exactly that type (the float setter takes
// "float" fields only, not "angle"); otherwise false and nothing changes. Strings are cut to
// the field's maximum length.
bool PropDbSetString(const PropDb* db, void* object, const char* name, const char* text);
bool PropDbSetFloat(const PropDb* db, void* object, const char* name, float value);
bool PropDbSetColor3(const PropDb* db, void* object, const char* name, float r, float g, float b);
bool PropDbSetVector3(const PropDb* db, void* object, const char* name, float x, float y, float z);
bool PropDbSetInt(const PropDb* db, void* object, const char* name, int value);
bool PropDbSetVoid(const PropDb* db, void* object, const char* name, intptr_t value);
bool PropDbSetBool(const PropDb* db, void* object, const char* name, uint8_t value);
