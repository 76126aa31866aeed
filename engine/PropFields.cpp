// The field types of property databases: values in objects, text forms and ini forms.
#include "engine/PropFields.h"

#include "engine/IniFile.h"
#include "engine/NumText.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// Values are copied byte-wise: a field need not be aligned for its type in the object.
template <typename T>
void Store(void* object, intptr_t offset, const T& value) {
    std::memcpy(static_cast<char*>(object) + offset, &value, sizeof value);
}
template <typename T>
T Load(const void* object, intptr_t offset) {
    T value;
    std::memcpy(&value, static_cast<const char*>(object) + offset, sizeof value);
    return value;
}

char* Text(void* object, intptr_t offset) {
    return static_cast<char*>(object) + offset;
}
const char* Text(const void* object, intptr_t offset) {
    return static_cast<const char*>(object) + offset;
}

int Print(char* out, size_t outSize, const char* text) {
    if (!out || outSize == 0) return 0;
    std::snprintf(out, outSize, "%s", text);
    return 1;
}

// The value of the field's one key; false when the key is missing.
bool ReadKey(const char* key, char* value, size_t size) {
    return IniFindKey(key, value, size) == 0;
}

// The ini form of the one-key types: "name" = the text form; a missing key gives the default.
bool ReadOneKey(PropField* f, void* object) {
    char value[INI_VALUE_MAX + 1];
    if (!ReadKey(f->name, value, sizeof value)) {
        f->SetDefault(object);
        return false;
    }
    return f->FromText(object, value);
}

bool WriteOneKey(const PropField* f, const void* object, const char* section) {
    char value[INI_VALUE_MAX + 1];
    f->ToText(object, value, sizeof value);
    IniProfileWriteString(section, f->name, value);
    return true;
}

void KeyName(char* out, size_t size, const char* name, const char* suffix) {
    std::snprintf(out, size, "%s%s", name, suffix);
}

// A fraction of 255, rounded to the nearest byte so that what we write reads back as the same
// byte, and clamped: values above 1.0 and below 0 stay within the channel.
uint32_t FractionToByte(double f) {
    if (!(f > 0.0)) return 0; // negative and NaN
    double v = std::floor(f * 255.0 + 0.5);
    return v >= 255.0 ? 255u : (uint32_t)v;
}

uint32_t IntToByte(int v) {
    return v < 0 ? 0u : v > 255 ? 255u : (uint32_t)v;
}

} // namespace

// ---- base ----

PropField::PropField(const char* fieldName, intptr_t fieldOffset, uint32_t fieldType,
                     uint32_t fieldFlags)
    : offset(fieldOffset), type(fieldType), flags(fieldFlags) {
    std::snprintf(name, sizeof name, "%s", fieldName ? fieldName : "");
}

void PropField::SetPtr(void*, const void*) {}
void PropField::SetFloat(void*, float) {}
void PropField::SetBool(void*, uint8_t) {}
void PropField::SetInt(void*, int) {}
void PropField::GetPtr(const void*, intptr_t*) const {}
void PropField::GetFloat(const void*, float*) const {}
void PropField::GetBool(const void*, uint8_t*) const {}
void PropField::GetInt(const void*, int*) const {}
void PropField::SetRangeInt(int, int, int) {}
void PropField::SetRangeFloat(float, float, float) {}
const char* PropField::TypeName() const {
    return "Error";
}
int PropField::Size(const void*) const {
    return 0;
}
int PropField::ToText(const void*, char* out, size_t outSize) const {
    Print(out, outSize, "");
    return 0;
}
bool PropField::FromText(void*, const char*) {
    return false;
}
void PropField::SetDefault(void*) {}
bool PropField::WriteIni(const void*, const char*) const {
    return false;
}
bool PropField::ReadIni(void*) {
    return false;
}
int PropField::CopyOut(const void*, void*) const {
    return 0;
}
int PropField::CopyIn(void*, const void*) {
    return 0;
}
int PropField::Reserved(intptr_t) {
    return 0;
}

// ---- fixed-size values ----

PropFieldValue::PropFieldValue(const char* n, intptr_t o, uint32_t t, uint32_t f, int size)
    : PropField(n, o, t, f), bytes(size) {}
bool PropFieldValue::WriteIni(const void* object, const char* section) const {
    return WriteOneKey(this, object, section);
}
bool PropFieldValue::ReadIni(void* object) {
    return ReadOneKey(this, object);
}
int PropFieldValue::CopyOut(const void* object, void* dst) const {
    std::memcpy(dst, Text(object, offset), (size_t)bytes);
    return bytes;
}
int PropFieldValue::CopyIn(void* object, const void* src) {
    std::memcpy(Text(object, offset), src, (size_t)bytes);
    return bytes;
}

// ---- int ----

PropFieldInt::PropFieldInt(const char* n, intptr_t o, int d, uint32_t f)
    : PropFieldValue(n, o, PROP_INT, f, 4), def(d) {}
void PropFieldInt::SetInt(void* object, int value) {
    Store(object, offset, (int32_t)value);
}
void PropFieldInt::GetInt(const void* object, int* out) const {
    if (out) *out = Load<int32_t>(object, offset);
}
void PropFieldInt::SetRangeInt(int lo, int hi, int s) {
    min = lo;
    max = hi;
    step = s;
}
int PropFieldInt::ToText(const void* object, char* out, size_t outSize) const {
    char text[16];
    std::snprintf(text, sizeof text, "%d", Load<int32_t>(object, offset));
    return Print(out, outSize, text);
}
bool PropFieldInt::FromText(void* object, const char* text) {
    Store(object, offset, (int32_t)IniTextToInt(text ? text : ""));
    return true;
}
void PropFieldInt::SetDefault(void* object) {
    Store(object, offset, (int32_t)def);
}

// ---- float and angle ----

PropFieldFloat::PropFieldFloat(const char* n, intptr_t o, float d, uint32_t f, uint32_t t)
    : PropFieldValue(n, o, t, f, 4), def(d) {}
void PropFieldFloat::SetFloat(void* object, float value) {
    Store(object, offset, value);
}
void PropFieldFloat::GetFloat(const void* object, float* out) const {
    if (out) *out = Load<float>(object, offset);
}
void PropFieldFloat::SetRangeFloat(float lo, float hi, float s) {
    min = lo;
    max = hi;
    step = s;
}
int PropFieldFloat::ToText(const void* object, char* out, size_t outSize) const {
    if (!out || outSize == 0) return 0;
    FloatToText(Load<float>(object, offset), out, outSize);
    return 1;
}
bool PropFieldFloat::FromText(void* object, const char* text) {
    Store(object, offset, TextToFloat(text ? text : ""));
    return true;
}
void PropFieldFloat::SetDefault(void* object) {
    Store(object, offset, def);
}

// ---- string ----

PropFieldString::PropFieldString(const char* n, intptr_t o, const char* d, int maxLen, uint32_t f)
    : PropField(n, o, PROP_STRING, f), def(d ? d : ""), maxLength(maxLen < 0 ? 0 : maxLen) {}

void PropFieldString::SetPtr(void* object, const void* pointer) {
    FromText(object, static_cast<const char*>(pointer));
}
int PropFieldString::Size(const void* object) const {
    return (int)strnlen(Text(object, offset), (size_t)maxLength) + 1;
}
int PropFieldString::ToText(const void* object, char* out, size_t outSize) const {
    if (!out || outSize == 0) return 0;
    const char* s = Text(object, offset);
    std::snprintf(out, outSize, "%.*s", (int)strnlen(s, (size_t)maxLength), s);
    return 1;
}
// At most maxLength characters, the rest of the buffer zero: always terminated.
bool PropFieldString::FromText(void* object, const char* text) {
    if (!text) text = "";
    size_t n = strnlen(text, (size_t)maxLength);
    char* dst = Text(object, offset);
    std::memmove(dst, text, n);
    std::memset(dst + n, 0, (size_t)maxLength + 1 - n);
    return true;
}
void PropFieldString::SetDefault(void* object) {
    FromText(object, def.c_str());
}
bool PropFieldString::WriteIni(const void* object, const char* section) const {
    return WriteOneKey(this, object, section);
}
bool PropFieldString::ReadIni(void* object) {
    return ReadOneKey(this, object);
}
int PropFieldString::CopyOut(const void* object, void* dst) const {
    int size = Size(object);
    std::memcpy(dst, Text(object, offset), (size_t)size - 1);
    static_cast<char*>(dst)[size - 1] = 0;
    return size;
}
int PropFieldString::CopyIn(void* object, const void* src) {
    const char* text = static_cast<const char*>(src);
    FromText(object, text);
    return (int)std::strlen(text) + 1;
}

// ---- bool ----

PropFieldBool::PropFieldBool(const char* n, intptr_t o, uint8_t d, uint32_t f)
    : PropFieldValue(n, o, PROP_BOOL, f, 1), def(d) {}
void PropFieldBool::SetBool(void* object, uint8_t value) {
    Store(object, offset, value);
}
void PropFieldBool::GetBool(const void* object, uint8_t* out) const {
    if (out) *out = Load<uint8_t>(object, offset);
}
int PropFieldBool::ToText(const void* object, char* out, size_t outSize) const {
    return Print(out, outSize, Load<uint8_t>(object, offset) ? "TRUE" : "FALSE");
}
bool PropFieldBool::FromText(void* object, const char* text) {
    char c = text ? text[0] : 0;
    Store(object, offset, (uint8_t)(c == '0' || c == 'f' || c == 'F' ? 0 : 1));
    return true;
}
void PropFieldBool::SetDefault(void* object) {
    Store(object, offset, def);
}

// ---- switch ----

PropFieldSwitch::PropFieldSwitch(const char* n, intptr_t o, int32_t d, uint32_t f)
    : PropFieldValue(n, o, PROP_SWITCH, f, 4), def(d ? 1 : 0) {}
void PropFieldSwitch::SetBool(void* object, uint8_t value) {
    Store(object, offset, (int32_t)(value ? 1 : 0));
}
void PropFieldSwitch::GetBool(const void* object, uint8_t* out) const {
    if (out) *out = Load<int32_t>(object, offset) ? 1 : 0;
}
void PropFieldSwitch::SetInt(void* object, int value) {
    Store(object, offset, (int32_t)(value ? 1 : 0));
}
void PropFieldSwitch::GetInt(const void* object, int* out) const {
    if (out) *out = Load<int32_t>(object, offset) ? 1 : 0;
}
int PropFieldSwitch::ToText(const void* object, char* out, size_t outSize) const {
    return Print(out, outSize, Load<int32_t>(object, offset) ? "1" : "0");
}
bool PropFieldSwitch::FromText(void* object, const char* text) {
    char c = text ? text[0] : 0;
    Store(object, offset, (int32_t)(c == '0' || c == 'f' || c == 'F' ? 0 : 1));
    return true;
}
void PropFieldSwitch::SetDefault(void* object) {
    Store(object, offset, def);
}

// ---- VECTOR3 and COLOR3F ----

namespace {
const char* const* Float3Keys(uint32_t type) {
    static const char* const kVector[3] = {".x", ".y", ".z"};
    static const char* const kColor[3] = {".r", ".g", ".b"};
    return type == PROP_VECTOR3 ? kVector : kColor;
}
} // namespace

PropFieldFloat3::PropFieldFloat3(const char* n, intptr_t o, float a, float b, float c, uint32_t f,
                                 uint32_t t)
    : PropFieldValue(n, o, t, f, 12), def{a, b, c} {}

void PropFieldFloat3::Set3(void* object, float a, float b, float c) const {
    const float v[3] = {a, b, c};
    Store(object, offset, v);
}
int PropFieldFloat3::ToText(const void* object, char* out, size_t outSize) const {
    if (!out || outSize == 0) return 0;
    float v[3];
    std::memcpy(v, Text(object, offset), sizeof v);
    char parts[3][64];
    for (int i = 0; i < 3; ++i)
        FloatToTextF(v[i], parts[i], sizeof parts[i]);
    std::snprintf(out, outSize, "%s %s %s", parts[0], parts[1], parts[2]);
    return 1;
}
bool PropFieldFloat3::FromText(void* object, const char* text) {
    float v[3] = {0.0f, 0.0f, 0.0f};
    char copy[INI_VALUE_MAX + 1];
    std::snprintf(copy, sizeof copy, "%s", text ? text : "");
    char* save = nullptr;
    char* word = strtok_r(copy, " \t\r\n", &save);
    for (int i = 0; i < 3 && word; ++i, word = strtok_r(nullptr, " \t\r\n", &save))
        v[i] = TextToFloat(word);
    Store(object, offset, v);
    return true;
}
void PropFieldFloat3::SetDefault(void* object) {
    Store(object, offset, def);
}
bool PropFieldFloat3::WriteIni(const void* object, const char* section) const {
    float v[3];
    std::memcpy(v, Text(object, offset), sizeof v);
    const char* const* keys = Float3Keys(type);
    char key[NAME_LEN_MAX + 4];
    for (int i = 0; i < 3; ++i) {
        KeyName(key, sizeof key, name, keys[i]);
        IniProfileWriteFloat(section, key, v[i]);
    }
    return true;
}
bool PropFieldFloat3::ReadIni(void* object) {
    float v[3];
    const char* const* keys = Float3Keys(type);
    char key[NAME_LEN_MAX + 4];
    bool all = true;
    for (int i = 0; i < 3; ++i) {
        KeyName(key, sizeof key, name, keys[i]);
        all = IniReadFloat(&v[i], key, def[i]) == 0 && all;
    }
    Store(object, offset, v);
    return all;
}

// ---- COLOR4B ----

namespace {
const char* const kColor4Keys[4] = {".a", ".r", ".g", ".b"};
const int kColor4Shift[4] = {24, 16, 8, 0};
} // namespace

PropFieldColor4b::PropFieldColor4b(const char* n, intptr_t o, uint32_t d, uint32_t f)
    : PropFieldValue(n, o, PROP_COLOR4B, f, 4), def(d) {}

int PropFieldColor4b::ToText(const void* object, char* out, size_t outSize) const {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", Load<uint32_t>(object, offset));
    return Print(out, outSize, text);
}
bool PropFieldColor4b::FromText(void* object, const char* text) {
    Store(object, offset, (uint32_t)HexToInt(text ? text : ""));
    return true;
}
void PropFieldColor4b::SetDefault(void* object) {
    Store(object, offset, def);
}
bool PropFieldColor4b::WriteIni(const void* object, const char* section) const {
    uint32_t c = Load<uint32_t>(object, offset);
    char key[NAME_LEN_MAX + 4];
    for (int i = 0; i < 4; ++i) {
        KeyName(key, sizeof key, name, kColor4Keys[i]);
        IniProfileWriteFloat(section, key, (float)((c >> kColor4Shift[i]) & 0xFF) * 0.003921569f);
    }
    return true;
}
// Four channel keys: whole numbers 0..255 unless any of them holds a '.', then all four are
// fractions of 255. A missing key keeps the default's channel.
bool PropFieldColor4b::ReadIni(void* object) {
    char text[4][INI_VALUE_MAX + 1];
    bool present[4];
    bool any = false, fractions = false;
    char key[NAME_LEN_MAX + 4];
    for (int i = 0; i < 4; ++i) {
        KeyName(key, sizeof key, name, kColor4Keys[i]);
        present[i] = ReadKey(key, text[i], sizeof text[i]);
        any = any || present[i];
        fractions = fractions || (present[i] && std::strchr(text[i], '.'));
    }
    if (!any) {
        SetDefault(object);
        return false;
    }
    uint32_t c = 0;
    for (int i = 0; i < 4; ++i) {
        uint32_t channel = (def >> kColor4Shift[i]) & 0xFF;
        if (present[i])
            channel =
                fractions ? FractionToByte(TextToFloat(text[i])) : IntToByte(IniTextToInt(text[i]));
        c |= channel << kColor4Shift[i];
    }
    Store(object, offset, c);
    return true;
}

// ---- void ----

PropFieldVoid::PropFieldVoid(const char* n, intptr_t o, intptr_t d, uint32_t f)
    : PropFieldValue(n, o, PROP_VOID, f, (int)sizeof(intptr_t)), def(d) {}
void PropFieldVoid::SetPtr(void* object, const void* pointer) {
    Store(object, offset, (intptr_t)pointer);
}
void PropFieldVoid::GetPtr(const void* object, intptr_t* out) const {
    if (out) *out = Load<intptr_t>(object, offset);
}
int PropFieldVoid::ToText(const void* object, char* out, size_t outSize) const {
    char text[24];
    std::snprintf(text, sizeof text, "%" PRIXPTR, (uintptr_t)Load<intptr_t>(object, offset));
    return Print(out, outSize, text);
}
void PropFieldVoid::SetDefault(void* object) {
    Store(object, offset, def);
}

// ---- separator and command ----

PropFieldSeparator::PropFieldSeparator(const char* label)
    : PropField(label, 0, PROP_SEPARATOR, 0) {}
int PropFieldSeparator::ToText(const void*, char* out, size_t outSize) const {
    return Print(out, outSize, "");
}

PropFieldCommand::PropFieldCommand(const char* n, PropCommandFn h, uint32_t f)
    : PropField(n, 0, PROP_COMMAND, f), handler(h) {}
int PropFieldCommand::ToText(const void*, char* out, size_t outSize) const {
    return Print(out, outSize, "");
}
