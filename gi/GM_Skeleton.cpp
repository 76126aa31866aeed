// Skeleton records.
#include "gi/GM_Skeleton.h"

#include "gi/GM_Record.h"

static_assert(sizeof(GM_BoneWeight) == 8, "weights are read as they lie in memory");

GM_Skeleton::GM_Skeleton() : GM_Object(GMID_SKELETON, 2) {}

uint32_t GM_Skeleton::ComputeSize() {
    uint64_t n = 4 + NameLength() + 12;
    for (const auto& [index, b] : bones)
        n += gm::TextSize(b.name) + gm::TextSize(b.parent) + 4 + 64 + 4 + b.weights.size() * 8;
    return m_payloadSize = (uint32_t)n;
}

static bool WriteText(GM_Stream* s, const GM_Skeleton& k) {
    bool ok = gm::Open(s) && gm::Str(s, "*NODE_NAME", k.Name()) &&
              gm::Int(s, "Skeleton Version:", 0) && gm::Int(s, "*SKEL_BONECNT", (int)k.boneCount) &&
              gm::Block(s, "*SKEL_BONEDATA") && gm::Int(s, "m_Bones.size()", (int)k.bones.size());
    for (const auto& [index, b] : k.bones) {
        ok = ok && gm::Str(s, "*ANIM_BONEANIMDATA_BONENAME", b.name.c_str()) &&
             gm::Str(s, "*ANIM_BONEANIMDATA_PARENTBONE", b.parent.c_str()) &&
             gm::Int(s, "*SKEL_BONEDATA_VERTEXCNT", (int)b.vertexCount) &&
             gm::Block(s, "*SKEL_BONEDATA_ORIENT_TM");
        // Row N prints column N of the stored matrix.
        for (int r = 0; ok && r < 4; ++r)
            ok = s->Printf("%s%s%d\t%f\t%f\t%f\t%f\n", s->IndentString(), "Row", r, b.orient[r],
                           b.orient[r + 4], b.orient[r + 8], b.orient[r + 12]);
        ok = ok && gm::Close(s) && gm::Block(s, "*SKEL_BONEDATA_WEIGHTS");
        for (const GM_BoneWeight& w : b.weights)
            ok = ok && gm::Int(s, "*SKEL_BONEDATA_WEIGHTS_VERTEXIDX", (int)w.vertex) &&
                 s->Printf("%s%s\t\t%f\n", s->IndentString(), "*SKEL_BONEDATA_WEIGHTS_WEIGHT",
                           w.weight);
        ok = ok && gm::Close(s);
    }
    return ok && gm::Close(s) && gm::Close(s);
}

int GM_Skeleton::Write(GM_Stream* s) {
    if (!BeginWrite(s)) return 0;
    bool ok;
    if (s->Mode() == GM_STREAM_BINARY) {
        ok = m_name.Write(s) && gm::W32(s, 0) && gm::W32(s, boneCount) &&
             gm::W32(s, (uint32_t)bones.size());
        for (const auto& [index, b] : bones)
            ok = ok && gm::WText(s, b.name) && gm::WText(s, b.parent) &&
                 gm::W32(s, b.vertexCount) && s->Write(b.orient, 4, 16) &&
                 gm::W32(s, (uint32_t)b.weights.size()) && gm::WArray(s, b.weights);
    } else {
        ok = WriteText(s, *this);
    }
    return ok ? 1 : gm::WriteError("Error Writing GM_Skeleton Data");
}

int GM_Skeleton::Read(GM_Stream* s) {
    if (!s || s->Mode() != GM_STREAM_BINARY) return 0;
    if (!ReadHeader(s)) return gm::ReadError("Error Reading GM_Skeleton Data");
    GM_PayloadScope scope(s, m_version, m_payloadSize);
    uint32_t version = 0, records = 0;
    if (!m_name.Read(s) || !gm::U32(s, version) || !gm::U32(s, boneCount) ||
        !gm::Count(s, records, 4 + 4 + 4 + 64 + 4))
        return gm::ReadError("Error Reading GM_Skeleton Data");
    for (uint32_t i = 0; i < records; ++i) {
        GM_SkelBoneData b;
        uint32_t nWeights = 0;
        if (!gm::Text(s, b.name, true) || !gm::Text(s, b.parent, true) ||
            !gm::U32(s, b.vertexCount) || s->ReadExact(b.orient, 4, 16) != 1 ||
            !gm::Count(s, nWeights, 8) || !gm::Array(s, b.weights, nWeights))
            return gm::ReadError("Error Reading GM_Skeleton Data");
        bones[i] = std::move(b);
    }
    return 1;
}
