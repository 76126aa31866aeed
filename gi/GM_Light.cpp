// Light records.
#include "gi/GM_Light.h"

#include "gi/GM_Record.h"

GM_Light::GM_Light() : GM_Object(GMID_LIGHT, 2) {}

uint32_t GM_Light::ComputeSize() {
    uint32_t n = 4 + NameLength() + 12 + node.ComputeSize() + 4 + 44;
    if (targetFlag) n += 12 + target.ComputeSize();
    if (m_version >= 3) n += 4;
    return m_payloadSize = n;
}

static const char* TypeName(int32_t type) {
    switch (type) {
        case 0: return "Omni";
        case 1: return "Target";
        case 2: return "Directional";
        case 4: return "Free";
        default: return nullptr;
    }
}

static const char* ShadowName(int32_t shadows) {
    switch (shadows) {
        case 0: return "Off";
        case 1: return "Mapped";
        case 2: return "Raytraced";
        default: return nullptr;
    }
}

int GM_Light::Write(GM_Stream* s) {
    if (!BeginWrite(s)) return 0;
    bool ok;
    if (s->Mode() == GM_STREAM_BINARY) {
        ok = m_name.Write(s) && node.Write(s) && gm::W32(s, targetFlag) &&
             (!targetFlag || target.Write(s)) && gm::WI32(s, type) && gm::WI32(s, shadows) &&
             gm::WI32(s, useLight) && gm::W32(s, color) && gm::WF32(s, intensity) &&
             gm::WF32(s, aspect) && gm::WF32(s, hotspot) && gm::WF32(s, falloff) &&
             gm::WF32(s, attenStart) && gm::WF32(s, attenEnd) && gm::WF32(s, targetDistance) &&
             (m_version < 3 || gm::W32(s, useFarAtten ? 1 : 0));
    } else {
        const char* typeName = TypeName(type);
        const char* shadowName = ShadowName(shadows);
        const char* shape = spotShape == 0 ? "Rect" : spotShape == 1 ? "Circle" : nullptr;
        ok = gm::Open(s) && gm::Str(s, "*NODE_NAME", Name()) && node.Write(s) &&
             (!targetFlag || target.Write(s)) &&
             (!typeName || gm::Str(s, "*LIGHT_TYPE", typeName)) &&
             (!shadowName || gm::Str(s, "*LIGHT_SHADOWS", shadowName)) &&
             gm::Int(s, "*LIGHT_USELIGHT", useLight) &&
             (!shape || gm::Str(s, "*LIGHT_SPOTSHAPE", shape)) &&
             gm::Hex(s, "*LIGHT_COLOR", color) && gm::Float(s, "*LIGHT_INTENS", intensity) &&
             gm::Float(s, "*LIGHT_ASPECT", aspect) &&
             (type == 0 || (gm::Float(s, "*LIGHT_HOTSPOT", hotspot) &&
                            gm::Float(s, "*LIGHT_FALLOFF", falloff))) &&
             (type == 2 || (gm::Float(s, "*LIGHT_ATTNSTART", attenStart) &&
                            gm::Float(s, "*LIGHT_ATTNEND", attenEnd))) &&
             gm::Float(s, "*LIGHT_TDIST", targetDistance) &&
             s->Printf("%s%s%d\n", s->IndentString(),
                       "*USE FAR ATTENUATION = ", useFarAtten ? 1 : 0) &&
             gm::Close(s);
    }
    return ok ? 1 : gm::WriteError("Error Writing GM_Light Data");
}

int GM_Light::Read(GM_Stream* s) {
    if (!s || s->Mode() != GM_STREAM_BINARY) return 0;
    if (!ReadHeader(s)) return gm::ReadError("Error Reading GM_Light Data");
    // A nested transform that fails to read fails the light whole: the stream is then somewhere
    // inside its payload, and the settings after it would be read from the wrong bytes.
    GM_PayloadScope scope(s, m_version, m_payloadSize);
    bool ok = m_name.Read(s) && node.Read(s) && gm::U32(s, targetFlag) &&
              (!targetFlag || target.Read(s)) && gm::I32(s, type) && gm::I32(s, shadows) &&
              gm::I32(s, useLight) && gm::U32(s, color) && gm::F32(s, intensity) &&
              gm::F32(s, aspect) && gm::F32(s, hotspot) && gm::F32(s, falloff) &&
              gm::F32(s, attenStart) && gm::F32(s, attenEnd) && gm::F32(s, targetDistance);
    useFarAtten = false;
    uint32_t far = 0;
    if (ok && m_version >= 3) {
        ok = gm::U32(s, far);
        useFarAtten = far != 0;
    }
    return ok ? 1 : gm::ReadError("Error Reading GM_Light Data");
}
