// Animation records.
#include "gi/GM_Animation.h"

#include "gi/GM_Record.h"
#include "gi/GM_Stream.h"

static_assert(sizeof(GM_BoneKey) == 32, "keys are read as they lie in memory");

std::string GM_AnimationNameFromFile(const std::string& fileName) {
    std::string name = fileName;
    size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    size_t sep = name.rfind('\\');
    if (sep == std::string::npos) sep = name.rfind('/');
    if (sep != std::string::npos) name.erase(0, sep + 1);
    return name;
}

GM_Animation::GM_Animation() : GM_Object(GMID_ANIMATION, 2) {}

uint32_t GM_Animation::ComputeSize() {
    uint64_t n = 4 + NameLength() + 4 + gm::TextSize(animName) + 16 + 4;
    for (const auto& [index, b] : boneAnims)
        n += gm::TextSize(b.name) + gm::TextSize(b.parent) + 4 + b.keys.size() * 32;
    return m_payloadSize = (uint32_t)n;
}

static bool WriteText(GM_Stream* s, const GM_Animation& a) {
    bool ok = gm::Open(s) && gm::Str(s, "*NODE_NAME", a.Name()) &&
              gm::Int(s, "Animation Version:", 0) &&
              gm::Str(s, "Animation Name", a.animName.c_str()) &&
              gm::Int(s, "*ANIM_BONECNT", a.boneCount) &&
              gm::Int(s, "*ANIM_ANIMLENGTH", a.animLength) && gm::Int(s, "*ANIM_ANIMFPS", a.fps) &&
              gm::Int(s, "*ANIM_KEYCNT", a.keyCount) && gm::Block(s, "*ANIM_BONEANIMDATA") &&
              gm::Int(s, "m_BoneAnims.size()", (int)a.boneAnims.size());
    for (const auto& [index, b] : a.boneAnims) {
        ok = ok && gm::Str(s, "*ANIM_BONEANIMDATA_BONENAME", b.name.c_str()) &&
             gm::Str(s, "*ANIM_BONEANIMDATA_PARENTBONE", b.parent.c_str()) &&
             gm::Block(s, "*ANIM_BONEANIMDATA_BONEKEYS");
        for (const GM_BoneKey& k : b.keys)
            ok = ok && gm::Int(s, "*ANIM_BONEANIMDATA_BONEKEYS_TIME", k.time) &&
                 s->Printf("%s%s\t\t%f\t%f\t%f\n", s->IndentString(),
                           "*ANIM_BONEANIMDATA_BONEKEYS_POS", k.pos[0], k.pos[1], k.pos[2]) &&
                 s->Printf("%s%s\t%f\t%f\t%f\t%f\n", s->IndentString(),
                           "*ANIM_BONEANIMDATA_BONEKEYS_QUAT", k.quat[0], k.quat[1], k.quat[2],
                           k.quat[3]);
        ok = ok && gm::Close(s);
    }
    return ok && gm::Close(s) && gm::Close(s);
}

int GM_Animation::Write(GM_Stream* s) {
    if (!s) return 0;
    if (s->Mode() == GM_STREAM_BINARY && animName.empty())
        animName = GM_AnimationNameFromFile(s->FileName());
    if (!BeginWrite(s)) return 0;
    bool ok;
    if (s->Mode() == GM_STREAM_BINARY) {
        ok = m_name.Write(s) && gm::W32(s, 0) && gm::WText(s, animName) && gm::WI32(s, boneCount) &&
             gm::WI32(s, animLength) && gm::WI32(s, fps) && gm::WI32(s, keyCount) &&
             gm::W32(s, (uint32_t)boneAnims.size());
        for (const auto& [index, b] : boneAnims)
            ok = ok && gm::WText(s, b.name) && gm::WText(s, b.parent) &&
                 gm::W32(s, (uint32_t)b.keys.size()) && gm::WArray(s, b.keys);
    } else {
        ok = WriteText(s, *this);
    }
    return ok ? 1 : gm::WriteError("Error Writing GM_Animation Data");
}

int GM_Animation::Read(GM_Stream* s) {
    if (!s || s->Mode() != GM_STREAM_BINARY) return 0;
    if (!ReadHeader(s)) return gm::ReadError("Error Reading GM_Animation Data");
    GM_PayloadScope scope(s, m_version, m_payloadSize);
    uint32_t version = 0, records = 0;
    if (!m_name.Read(s) || !gm::U32(s, version) || !gm::Text(s, animName, false) ||
        !gm::I32(s, boneCount) || !gm::I32(s, animLength) || !gm::I32(s, fps) ||
        !gm::I32(s, keyCount) || !gm::Count(s, records, 4 + 4 + 4))
        return gm::ReadError("Error Reading GM_Animation Data");
    for (uint32_t i = 0; i < records; ++i) {
        GM_BoneAnimData b;
        uint32_t nKeys = 0;
        if (!gm::Text(s, b.name, true) || !gm::Text(s, b.parent, true) ||
            !gm::Count(s, nKeys, 32) || !gm::Array(s, b.keys, nKeys))
            return gm::ReadError("Error Reading GM_Animation Data");
        boneAnims[i] = std::move(b);
    }
    return 1;
}
