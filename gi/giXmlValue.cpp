// Typed XML values through "C"-locale string streams.
#include "gi/giXmlValue.h"

#include <locale>
#include <sstream>

namespace {

template <class T>
std::string Format(const T& value) {
    std::ostringstream os;
    os.imbue(std::locale::classic());
    os << value;
    return os.str();
}

// One extraction; text the stream refuses gives the empty-text default, so that "abc" and
// "true" read as 0 and false instead of whatever a failed extraction leaves behind.
template <class T>
T Parse(const std::string& text) {
    if (text.empty()) return T();
    std::istringstream is(text);
    is.imbue(std::locale::classic());
    T value{};
    if (!(is >> value)) return T();
    return value;
}

float ParseAttribute(const TiXmlElement* e, const char* name, bool* missing) {
    const char* text = e ? e->Attribute(name) : nullptr;
    if (!text) {
        *missing = true;
        return 0;
    }
    return Parse<float>(text);
}

// Fills `out` with the named attributes; all zero when any is missing.
template <size_t N>
void ParseGroup(const TiXmlElement* e, const char* const (&names)[N], float* out) {
    bool missing = false;
    for (size_t i = 0; i < N; ++i)
        out[i] = ParseAttribute(e, names[i], &missing);
    if (missing)
        for (size_t i = 0; i < N; ++i)
            out[i] = 0;
}

TiXmlElement* AppendText(TiXmlNode* parent, const char* name, const std::string& text) {
    if (!parent || !name) return nullptr;
    TiXmlElement* e = parent->LinkEndChild(new TiXmlElement(name))->ToElement();
    e->LinkEndChild(new TiXmlText(text));
    return e;
}

TiXmlElement* AppendGroup(TiXmlNode* parent, const char* name, const float* values, int count) {
    if (!parent || !name) return nullptr;
    static const char* const kNames[] = {"X", "Y", "Z", "W"};
    TiXmlElement* e = parent->LinkEndChild(new TiXmlElement(name))->ToElement();
    for (int i = 0; i < count; ++i)
        giXmlSetAttribute(e, kNames[i], values[i]);
    return e;
}

} // namespace

std::string giXmlGetText(const TiXmlElement* e) {
    const TiXmlNode* first = e ? e->FirstChild() : nullptr;
    const TiXmlText* text = first ? first->ToText() : nullptr;
    return text ? text->ValueStr() : std::string();
}

float giXmlGetFloat(const TiXmlElement* e) {
    return Parse<float>(giXmlGetText(e));
}
bool giXmlGetBool(const TiXmlElement* e) {
    return Parse<bool>(giXmlGetText(e));
}
int32_t giXmlGetInt(const TiXmlElement* e) {
    return Parse<int32_t>(giXmlGetText(e));
}
uint32_t giXmlGetUnsigned(const TiXmlElement* e) {
    return Parse<uint32_t>(giXmlGetText(e));
}

giVec2 giXmlGetVector2(const TiXmlElement* e) {
    float v[2];
    ParseGroup(e, {"X", "Y"}, v);
    return {v[0], v[1]};
}
giVec3 giXmlGetVector3(const TiXmlElement* e) {
    float v[3];
    ParseGroup(e, {"X", "Y", "Z"}, v);
    return {v[0], v[1], v[2]};
}
giVec4 giXmlGetVector4(const TiXmlElement* e) {
    float v[4];
    ParseGroup(e, {"X", "Y", "Z", "W"}, v);
    return {v[0], v[1], v[2], v[3]};
}

TiXmlElement* giXmlSetChild(TiXmlNode* parent, const char* name, bool value) {
    return AppendText(parent, name, Format(value));
}
TiXmlElement* giXmlSetChild(TiXmlNode* parent, const char* name, float value) {
    return AppendText(parent, name, Format(value));
}
TiXmlElement* giXmlSetChild(TiXmlNode* parent, const char* name, double value) {
    return giXmlSetChild(parent, name, (float)value);
}
TiXmlElement* giXmlSetChild(TiXmlNode* parent, const char* name, int32_t value) {
    return AppendText(parent, name, Format(value));
}
TiXmlElement* giXmlSetChild(TiXmlNode* parent, const char* name, uint32_t value) {
    return AppendText(parent, name, Format(value));
}
TiXmlElement* giXmlSetChild(TiXmlNode* parent, const char* name, const std::string& value) {
    return AppendText(parent, name, value);
}
TiXmlElement* giXmlSetChild(TiXmlNode* parent, const char* name, const char* value) {
    return AppendText(parent, name, value ? value : "");
}

TiXmlElement* giXmlSetGroup(TiXmlNode* parent, const char* name, const giVec2& value) {
    const float v[] = {value.x, value.y};
    return AppendGroup(parent, name, v, 2);
}
TiXmlElement* giXmlSetGroup(TiXmlNode* parent, const char* name, const giVec3& value) {
    const float v[] = {value.x, value.y, value.z};
    return AppendGroup(parent, name, v, 3);
}
TiXmlElement* giXmlSetGroup(TiXmlNode* parent, const char* name, const giVec4& value) {
    const float v[] = {value.x, value.y, value.z, value.w};
    return AppendGroup(parent, name, v, 4);
}

void giXmlSetAttribute(TiXmlElement* e, const char* name, float value) {
    giXmlSetAttribute(e, name, Format(value));
}
void giXmlSetAttribute(TiXmlElement* e, const char* name, const std::string& value) {
    if (e && name) e->SetAttribute(name, value.c_str());
}
