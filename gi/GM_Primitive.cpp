// Primitive records.
#include "gi/GM_Primitive.h"

#include "gi/GM_Record.h"

static_assert(sizeof(GM_Primitive::Index) == 16, "index records are read as they lie in memory");

GM_Primitive::GM_Primitive() : GM_Object(GMID_PRIMITIVE, 4) {}

uint32_t GM_Primitive::ComputeSize() {
    uint64_t n = 4 + NameLength() + 4 + 12 + 16 + 12 + 12;
    if (m_version > 2) n += 4 + parent.Length();
    if (type == kTriangleMesh)
        n += 4 + vertices.size() * 12 + 4 + indices.size() * 16 + triangles.size() * 12;
    return m_payloadSize = (uint32_t)n;
}

int GM_Primitive::Write(GM_Stream* s) {
    if (!s) return 0;
    bool mesh = type == kTriangleMesh;
    if (mesh && triangles.size() != indices.size())
        return gm::WriteError(s->Mode() == GM_STREAM_TEXT ? "Error Writing GM_Primitive Text"
                                                          : "Error Writing GM_Primitive Data");
    if (!BeginWrite(s)) return 0;
    if (s->Mode() == GM_STREAM_BINARY) {
        bool ok = m_name.Write(s) && (m_version <= 2 || parent.Write(s)) && gm::WI32(s, type) &&
                  gm::WF32(s, length) && gm::WF32(s, width) && gm::WF32(s, height) &&
                  s->Write(rotation, 4, 4) && s->Write(offset, 4, 3) && gm::WF32(s, radius) &&
                  gm::WF32(s, normal) && gm::WF32(s, distance);
        if (ok && mesh)
            ok = gm::W32(s, (uint32_t)vertices.size()) && gm::WArray(s, vertices) &&
                 gm::W32(s, (uint32_t)indices.size()) && gm::WArray(s, indices) &&
                 gm::WArray(s, triangles);
        return ok ? 1 : gm::WriteError("Error Writing GM_Primitive Data");
    }
    bool ok = gm::Open(s) && gm::Str(s, "*NODE_NAME", Name()) &&
              gm::Str(s, "*NODE_PARENT", parent.c_str()) && gm::Int(s, "*PRIM_TYPE", type) &&
              gm::Float(s, "*PRIM_LENGTH", length) && gm::Float(s, "*PRIM_WIDTH", width) &&
              gm::Float(s, "*PRIM_HEIGHT", height) &&
              s->Printf("%s%s\t%f\t%f\t%f\t%f\n", s->IndentString(), "*PRIM_ROTATION", rotation[0],
                        rotation[1], rotation[2], rotation[3]) &&
              s->Printf("%s%s\t%f\t%f\t%f\n", s->IndentString(), "*PRIM_OFFSET", offset[0],
                        offset[1], offset[2]) &&
              gm::Float(s, "*PRIM_RADIUS", radius) && gm::Float(s, "*PRIM_NORMAL", normal) &&
              gm::Float(s, "*PRIM_DISTANCE", distance);
    if (ok && mesh) {
        ok = gm::Int(s, "*TRIMESH_VERT_COUNT", (int)vertices.size()) &&
             gm::Block(s, "*TRIMESH_VERTS");
        for (size_t i = 0; ok && i < vertices.size(); ++i)
            ok = s->Printf("%s%s\t%d\t%f\t%f\t%f\n", s->IndentString(), "*TRIMESH_VERT", (int)i,
                           vertices[i].x, vertices[i].y, vertices[i].z);
        ok = ok && gm::Close(s) && gm::Int(s, "*TRIMESH_INDEX_COUNT", (int)indices.size()) &&
             gm::Block(s, "*TRIMESH_INDICES");
        for (size_t i = 0; ok && i < indices.size(); ++i) {
            const uint32_t* v = indices[i].v;
            ok = s->Printf("%s%s\t%d\t%d\t%d\t%d\t%d\n", s->IndentString(), "*TRIMESH_INDEX",
                           (int)i, (int)v[0], (int)v[1], (int)v[2], (int)v[3]);
        }
        ok = ok && gm::Close(s);
    }
    ok = ok && gm::Close(s);
    return ok ? 1 : gm::WriteError("Error Writing GM_Primitive Text");
}

int GM_Primitive::Read(GM_Stream* s) {
    if (!s || s->Mode() != GM_STREAM_BINARY) return 0;
    if (!ReadHeader(s)) return gm::ReadError("Error Reading GM_Primitive Data");
    GM_PayloadScope scope(s, m_version, m_payloadSize);
    bool ok = m_name.Read(s) && (m_version <= 2 || parent.Read(s)) && gm::I32(s, type) &&
              gm::F32(s, length) && gm::F32(s, width) && gm::F32(s, height) &&
              s->ReadExact(rotation, 4, 4) && s->ReadExact(offset, 4, 3) && gm::F32(s, radius) &&
              gm::F32(s, normal) && gm::F32(s, distance);
    vertices.clear();
    indices.clear();
    triangles.clear();
    if (ok && type == kTriangleMesh) {
        int32_t nv = 0, ni = 0;
        ok = gm::Count(s, nv, 12) && gm::Array(s, vertices, nv) && gm::Count(s, ni, 16 + 12) &&
             gm::Array(s, indices, ni) && gm::Array(s, triangles, ni);
    }
    return ok ? 1 : gm::ReadError("Error Reading GM_Primitive Data");
}
