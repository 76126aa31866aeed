// The field types of property databases, for code that needs a type's defaults or edit range
// (the developer tools); everything else goes through PropField's operations.
#pragma once

#include "engine/PropDb.h"

#include <string>

// A field whose value is a fixed number of bytes, written and read as one ini key holding its
// text form (the types with other ini forms override ReadIni and WriteIni).
class PropFieldValue : public PropField {
  public:
    PropFieldValue(const char* name, intptr_t offset, uint32_t type, uint32_t flags, int bytes);
    int Size(const void*) const override { return bytes; }
    bool WriteIni(const void* object, const char* section) const override;
    bool ReadIni(void* object) override;
    int CopyOut(const void* object, void* dst) const override;
    int CopyIn(void* object, const void* src) override;

    int bytes;
};

class PropFieldInt : public PropFieldValue {
  public:
    PropFieldInt(const char* name, intptr_t offset, int def, uint32_t flags);
    void SetInt(void* object, int value) override;
    void GetInt(const void* object, int* out) const override;
    void SetRangeInt(int min, int max, int step) override;
    const char* TypeName() const override { return "int"; }
    int ToText(const void* object, char* out, size_t outSize) const override;
    bool FromText(void* object, const char* text) override;
    void SetDefault(void* object) override;

    int min = 0, max = 100, def, step = 1;
};

// "float" and, with another type and range, "angle".
class PropFieldFloat : public PropFieldValue {
  public:
    PropFieldFloat(const char* name, intptr_t offset, float def, uint32_t flags,
                   uint32_t type = PROP_FLOAT);
    void SetFloat(void* object, float value) override;
    void GetFloat(const void* object, float* out) const override;
    void SetRangeFloat(float min, float max, float step) override;
    const char* TypeName() const override { return type == PROP_ANGLE ? "angle" : "float"; }
    int ToText(const void* object, char* out, size_t outSize) const override;
    bool FromText(void* object, const char* text) override;
    void SetDefault(void* object) override;

    float min = 0.0f, max = 1.0f, step = 0.01f, def;
};

class PropFieldString : public PropField {
  public:
    PropFieldString(const char* name, intptr_t offset, const char* def, int maxLength,
                    uint32_t flags);
    void SetPtr(void* object, const void* pointer) override;
    const char* TypeName() const override { return "string"; }
    int Size(const void* object) const override;
    int ToText(const void* object, char* out, size_t outSize) const override;
    bool FromText(void* object, const char* text) override;
    void SetDefault(void* object) override;
    bool WriteIni(const void* object, const char* section) const override;
    bool ReadIni(void* object) override;
    int CopyOut(const void* object, void* dst) const override;
    int CopyIn(void* object, const void* src) override;

    std::string def;
    int maxLength; // the object holds maxLength + 1 bytes
};

class PropFieldBool : public PropFieldValue {
  public:
    PropFieldBool(const char* name, intptr_t offset, uint8_t def, uint32_t flags);
    void SetBool(void* object, uint8_t value) override;
    void GetBool(const void* object, uint8_t* out) const override;
    const char* TypeName() const override { return "bool"; }
    int ToText(const void* object, char* out, size_t outSize) const override;
    bool FromText(void* object, const char* text) override;
    void SetDefault(void* object) override;

    uint8_t def;
};

// "switch": a 32-bit 0 or 1, read with the bool rules and written "0" or "1".
class PropFieldSwitch : public PropFieldValue {
  public:
    PropFieldSwitch(const char* name, intptr_t offset, int32_t def, uint32_t flags);
    void SetBool(void* object, uint8_t value) override;
    void GetBool(const void* object, uint8_t* out) const override;
    void SetInt(void* object, int value) override;
    void GetInt(const void* object, int* out) const override;
    const char* TypeName() const override { return "switch"; }
    int ToText(const void* object, char* out, size_t outSize) const override;
    bool FromText(void* object, const char* text) override;
    void SetDefault(void* object) override;

    int32_t def;
};

// "VECTOR3" (keys ".x", ".y", ".z") and "COLOR3F" (keys ".r", ".g", ".b"): three floats.
class PropFieldFloat3 : public PropFieldValue {
  public:
    PropFieldFloat3(const char* name, intptr_t offset, float a, float b, float c, uint32_t flags,
                    uint32_t type);
    const char* TypeName() const override { return type == PROP_VECTOR3 ? "VECTOR3" : "COLOR3F"; }
    int ToText(const void* object, char* out, size_t outSize) const override;
    bool FromText(void* object, const char* text) override;
    void SetDefault(void* object) override;
    bool WriteIni(const void* object, const char* section) const override;
    bool ReadIni(void* object) override;
    // The three values at once (the setters by name).
    void Set3(void* object, float a, float b, float c) const;

    float def[3];
};

class PropFieldColor4b : public PropFieldValue {
  public:
    PropFieldColor4b(const char* name, intptr_t offset, uint32_t def, uint32_t flags);
    const char* TypeName() const override { return "COLOR4B"; }
    int ToText(const void* object, char* out, size_t outSize) const override;
    bool FromText(void* object, const char* text) override;
    void SetDefault(void* object) override;
    bool WriteIni(const void* object, const char* section) const override;
    bool ReadIni(void* object) override;

    uint32_t def;
};

class PropFieldVoid : public PropFieldValue {
  public:
    PropFieldVoid(const char* name, intptr_t offset, intptr_t def, uint32_t flags);
    void SetPtr(void* object, const void* pointer) override;
    void GetPtr(const void* object, intptr_t* out) const override;
    const char* TypeName() const override { return "void"; }
    int ToText(const void* object, char* out, size_t outSize) const override;
    void SetDefault(void* object) override;
    bool WriteIni(const void*, const char*) const override { return true; }
    bool ReadIni(void*) override { return false; }

    intptr_t def;
};

class PropFieldSeparator : public PropField {
  public:
    PropFieldSeparator(const char* label);
    const char* TypeName() const override { return "separator"; }
    int ToText(const void* object, char* out, size_t outSize) const override;
    bool WriteIni(const void*, const char*) const override { return true; }
    bool ReadIni(void*) override { return false; }
};

class PropFieldCommand : public PropField {
  public:
    PropFieldCommand(const char* name, PropCommandFn handler, uint32_t flags);
    const char* TypeName() const override { return "command"; }
    int ToText(const void* object, char* out, size_t outSize) const override;
    bool WriteIni(const void*, const char*) const override { return true; }
    bool ReadIni(void*) override { return true; }

    PropCommandFn handler;
};
