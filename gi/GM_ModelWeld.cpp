// Welding of meshes into indexed vertex lists.
#include "gi/GM_Material.h"
#include "gi/GM_ModelFile.h"
#include "gi/giDebug.h"
#include "gi/giString.h"

#include <cmath>
#include <cstring>
#include <unordered_set>

namespace {

constexpr size_t kMaxVertices = 65535; // the indices are 16-bit

// The words of one corner: position, normal, (u, v) per texture layer, then the colour.
struct CornerLayout {
    size_t layers = 0;
    bool colors = false;
    size_t Words() const { return 6 + 2 * layers + (colors ? 1 : 0); }
};

uint32_t FloatWord(float f) {
    uint32_t w;
    f += 0.0f; // -0 becomes +0: the two compare equal
    std::memcpy(&w, &f, 4);
    return w;
}

// Corner words compare as the values they hold: floats by value, the colour as a word.
bool SameCorner(const uint32_t* a, const uint32_t* b, const CornerLayout& l) {
    size_t floats = 6 + 2 * l.layers;
    for (size_t i = 0; i < floats; ++i) {
        float fa, fb;
        std::memcpy(&fa, a + i, 4);
        std::memcpy(&fb, b + i, 4);
        if (fa != fb) return false;
    }
    return !l.colors || a[floats] == b[floats];
}

bool HasNaN(const uint32_t* w, const CornerLayout& l) {
    for (size_t i = 0; i < 6 + 2 * l.layers; ++i) {
        float f;
        std::memcpy(&f, w + i, 4);
        if (std::isnan(f)) return true;
    }
    return false;
}

bool Within(const GM_TexFace& f, size_t count) {
    return f.a < count && f.b < count && f.c < count;
}

// Every face's vertex, normal, texture and colour indices lie inside their arrays.
bool MeshIndicesValid(const GM_Mesh& mesh) {
    const size_t nf = mesh.faces.size(), nv = mesh.vertices.size();
    const bool tex = !mesh.texVerts.empty(), col = !mesh.colorVerts.empty();
    if (mesh.normals.size() != nf || (tex && mesh.texFaces.size() != nf) ||
        (col && mesh.colorFaces.size() != nf))
        return false;
    for (size_t f = 0; f < nf; ++f) {
        const GM_MeshFace& face = mesh.faces[f];
        if (face.a >= nv || face.b >= nv || face.c >= nv ||
            (tex && !Within(mesh.texFaces[f], mesh.texVerts.size())) ||
            (col && !Within(mesh.colorFaces[f], mesh.colorVerts.size())))
            return false;
    }
    for (const GM_MapChannel& ch : mesh.channels) {
        if ((uint64_t)ch.firstTexVert + ch.texVertCount > mesh.extraTexVerts.size() ||
            (uint64_t)ch.firstTexFace + ch.texFaceCount > mesh.extraTexFaces.size())
            return false;
        for (size_t f = 0; f < ch.texFaceCount; ++f)
            if (!Within(mesh.extraTexFaces[ch.firstTexFace + f], ch.texVertCount)) return false;
    }
    return true;
}

// The words of corner k (0, 1, 2: a, b, c) of face f, as CornerLayout lays them out.
void FillCorner(const GM_Mesh& mesh, const std::vector<uint32_t>& colors, size_t f, int k,
                uint32_t vertex, uint32_t* corner) {
    const bool tex = !mesh.texVerts.empty(), col = !mesh.colorVerts.empty();
    const giVec3& p = mesh.vertices[vertex];
    const giVec3& n = mesh.normals[f].corner[k];
    size_t w = 0;
    for (float v : {p.x, p.y, p.z, n.x, n.y, n.z})
        corner[w++] = FloatWord(v);
    auto uv = [&](const giVec3& t) {
        corner[w++] = FloatWord(t.x);
        corner[w++] = FloatWord(t.y);
    };
    auto pick = [k](const GM_TexFace& tf) { return k == 0 ? tf.a : k == 1 ? tf.b : tf.c; };
    if (tex) uv(mesh.texVerts[pick(mesh.texFaces[f])]);
    for (const GM_MapChannel& ch : mesh.channels) {
        if (f < ch.texFaceCount)
            uv(mesh.extraTexVerts[ch.firstTexVert + pick(mesh.extraTexFaces[ch.firstTexFace + f])]);
        else
            uv(giVec3()); // a channel with fewer faces than the mesh maps the rest to 0
    }
    if (col) corner[w++] = colors[pick(mesh.colorFaces[f])];
}

// The welded vertices' arrays from their corner words.
void UnpackVertices(const std::vector<uint32_t>& unique, const CornerLayout& layout,
                    GM_WeldedMesh& out) {
    const size_t words = layout.Words();
    const size_t count = unique.size() / words;
    out.vertexCount = (uint32_t)count;
    out.positions.resize(count);
    out.normals.resize(count);
    out.texCoords.assign(layout.layers, std::vector<giVec2>(count));
    if (layout.colors) out.colors.resize(count);
    for (size_t i = 0; i < count; ++i) {
        const uint32_t* w = &unique[i * words];
        float f[6];
        std::memcpy(f, w, sizeof f);
        out.positions[i] = {f[0], f[1], f[2]};
        out.normals[i] = {f[3], f[4], f[5]};
        for (size_t l = 0; l < layout.layers; ++l) {
            float uv[2];
            std::memcpy(uv, w + 6 + 2 * l, sizeof uv);
            out.texCoords[l][i] = {uv[0], uv[1]};
        }
        if (layout.colors) out.colors[i] = w[words - 1];
    }
}

} // namespace

bool GM_WeldMesh(const GM_Mesh& mesh, GM_WeldedMesh& out, bool linearSearch) {
    out = GM_WeldedMesh();
    if (!MeshIndicesValid(mesh)) return false;
    const size_t nf = mesh.faces.size();
    const bool tex = !mesh.texVerts.empty(), col = !mesh.colorVerts.empty();

    GM_Mesh packed;
    const std::vector<uint32_t>* colors = &mesh.colors;
    if (col && mesh.colors.size() != mesh.colorVerts.size()) {
        packed.colorVerts = mesh.colorVerts;
        packed.PackColors();
        colors = &packed.colors;
    }

    CornerLayout layout;
    layout.layers = (tex ? 1 : 0) + mesh.channels.size();
    layout.colors = col;
    const size_t words = layout.Words();
    // The words of every vertex emitted so far; a corner being looked up sits after them.
    std::vector<uint32_t> unique;
    auto hash = [&](uint32_t i) {
        uint64_t h = 1469598103934665603ull;
        for (size_t w = 0; w < words; ++w)
            h = (h ^ unique[i * words + w]) * 1099511628211ull;
        return (size_t)h;
    };
    auto equal = [&](uint32_t a, uint32_t b) {
        return std::memcmp(&unique[a * words], &unique[b * words], words * 4) == 0;
    };
    std::unordered_set<uint32_t, decltype(hash), decltype(equal)> index(16, hash, equal);

    out.indices.reserve(nf * 3);
    for (size_t f = 0; f < nf; ++f) {
        const GM_MeshFace& face = mesh.faces[f];
        const uint32_t vertex[3] = {face.a, face.b, face.c};
        for (int k : {0, 2, 1}) { // a, c, b: the winding is reversed
            const size_t count = unique.size() / words;
            unique.resize(unique.size() + words);
            uint32_t* corner = &unique[count * words];
            FillCorner(mesh, *colors, f, k, vertex[k], corner);

            // An equal vertex emitted before keeps its index. A NaN equals nothing, so its
            // corner is always a new vertex, as a plain comparison would have it.
            size_t found = count;
            if (linearSearch) {
                for (size_t i = 0; i < count && found == count; ++i)
                    if (SameCorner(&unique[i * words], corner, layout)) found = i;
            } else if (!HasNaN(corner, layout)) {
                auto hit = index.find((uint32_t)count);
                if (hit != index.end())
                    found = *hit;
                else
                    index.insert((uint32_t)count);
            }
            if (found != count) {
                unique.resize(count * words);
            } else {
                if (count == kMaxVertices) {
                    out = GM_WeldedMesh();
                    return false;
                }
                out.source.push_back(vertex[k]);
            }
            out.indices.push_back((uint16_t)found);
        }
    }
    UnpackVertices(unique, layout, out);
    return true;
}

void GM_ModelFile::BuildMeshes() {
    for (GM_GeoObject* g : m_geo) {
        if (g->mesh.TypeId() != GMID_MESH) continue;
        if (!GM_WeldMesh(g->mesh, g->welded)) {
            giOutputDebugString(giStrFormat("BuildMeshes: the mesh of %s cannot be welded "
                                            "(more than 65535 vertices or a bad index)\n",
                                            g->Name() ? g->Name() : "")
                                    .c_str());
            continue;
        }
        // A reference beyond the material list names no material.
        int ref = g->mesh.materialRef;
        if (ref >= 0 && Materials()) g->welded.material = Materials()->Material(ref);
    }
}
