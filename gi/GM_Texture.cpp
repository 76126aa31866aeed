// Texture records.
#include "gi/GM_Texture.h"

#include "gi/GM_Record.h"

GM_Texture::GM_Texture() : GM_Object(GMID_TEXTURE, 4) {}

uint32_t GM_Texture::ComputeSize() {
    // 88 for this version; the colour-map word exists only past version 2, so older layouts
    // written with SetVersion count 84.
    uint32_t n = NameLength() + className.Length() + bitmap.Length() + 84;
    if (m_version > 2) n += 4;
    if (subTextures.Head()) n += subTextures.ComputeSize() + 12;
    return m_payloadSize = n;
}

static const char* SlotKeyword(int32_t slot) {
    static const char* const kSlots[] = {"*MAP_AMBIENT", "*MAP_DIFFUSE",       "*MAP_SPECULAR",
                                         "*MAP_SHINE",   "*MAP_SHINESTRENGTH", "*MAP_SELFILLUM",
                                         "*MAP_OPACITY", "*MAP_FILTERCOLOR",   "*MAP_BUMP",
                                         "*MAP_REFLECT", "*MAP_REFRACT",       "*MAP_DISPLACEMENT",
                                         "*MAP_NAME",    "*MAP_GENERIC"};
    return slot >= 0 && slot < 14 ? kSlots[slot] : "MAP_UNKNOWN";
}

static const char* MappingName(int32_t type) {
    static const char* const kTypes[] = {"Explicit", "Spherical", "Cylindrical", "Shrinkwrap",
                                         "Screen"};
    return type >= 0 && type < 5 ? kTypes[type] : "UNKNOWN";
}

int GM_Texture::Write(GM_Stream* s) {
    if (!BeginWrite(s)) return 0;
    uint32_t nSub = (uint32_t)subTextures.Count();
    bool ok;
    if (s->Mode() == GM_STREAM_BINARY) {
        ok = m_name.Write(s) && className.Write(s) && bitmap.Write(s) && gm::WF32(s, amount) &&
             gm::WI32(s, mapSlot) && gm::WI32(s, mappingType) && gm::WF32(s, uOffset) &&
             gm::WF32(s, vOffset) && gm::WF32(s, uTiling) && gm::WF32(s, vTiling) &&
             gm::WF32(s, angle) && gm::WF32(s, blur) && gm::WF32(s, blurOffset) &&
             gm::WF32(s, noiseAmount) && gm::WF32(s, noiseSize) && gm::WI32(s, noiseLevel) &&
             gm::WF32(s, noisePhase) && gm::W32(s, invert) &&
             (m_version <= 2 || gm::W32(s, colorMapEnable)) && gm::WI32(s, filter) &&
             gm::WI32(s, mapChannel) && gm::W32(s, nSub) && (!nSub || subTextures.Write(s));
    } else {
        ok = gm::Open(s) && gm::Str(s, "*MAP_NAME", Name()) &&
             gm::Str(s, "*MAP_CLASS", className.c_str()) && gm::Line(s, SlotKeyword(mapSlot)) &&
             gm::Str(s, "*BITMAP", bitmap.c_str()) && gm::Float(s, "*MAP_AMOUNT", amount) &&
             gm::Str(s, "*MAP_TYPE", MappingName(mappingType)) &&
             gm::Float(s, "*UVW_U_OFFSET", uOffset) && gm::Float(s, "*UVW_V_OFFSET", vOffset) &&
             gm::Float(s, "*UVW_U_TILING", uTiling) && gm::Float(s, "*UVW_V_TILING", vTiling) &&
             gm::Float(s, "*UVW_ANGLE", angle) && gm::Float(s, "*UVW_BLUR", blur) &&
             gm::Float(s, "*UVW_BLUR_OFFSET", blurOffset) &&
             gm::Float(s, "*UVW_NOUSE_AMT", noiseAmount) &&
             gm::Float(s, "*UVW_NOISE_SIZE", noiseSize) &&
             gm::Int(s, "*UVW_NOISE_LEVEL", noiseLevel) &&
             gm::Float(s, "*UVW_NOISE_PHASE", noisePhase) &&
             (!invert || gm::Line(s, "*BITMAP_INVERT")) &&
             (!colorMapEnable || gm::Line(s, "*BITMAP_COLORMAP_ENABLE")) &&
             gm::Str(s, "*BITMAP_FILTER",
                     filter == 0   ? "Pyramidal"
                     : filter == 1 ? "SAT"
                                   : "None") &&
             gm::Int(s, "*BITMAP_MAP_CHANNEL", mapChannel) && (!nSub || subTextures.Write(s)) &&
             gm::Close(s);
    }
    return ok ? 1 : gm::WriteError("Error Writing GM_Texture Data");
}

int GM_Texture::Read(GM_Stream* s, int depth) {
    if (!s || s->Mode() != GM_STREAM_BINARY) return 0;
    uint32_t id = 0;
    if (!gm::U32(s, id) || id != GMID_TEXTURE || !ReadHeader(s))
        return gm::ReadError("Error Reading GM_Texture Data");
    GM_PayloadScope scope(s, m_version, m_payloadSize);
    uint32_t nSub = 0;
    colorMapEnable = 0;
    bool ok = m_name.Read(s) && className.Read(s) && bitmap.Read(s) && gm::F32(s, amount) &&
              gm::I32(s, mapSlot) && gm::I32(s, mappingType) && gm::F32(s, uOffset) &&
              gm::F32(s, vOffset) && gm::F32(s, uTiling) && gm::F32(s, vTiling) &&
              gm::F32(s, angle) && gm::F32(s, blur) && gm::F32(s, blurOffset) &&
              gm::F32(s, noiseAmount) && gm::F32(s, noiseSize) && gm::I32(s, noiseLevel) &&
              gm::F32(s, noisePhase) && gm::U32(s, invert) &&
              (m_version <= 2 || gm::U32(s, colorMapEnable)) && gm::I32(s, filter) &&
              gm::I32(s, mapChannel) && gm::U32(s, nSub) &&
              (!nSub || subTextures.Read(s, depth + 1));
    return ok ? 1 : gm::ReadError("Error Reading GM_Texture Data");
}
