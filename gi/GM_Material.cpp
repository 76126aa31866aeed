// Material records.
#include "gi/GM_Material.h"

#include "gi/GM_Record.h"

GM_Material::GM_Material() : GM_Object(GMID_MATERIAL, 2) {}

uint32_t GM_Material::ComputeSize() {
    uint32_t n = NameLength() + className.Length() + 68;
    if (textures.Head()) n += textures.ComputeSize() + 12;
    if (subMaterials.Head()) n += subMaterials.ComputeSize() + 12;
    return m_payloadSize = n;
}

static const char* ShadingName(int32_t shading) {
    return shading >= (int32_t)GMID_SHADING_CONSTANT && shading <= (int32_t)GMID_SHADING_BLINN
               ? GM_Keyword((uint32_t)shading)
               : GM_Keyword(GMID_SHADING_OTHER);
}

static const char* XpTypeName(int32_t type) {
    switch (type) {
        case 1: return "Filter";
        case 2: return "Subtractive";
        case 3: return "Additive";
        default: return "Other";
    }
}

int GM_Material::Write(GM_Stream* s) {
    if (!BeginWrite(s)) return 0;
    uint32_t nTex = (uint32_t)textures.Count(), nSub = (uint32_t)subMaterials.Count();
    bool ok;
    if (s->Mode() == GM_STREAM_BINARY) {
        ok = gm::W32(s, refNo) && m_name.Write(s) && className.Write(s) && gm::W32(s, ambient) &&
             gm::W32(s, diffuse) && gm::W32(s, specular) && gm::WF32(s, shine) &&
             gm::WF32(s, shineStrength) && gm::WF32(s, transparency) && gm::WF32(s, wireSize) &&
             gm::WI32(s, shading) && gm::WF32(s, xpFalloff) && gm::WF32(s, selfIllum) &&
             gm::W32(s, flags) && gm::WI32(s, xpType) && gm::W32(s, nTex) &&
             (!nTex || textures.Write(s)) && gm::W32(s, nSub) && (!nSub || subMaterials.Write(s));
    } else {
        static const struct {
            uint32_t bit;
            const char* keyword;
        } kFlags[] = {{GM_MTL_TWOSIDED, "*MATERIAL_TWOSIDED"},
                      {GM_MTL_WIRE, "*MATERIAL_WIRE"},
                      {GM_MTL_WIREUNITS, "*MATERIAL_WIREUNITS"},
                      {GM_MTL_FACEMAP, "*MATERIAL_FACEMAP"},
                      {GM_MTL_SOFTEN, "*MATERIAL_SOFTEN"}};
        ok = gm::Open(s) && gm::Int(s, "*MATERIAL_REF_NO", (int)refNo) &&
             gm::Str(s, "*MATERIAL_NAME", Name()) &&
             gm::Str(s, "*MATERIAL_CLASS", className.c_str()) &&
             gm::Hex(s, "*MATERIAL_AMBIENT", ambient) && gm::Hex(s, "*MATERIAL_DIFFUSE", diffuse) &&
             gm::Hex(s, "*MATERIAL_SPECULAR", specular) && gm::Float(s, "*MATERIAL_SHINE", shine) &&
             gm::Float(s, "*MATERIAL_SHINESTRENGTH", shineStrength) &&
             gm::Float(s, "*MATERIAL_TRANSPARENCY", transparency) &&
             gm::Float(s, "*MATERIAL_WIRESIZE", wireSize) &&
             gm::Str(s, "*MATERIAL_SHADING", ShadingName(shading)) &&
             gm::Float(s, "*MATERIAL_XP_FALLOFF", xpFalloff) &&
             gm::Float(s, "*MATERIAL_SELFILLUM", selfIllum);
        for (const auto& f : kFlags)
            if (ok && (flags & f.bit)) ok = gm::Line(s, f.keyword);
        ok = ok && gm::Str(s, "*MATERIAL_FALLOFF", (flags & GM_MTL_FALLOFF_OUT) ? "Out" : "In") &&
             gm::Str(s, "*MATERIAL_XP_TYPE", XpTypeName(xpType)) && (!nTex || textures.Write(s)) &&
             gm::Close(s);
    }
    return ok ? 1 : gm::WriteError("Error Writing GM_Material Data");
}

int GM_Material::Read(GM_Stream* s, int depth) {
    if (!s || s->Mode() != GM_STREAM_BINARY) return 0;
    uint32_t id = 0;
    if (!gm::U32(s, id) || id != GMID_MATERIAL || !ReadHeader(s))
        return gm::ReadError("Error Reading GM_Material Data");
    GM_PayloadScope scope(s, m_version, m_payloadSize);
    uint32_t nTex = 0, nSub = 0, listId = 0;
    bool ok = gm::U32(s, refNo) && m_name.Read(s) && className.Read(s) && gm::U32(s, ambient) &&
              gm::U32(s, diffuse) && gm::U32(s, specular) && gm::F32(s, shine) &&
              gm::F32(s, shineStrength) && gm::F32(s, transparency) && gm::F32(s, wireSize) &&
              gm::I32(s, shading) && gm::F32(s, xpFalloff) && gm::F32(s, selfIllum) &&
              gm::U32(s, flags) && gm::I32(s, xpType) && gm::U32(s, nTex) &&
              (!nTex || textures.Read(s, depth + 1)) && gm::U32(s, nSub) &&
              // The nested list's id is checked, not just dropped: any other word means the
              // counts after it are misframed.
              (!nSub || (gm::U32(s, listId) && listId == GMID_MATERIAL_LIST &&
                         subMaterials.Read(s, depth + 1)));
    return ok ? 1 : gm::ReadError("Error Reading GM_Material Data");
}
