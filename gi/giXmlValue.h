// Typed values in the library's XML documents: a scalar is the text of a child element, a group
// of two to four floats is an element with the attributes "X", "Y", "Z" and "W". Text is made and
// read by the standard streams in the "C" locale, whatever the process locale is.
#pragma once

#include "gi/giMath.h"

#include <tinyxml.h>

#include <cstdint>
#include <string>

// The 4-float group.
struct giVec4 {
    float x = 0, y = 0, z = 0, w = 0;
};

// ---- reading ----
// The text of the element's first child when that child is text; "" otherwise (also for null).
std::string giXmlGetText(const TiXmlElement* e);
// Empty text gives 0 (false); so does text the stream cannot parse ("abc", "true").
float giXmlGetFloat(const TiXmlElement* e);
bool giXmlGetBool(const TiXmlElement* e);
int32_t giXmlGetInt(const TiXmlElement* e);
uint32_t giXmlGetUnsigned(const TiXmlElement* e);
// Every component 0 when any attribute the group needs is missing.
giVec2 giXmlGetVector2(const TiXmlElement* e);
giVec3 giXmlGetVector3(const TiXmlElement* e);
giVec4 giXmlGetVector4(const TiXmlElement* e);

// ---- writing ----
// Appends a child element `name` holding the value as its one text child; the new element, or
// null when the parent or the name is null. Booleans are written "1" and "0", floats with six
// significant digits.
TiXmlElement* giXmlSetChild(TiXmlNode* parent, const char* name, bool value);
TiXmlElement* giXmlSetChild(TiXmlNode* parent, const char* name, float value);
// Written as the float it rounds to (a bare 0.5 would otherwise match no form better than another).
TiXmlElement* giXmlSetChild(TiXmlNode* parent, const char* name, double value);
TiXmlElement* giXmlSetChild(TiXmlNode* parent, const char* name, int32_t value);
TiXmlElement* giXmlSetChild(TiXmlNode* parent, const char* name, uint32_t value);
TiXmlElement* giXmlSetChild(TiXmlNode* parent, const char* name, const std::string& value);
TiXmlElement* giXmlSetChild(TiXmlNode* parent, const char* name, const char* value);
// Appends an empty element `name` with one attribute per component.
TiXmlElement* giXmlSetGroup(TiXmlNode* parent, const char* name, const giVec2& value);
TiXmlElement* giXmlSetGroup(TiXmlNode* parent, const char* name, const giVec3& value);
TiXmlElement* giXmlSetGroup(TiXmlNode* parent, const char* name, const giVec4& value);
// Nothing when the element or the name is null.
void giXmlSetAttribute(TiXmlElement* e, const char* name, float value);
void giXmlSetAttribute(TiXmlElement* e, const char* name, const std::string& value);
