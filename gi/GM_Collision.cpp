// Collision shape records and codes.
#include "gi/GM_Collision.h"

#include "gi/GM_Record.h"
#include "gi/giString.h"

#include <cstring>
#include <string>

uint32_t GM_CollisionCodeBit(const char* code) {
    static const struct {
        const char* code;
        uint32_t bit;
    } kCodes[] = {{"OS", 0x80},  {"WS", 0x100},  {"SP", 0x200},  {"SB", 0x400},
                  {"HP", 0x800}, {"WH", 0x1000}, {"WA", 0x2000}, {"WF", 0x4000}};
    if (!code) return 0;
    for (const auto& c : kCodes)
        if (std::strcmp(code, c.code) == 0) return c.bit;
    return 0;
}

bool GM_CollisionObject::Value(GM_Stream* s, const char* keyword, float v) {
    return s->Printf("%s%s %f\n", s->IndentString(), keyword, v) == 1;
}

uint32_t GM_CollisionObject::ComputeSize() {
    return m_payloadSize = NameLength() + node.ComputeSize() + 16 + ShapeSize();
}

int GM_CollisionObject::Write(GM_Stream* s) {
    if (!BeginWrite(s)) return 0;
    bool text = s->Mode() == GM_STREAM_TEXT;
    bool ok = text ? gm::Open(s) && gm::Str(s, "*NODE_NAME", Name()) && node.Write(s)
                   : m_name.Write(s) && node.Write(s);
    if (!ok) return gm::WriteError("Error Writing GM_CollisionObject Data");
    if (!WriteShape(s) || (text && !gm::Close(s)))
        return gm::WriteError(giStrFormat("Error Writing GM_%s Data", ShapeName()).c_str());
    return 1;
}

int GM_CollisionObject::Read(GM_Stream* s) {
    if (!s || s->Mode() != GM_STREAM_BINARY) return 0;
    if (!ReadHeader(s)) return gm::ReadError("Error Reading CollisionObject Data");
    GM_PayloadScope scope(s, m_version, m_payloadSize);
    if (!m_name.Read(s) || !node.Read(s))
        return gm::ReadError("Error Reading CollisionObject Data");
    if (!ReadShape(s))
        return gm::ReadError(giStrFormat("Error Reading %s Data", ShapeName()).c_str());
    return 1;
}

bool GM_CollisionBox::WriteShape(GM_Stream* s) {
    if (s->Mode() == GM_STREAM_TEXT)
        return Value(s, "LENGTH", length) && Value(s, "WIDTH", width) && Value(s, "HEIGHT", height);
    return gm::WF32(s, length) && gm::WF32(s, width) && gm::WF32(s, height);
}
bool GM_CollisionBox::ReadShape(GM_Stream* s) {
    return gm::F32(s, length) && gm::F32(s, width) && gm::F32(s, height);
}

bool GM_CollisionSphere::WriteShape(GM_Stream* s) {
    if (s->Mode() == GM_STREAM_TEXT) return Value(s, "RADIUS", radius);
    return gm::WF32(s, radius);
}
bool GM_CollisionSphere::ReadShape(GM_Stream* s) {
    return gm::F32(s, radius);
}

bool GM_CollisionCylinder::WriteShape(GM_Stream* s) {
    if (s->Mode() == GM_STREAM_TEXT)
        return Value(s, "RADIUS", radius) && Value(s, "HEIGHT", height);
    return gm::WF32(s, radius) && gm::WF32(s, height);
}
bool GM_CollisionCylinder::ReadShape(GM_Stream* s) {
    return gm::F32(s, radius) && gm::F32(s, height);
}

bool GM_CollisionPlane::WriteShape(GM_Stream* s) {
    if (s->Mode() == GM_STREAM_TEXT) return Value(s, "LENGTH", length) && Value(s, "WIDTH", width);
    return gm::WF32(s, length) && gm::WF32(s, width);
}
bool GM_CollisionPlane::ReadShape(GM_Stream* s) {
    return gm::F32(s, length) && gm::F32(s, width);
}
