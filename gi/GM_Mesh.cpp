// Mesh records.
#include "gi/GM_Mesh.h"

#include "gi/GM_Record.h"

static_assert(sizeof(giVec3) == 12 && sizeof(GM_MeshFace) == 16 && sizeof(GM_TexFace) == 12 &&
                  sizeof(GM_FaceNormal) == 48 && sizeof(GM_MapChannel) == 28,
              "mesh arrays are read and written as they lie in memory");

GM_Mesh::GM_Mesh() : GM_Object(GMID_MESH, 4) {}

bool GM_Mesh::Consistent() const {
    size_t f = faces.size();
    if ((!texVerts.empty() && texFaces.size() != f) ||
        (!colorVerts.empty() && colorFaces.size() != f) || normals.size() != f)
        return false;
    for (const GM_MapChannel& ch : channels)
        if ((uint64_t)ch.firstTexVert + ch.texVertCount > extraTexVerts.size() ||
            (uint64_t)ch.firstTexFace + ch.texFaceCount > extraTexFaces.size())
            return false;
    return true;
}

uint32_t GM_Mesh::ComputeSize() {
    uint64_t f = faces.size();
    uint64_t n = 24 + vertices.size() * 12 + f * 16;
    if (!texVerts.empty()) n += texVerts.size() * 12 + f * 12;
    if (m_version > 2) {
        n += 4;
        if (!channels.empty())
            n += channels.size() * 28 + 8 + extraTexVerts.size() * 12 + extraTexFaces.size() * 12;
    }
    if (!colorVerts.empty()) n += colorVerts.size() * 12 + f * 12;
    n += f * 48;
    if (m_version > 3) n += 4;
    return m_payloadSize = (uint32_t)n;
}

void GM_Mesh::PackColors() {
    colors.resize(colorVerts.size());
    // Clamped to 0..1 first: a value past 1.0 would carry into the neighbouring channel's byte.
    auto byte = [](float c) -> uint32_t {
        if (!(c > 0.0f)) return 0;
        return c >= 1.0f ? 255u : (uint32_t)(c * 255.0f);
    };
    for (size_t i = 0; i < colorVerts.size(); ++i) {
        const giVec3& v = colorVerts[i];
        colors[i] = 0xFF000000u | byte(v.x) << 16 | byte(v.y) << 8 | byte(v.z);
    }
}

int GM_Mesh::Write(GM_Stream* s) {
    if (!s) return 0;
    if (!Consistent()) return gm::WriteError("Error Writing GM_Mesh Data");
    if (!BeginWrite(s)) return 0;
    bool ok = s->Mode() == GM_STREAM_BINARY ? WriteBinary(s) : WriteText(s);
    return ok ? 1 : gm::WriteError("Error Writing GM_Mesh Data");
}

bool GM_Mesh::WriteBinary(GM_Stream* s) const {
    bool ok = gm::W32(s, timeValue) && gm::W32(s, (uint32_t)vertices.size()) &&
              gm::W32(s, (uint32_t)faces.size()) && gm::W32(s, (uint32_t)texVerts.size()) &&
              gm::W32(s, (uint32_t)colorVerts.size()) && gm::WI32(s, materialRef) &&
              gm::WArray(s, vertices) && gm::WArray(s, faces);
    if (ok && !texVerts.empty()) ok = gm::WArray(s, texVerts) && gm::WArray(s, texFaces);
    if (ok && m_version > 2) {
        ok = gm::W32(s, (uint32_t)channels.size());
        if (ok && !channels.empty())
            ok = gm::WArray(s, channels) && gm::W32(s, (uint32_t)extraTexVerts.size()) &&
                 gm::W32(s, (uint32_t)extraTexFaces.size()) && gm::WArray(s, extraTexVerts) &&
                 gm::WArray(s, extraTexFaces);
    }
    if (ok && !colorVerts.empty()) ok = gm::WArray(s, colorVerts) && gm::WArray(s, colorFaces);
    ok = ok && gm::WArray(s, normals);
    if (ok && m_version > 3) ok = gm::W32(s, backfaceCull);
    return ok;
}

// ---- text form ----

static bool VecLine(GM_Stream* s, const char* keyword, size_t i, const giVec3& v) {
    return s->Printf("%s%s\t%d\t%f\t%f\t%f\n", s->IndentString(), keyword, (int)i, v.x, v.y, v.z);
}

static bool FaceLine(GM_Stream* s, const char* keyword, size_t i, const GM_TexFace& f) {
    return s->Printf("%s%s\t%d\t%d\t%d\t%d\n", s->IndentString(), keyword, (int)i, (int)f.a,
                     (int)f.b, (int)f.c);
}

// One texture layer: its vertices and faces under the four texture keywords.
static bool TextureLayer(GM_Stream* s, const giVec3* verts, size_t nVerts, const GM_TexFace* faces,
                         size_t nFaces) {
    bool ok = gm::Int(s, "*MESH_NUMTVERTEX", (int)nVerts) && gm::Block(s, "*MESH_TVERTLIST");
    for (size_t i = 0; ok && i < nVerts; ++i)
        ok = VecLine(s, "*MESH_TVERT", i, verts[i]);
    ok = ok && gm::Close(s) && gm::Int(s, "*MESH_NUMTVFACES", (int)nFaces) &&
         gm::Block(s, "*MESH_TFACELIST");
    for (size_t i = 0; ok && i < nFaces; ++i)
        ok = FaceLine(s, "*MESH_TFACE", i, faces[i]);
    return ok && gm::Close(s);
}

bool GM_Mesh::WriteText(GM_Stream* s) const {
    bool ok = gm::Open(s) && gm::Int(s, "*TIMEVALUE", (int)timeValue) &&
              gm::Int(s, "*MESH_NUMVERTEX", (int)vertices.size()) &&
              gm::Int(s, "*MESH_NUMFACES", (int)faces.size()) && gm::Block(s, "*MESH_VERTEX_LIST");
    for (size_t i = 0; ok && i < vertices.size(); ++i)
        ok = VecLine(s, "*MESH_VERTEX", i, vertices[i]);
    ok = ok && gm::Close(s) && gm::Block(s, "*MESH_FACE_LIST");
    for (size_t i = 0; ok && i < faces.size(); ++i) {
        const GM_MeshFace& f = faces[i];
        ok =
            s->Printf("%s%s\t%4d\tA: %4d\tB: %4d\tC: %4d\t%s %d\n", s->IndentString(), "*MESH_FACE",
                      (int)i, (int)f.a, (int)f.b, (int)f.c, "*MESH_MTLID", (int)f.mtlId);
    }
    ok = ok && gm::Close(s);
    // The texture and colour layers are written even when empty (a count of 0, empty lists),
    // so every mesh's text has the same lines; the binary form leaves empty layers out.
    if (ok)
        ok = TextureLayer(s, texVerts.data(), texVerts.size(), texFaces.data(), texFaces.size());
    for (const GM_MapChannel& ch : channels) {
        ok = ok && gm::Int(s, "*MESH_MAPPINGCHANNEL", (int)ch.channel) && gm::Open(s) &&
             TextureLayer(s, extraTexVerts.data() + ch.firstTexVert, ch.texVertCount,
                          extraTexFaces.data() + ch.firstTexFace, ch.texFaceCount) &&
             gm::Close(s);
    }
    if (ok) {
        ok = gm::Int(s, "*MESH_NUMCVERTEX", (int)colorVerts.size()) &&
             gm::Block(s, "*MESH_CVERTLIST");
        for (size_t i = 0; ok && i < colorVerts.size(); ++i)
            ok = VecLine(s, "*MESH_VERTCOL", i, colorVerts[i]);
        ok = ok && gm::Close(s) && gm::Int(s, "*MESH_NUMCVFACES", (int)colorFaces.size()) &&
             gm::Block(s, "*MESH_CFACELIST");
        for (size_t i = 0; ok && i < colorFaces.size(); ++i)
            ok = FaceLine(s, "*MESH_CFACE", i, colorFaces[i]);
        ok = ok && gm::Close(s);
    }
    ok = ok && gm::Block(s, "*MESH_NORMALS");
    for (size_t i = 0; ok && i < normals.size(); ++i) {
        const GM_FaceNormal& n = normals[i];
        const uint32_t corner[3] = {faces[i].a, faces[i].b, faces[i].c};
        ok = VecLine(s, "*MESH_FACENORMAL", i, n.face);
        for (int k = 0; ok && k < 3; ++k)
            ok = s->Printf("%s\t%s\t%d\t%f\t%f\t%f\n", s->IndentString(), "*MESH_VERTEXNORMAL",
                           (int)corner[k], n.corner[k].x, n.corner[k].y, n.corner[k].z);
    }
    return ok && gm::Close(s) && gm::Int(s, "*BACKFACE_CULL", (int)backfaceCull) &&
           gm::Int(s, "*MATERIAL_REF", materialRef) && gm::Close(s);
}

// ---- reading ----

static bool FacesWithin(const std::vector<GM_TexFace>& faces, size_t first, size_t n,
                        uint32_t count) {
    for (size_t i = first; i < first + n; ++i)
        if (faces[i].a >= count || faces[i].b >= count || faces[i].c >= count) return false;
    return true;
}

bool GM_Mesh::ReadPayload(GM_Stream* s) {
    int32_t nv = 0, nf = 0, nt = 0, nc = 0;
    if (!gm::U32(s, timeValue) || !gm::Count(s, nv, 12) || !gm::Count(s, nf, 16) ||
        !gm::Count(s, nt, 12) || !gm::Count(s, nc, 12) || !gm::I32(s, materialRef))
        return false;
    if (!gm::Array(s, vertices, nv) || !gm::Array(s, faces, nf)) return false;
    for (const GM_MeshFace& f : faces)
        if (f.a >= (uint32_t)nv || f.b >= (uint32_t)nv || f.c >= (uint32_t)nv) return false;
    texVerts.clear();
    texFaces.clear();
    if (nt && (!gm::Array(s, texVerts, nt) || !gm::Array(s, texFaces, nf) ||
               !FacesWithin(texFaces, 0, texFaces.size(), (uint32_t)nt)))
        return false;
    channels.clear();
    extraTexVerts.clear();
    extraTexFaces.clear();
    if (m_version > 2) {
        uint32_t nch = 0, nev = 0, nef = 0;
        if (!gm::Count(s, nch, 28)) return false;
        if (nch) {
            if (!gm::Array(s, channels, nch) || !gm::Count(s, nev, 12) || !gm::Count(s, nef, 12) ||
                !gm::Array(s, extraTexVerts, nev) || !gm::Array(s, extraTexFaces, nef))
                return false;
            for (GM_MapChannel& ch : channels) {
                ch.link = 0;
                if ((uint64_t)ch.firstTexVert + ch.texVertCount > nev ||
                    (uint64_t)ch.firstTexFace + ch.texFaceCount > nef ||
                    !FacesWithin(extraTexFaces, ch.firstTexFace, ch.texFaceCount, ch.texVertCount))
                    return false;
            }
        }
    }
    colorVerts.clear();
    colorFaces.clear();
    if (nc && (!gm::Array(s, colorVerts, nc) || !gm::Array(s, colorFaces, nf) ||
               !FacesWithin(colorFaces, 0, colorFaces.size(), (uint32_t)nc)))
        return false;
    PackColors();
    if (!gm::Array(s, normals, nf)) return false;
    backfaceCull = 1;
    return m_version <= 3 || gm::U32(s, backfaceCull);
}

int GM_Mesh::Read(GM_Stream* s) {
    if (!s || s->Mode() != GM_STREAM_BINARY) return 0;
    uint32_t id = 0;
    if (!gm::U32(s, id) || id != GMID_MESH || !ReadHeader(s))
        return gm::ReadError("Error Reading GM_Mesh Data");
    GM_PayloadScope scope(s, m_version, m_payloadSize);
    return ReadPayload(s) ? 1 : gm::ReadError("Error Reading GM_Mesh Data");
}
