// The model tool's primitives, the pre-order node array with its vertex and index runs, and the
// ".md3" writer.
#include "datagen/Models/MdlBuild.h"

#include "I3d/Math/Vec3Ops.h"
#include "I3d/Mdl3File.h"
#include "engine/MathConst.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

// ---- primitives (node frame, outward normals, clockwise front faces) ----

struct Mesh {
    std::vector<MDL3VERTEX> verts;
    std::vector<uint32_t> tris; // local indices
    void Vertex(const VECTOR3& p, const VECTOR3& n, float u, float v) {
        verts.push_back(MDL3VERTEX{p, n, u, v, {0, 0}});
    }
    void Tri(uint32_t a, uint32_t b, uint32_t c) { tris.insert(tris.end(), {a, b, c}); }
};

// Tiny residues of sin and cos at quarter turns become exact zeros.
float Clean(double v) {
    return std::fabs(v) < 1e-7 ? 0.0f : float(v);
}

// A rectangle facing n, `up` its upward axis, half extents hr across and hu up; the first
// corner is the top left (uv 0, 0).
void Face(Mesh* m, VECTOR3 c, VECTOR3 n, VECTOR3 up, float hr, float hu) {
    const VECTOR3 r = v3::Scale(v3::Cross(n, up), hr), u = v3::Scale(up, hu);
    const uint32_t b = uint32_t(m->verts.size());
    m->Vertex(v3::Add(v3::Sub(c, r), u), n, 0, 0);
    m->Vertex(v3::Add(v3::Add(c, r), u), n, 1, 0);
    m->Vertex(v3::Sub(v3::Add(c, r), u), n, 1, 1);
    m->Vertex(v3::Sub(v3::Sub(c, r), u), n, 0, 1);
    m->Tri(b, b + 1, b + 2);
    m->Tri(b, b + 2, b + 3);
}

void Box(Mesh* m, float sx, float sy, float sz) {
    const float x = sx / 2, y = sy / 2, z = sz / 2;
    const VECTOR3 up = {0, 1, 0}, back = {0, 0, 1};
    Face(m, {0, 0, -z}, {0, 0, -1}, up, x, y);
    Face(m, {0, 0, z}, {0, 0, 1}, up, x, y);
    Face(m, {-x, 0, 0}, {-1, 0, 0}, up, z, y);
    Face(m, {x, 0, 0}, {1, 0, 0}, up, z, y);
    Face(m, {0, y, 0}, {0, 1, 0}, back, x, z);
    Face(m, {0, -y, 0}, {0, -1, 0}, v3::Scale(back, -1), x, z);
}

void Cylinder(Mesh* m, int segments, float radius, float height) {
    const float h = height / 2;
    const uint32_t side = uint32_t(m->verts.size());
    for (int i = 0; i <= segments; ++i) {
        const double a = 2.0 * kPiD * i / segments;
        const VECTOR3 n = {Clean(std::cos(a)), 0, Clean(std::sin(a))};
        const float u = float(i) / float(segments);
        m->Vertex({radius * n.x, h, radius * n.z}, n, u, 0);
        m->Vertex({radius * n.x, -h, radius * n.z}, n, u, 1);
    }
    for (uint32_t i = 0; i < uint32_t(segments); ++i) {
        const uint32_t t0 = side + 2 * i, b0 = t0 + 1, t1 = t0 + 2, b1 = t0 + 3;
        m->Tri(t0, t1, b1);
        m->Tri(t0, b1, b0);
    }
    for (float y : {h, -h}) {
        const VECTOR3 n = {0, y > 0 ? 1.0f : -1.0f, 0};
        const uint32_t centre = uint32_t(m->verts.size());
        m->Vertex({0, y, 0}, n, 0.5f, 0.5f);
        for (int i = 0; i < segments; ++i) {
            const double a = 2.0 * kPiD * i / segments;
            const float cx = Clean(std::cos(a)), cz = Clean(std::sin(a));
            m->Vertex({radius * cx, y, radius * cz}, n, 0.5f + 0.5f * cx, 0.5f - 0.5f * cz);
        }
        for (uint32_t i = 0; i < uint32_t(segments); ++i) {
            const uint32_t a = centre + 1 + i, b = centre + 1 + (i + 1) % uint32_t(segments);
            if (y > 0)
                m->Tri(centre, b, a);
            else
                m->Tri(centre, a, b);
        }
    }
}

void Sphere(Mesh* m, int slices, float radius) {
    const int stacks = std::max(2, slices / 2);
    const uint32_t base = uint32_t(m->verts.size());
    const uint32_t row = uint32_t(slices) + 1;
    for (int i = 0; i <= stacks; ++i) {
        const double theta = kPiD * i / stacks;
        for (int j = 0; j <= slices; ++j) {
            const double phi = 2.0 * kPiD * j / slices;
            const VECTOR3 n = {Clean(std::sin(theta) * std::cos(phi)), Clean(std::cos(theta)),
                               Clean(std::sin(theta) * std::sin(phi))};
            m->Vertex(v3::Scale(n, radius), n, float(j) / float(slices), float(i) / float(stacks));
        }
    }
    for (uint32_t i = 0; i < uint32_t(stacks); ++i) {
        for (uint32_t j = 0; j < uint32_t(slices); ++j) {
            const uint32_t p0 = base + i * row + j, p1 = p0 + 1, p2 = p1 + row, p3 = p0 + row;
            if (i > 0) m->Tri(p0, p1, p2); // the poles' first triangles have two equal corners
            if (i + 1 < uint32_t(stacks)) m->Tri(p0, p2, p3);
        }
    }
}

bool Triangle(Mesh* m, const float* c) {
    const VECTOR3 p0 = {c[0], c[1], c[2]}, p1 = {c[3], c[4], c[5]}, p2 = {c[6], c[7], c[8]};
    const VECTOR3 n = v3::Cross(v3::Sub(p1, p0), v3::Sub(p2, p0));
    const float len = v3::Length(n);
    if (!(len > 0.0f) || !std::isfinite(len)) return false;
    const VECTOR3 unit = v3::Scale(n, 1.0f / len);
    const uint32_t b = uint32_t(m->verts.size());
    m->Vertex(p0, unit, 0, 0);
    m->Vertex(p1, unit, 1, 0);
    m->Vertex(p2, unit, 0, 1);
    m->Tri(b, b + 1, b + 2);
    return true;
}

bool BuildMesh(const MdlNodeDesc& node, Mesh* m) {
    for (const MdlPrim& p : node.prims) {
        switch (p.kind) {
            case MdlPrimKind::Box: Box(m, p.v[0], p.v[1], p.v[2]); break;
            case MdlPrimKind::Cylinder: Cylinder(m, int(p.v[0]), p.v[1], p.v[2]); break;
            case MdlPrimKind::Sphere: Sphere(m, int(p.v[0]), p.v[1]); break;
            case MdlPrimKind::Quad:
                Face(m, {0, 0, 0}, {0, 0, -1}, {0, 1, 0}, p.v[0] / 2, p.v[1] / 2);
                break;
            case MdlPrimKind::Tri:
                if (!Triangle(m, p.v)) return false;
                break;
        }
        if (m->verts.size() > size_t(MDL3_MAX_VERTS)) return true; // the caller reports it
    }
    return true;
}

// Declaration order of the children, depth first from the root.
std::vector<size_t> PreOrder(const MdlScene& scene, std::vector<int32_t>* parents,
                             std::vector<int32_t>* childCounts) {
    const auto& nodes = scene.nodes;
    std::map<std::string, size_t> index;
    for (size_t i = 0; i < nodes.size(); ++i)
        index[nodes[i].name] = i;
    std::vector<std::vector<size_t>> children(nodes.size());
    size_t root = 0;
    for (size_t i = 0; i < nodes.size(); ++i) {
        if (nodes[i].parent.empty())
            root = i;
        else
            children[index[nodes[i].parent]].push_back(i);
    }
    std::vector<size_t> order;
    std::vector<size_t> stack = {root};
    std::vector<int32_t> position(nodes.size(), -1);
    while (!stack.empty()) {
        const size_t i = stack.back();
        stack.pop_back();
        position[i] = int32_t(order.size());
        order.push_back(i);
        for (auto c = children[i].rbegin(); c != children[i].rend(); ++c)
            stack.push_back(*c);
    }
    parents->assign(order.size(), -1);
    childCounts->assign(order.size(), 0);
    for (size_t k = 0; k < order.size(); ++k) {
        const MdlNodeDesc& n = nodes[order[k]];
        (*childCounts)[k] = int32_t(children[order[k]].size());
        if (!n.parent.empty()) (*parents)[k] = position[index[n.parent]];
    }
    return order;
}

} // namespace

bool MdlBuildModel(const MdlScene& scene, MdlModel* out, std::string* error) {
    *out = MdlModel{};
    error->clear();
    out->title = scene.title;
    out->storage = scene.storage;
    out->materials = scene.materials;
    std::map<std::string, int32_t> materialIds;
    for (size_t i = 0; i < scene.materials.size(); ++i)
        materialIds[scene.materials[i].name] = int32_t(i);

    std::vector<int32_t> parents, childCounts;
    const std::vector<size_t> order = PreOrder(scene, &parents, &childCounts);
    for (size_t k = 0; k < order.size(); ++k) {
        const MdlNodeDesc& d = scene.nodes[order[k]];
        auto fail = [&](const std::string& why) {
            *error = "line " + std::to_string(d.line) + ": " + why;
            return false;
        };
        Mesh mesh;
        if (!BuildMesh(d, &mesh)) return fail("a degenerate triangle");
        if (out->verts.size() + mesh.verts.size() > size_t(MDL3_MAX_VERTS))
            return fail("the model needs more than 65536 vertices");
        MDL3NODE n{};
        d.name.copy(n.name, 31);
        n.numChildren = childCounts[k];
        n.flags = d.flags | MDL3_VISIBLE;
        n.Matrix = d.matrix;
        n.materialId = d.material.empty() ? -1 : materialIds[d.material];
        n.maxDist = d.maxDist, n.minDist = d.minDist, n.fadeRange = d.fadeRange;
        n.numTris = int32_t(mesh.tris.size() / 3);
        if (n.numTris > 0) {
            const uint32_t base = uint32_t(out->verts.size());
            n.firstIdx = int32_t(out->indices.size());
            n.minVertIdx = int32_t(base + *std::min_element(mesh.tris.begin(), mesh.tris.end()));
            n.maxVertIdx = int32_t(base + *std::max_element(mesh.tris.begin(), mesh.tris.end()));
            for (uint32_t i : mesh.tris)
                out->indices.push_back(uint16_t(base + i));
            out->verts.insert(out->verts.end(), mesh.verts.begin(), mesh.verts.end());
        }
        out->nodes.push_back(n);
    }
    // The loader's own preparation computes what a prepared file stores. It walks the parent
    // links, which point into this array only while it runs.
    for (size_t k = 0; k < out->nodes.size(); ++k)
        out->nodes[k].parent = parents[k] < 0 ? nullptr : &out->nodes[size_t(parents[k])];
    Mdl3PrepareNodes(out->nodes.data(), int32_t(out->nodes.size()), out->verts.data(),
                     out->indices.data());
    for (MDL3NODE& n : out->nodes)
        n.parent = nullptr;
    return true;
}

// ---- the file ----

namespace {

using namespace md3;

void PutName(uint8_t* p, const char* name, size_t max = 32) {
    std::memcpy(p, name, strnlen(name, max));
}

void PutFloats(uint8_t* p, const float* f, int n) {
    for (int i = 0; i < n; ++i)
        PutF32(p + 4 * i, f[i]);
}

void PutVec3(uint8_t* p, const VECTOR3& v) {
    PutF32(p, v.x), PutF32(p + 4, v.y), PutF32(p + 8, v.z);
}

void PutNode(uint8_t* p, const MDL3NODE& n) {
    PutName(p + kNodeName, n.name, 31);
    PutI32(p + kNodeNumChildren, n.numChildren);
    PutI32(p + kNodeMinVertIdx, n.minVertIdx);
    PutI32(p + kNodeMaxVertIdx, n.maxVertIdx);
    PutI32(p + kNodeFirstIdx, n.firstIdx);
    PutU32(p + kNodeFlags, n.flags & ~MDL3_OVERRIDE);
    PutFloats(p + kNodeMatrix, n.Matrix.m, 16);
    PutI32(p + kNodeNumTris, n.numTris);
    PutVec3(p + kNodeBoundsMin, n.boundsMin);
    PutVec3(p + kNodeBoundsMax, n.boundsMax);
    PutI32(p + kNodeMaterialId, n.materialId);
    PutVec3(p + kNodeSphereCentre, n.sphereCentre);
    PutF32(p + kNodeRadius, n.radius);
    PutF32(p + kNodeMaxDist, n.maxDist);
    PutF32(p + kNodeFadeRange, n.fadeRange);
    PutF32(p + kNodeMinDist, n.minDist);
}

void PutMaterial(uint8_t* p, const MDL3MTRL& m) {
    PutName(p + kMtrlName, m.name, 31);
    PutFloats(p + kMtrlAmbient, m.ambient, 4);
    PutFloats(p + kMtrlDiffuse, m.diffuse, 4);
    PutFloats(p + kMtrlSpecular, m.specular, 4);
    PutFloats(p + kMtrlEmissive, m.emissive, 4);
    PutF32(p + kMtrlShininess, m.shininess);
    PutI32(p + kMtrlDoubleSided, m.doubleSided);
    PutName(p + kMtrlDiffuseMap, m.diffuseMap);
    PutI32(p + kMtrlDiffuseSlot, -1);
    PutName(p + kMtrlBumpMap, m.bumpMap);
    PutI32(p + kMtrlBumpSlot, -1);
    PutName(p + kMtrlDetailMap, m.detailMap);
    PutI32(p + kMtrlDetailSlot, -1);
    PutFloats(p + kMtrlBumpTile, m.bumpTile, 2);
    PutI32(p + kMtrlReflective, m.reflective);
    PutFloats(p + kMtrlDetailTile, m.detailTile, 2);
}

} // namespace

std::vector<uint8_t> MdlModelBytes(const MdlModel& model) {
    const uint32_t nodes = kHeaderSize;
    const uint32_t materials = nodes + uint32_t(model.nodes.size()) * kNodeSize;
    const uint32_t verts = materials + uint32_t(model.materials.size()) * kMtrlSize;
    const uint32_t indices = verts + uint32_t(model.verts.size()) * kVertexSize;
    std::vector<uint8_t> out(indices + model.indices.size() * kIndexSize, 0);
    uint8_t* p = out.data();
    PutName(p + kHdrName, model.title.c_str(), 31);
    PutU32(p + kHdrStorage, model.storage);
    PutU32(p + kHdrNumMaterials, uint32_t(model.materials.size()));
    PutU32(p + kHdrMaterials, materials);
    PutU32(p + kHdrNumNodes, uint32_t(model.nodes.size()));
    PutU32(p + kHdrNodes, nodes);
    PutU32(p + kHdrNumVerts, uint32_t(model.verts.size()));
    PutU32(p + kHdrVerts, verts);
    PutU32(p + kHdrNumIndices, uint32_t(model.indices.size()));
    PutU32(p + kHdrIndices, indices);
    for (size_t i = 0; i < model.nodes.size(); ++i)
        PutNode(p + nodes + i * kNodeSize, model.nodes[i]);
    for (size_t i = 0; i < model.materials.size(); ++i)
        PutMaterial(p + materials + i * kMtrlSize, model.materials[i]);
    for (size_t i = 0; i < model.verts.size(); ++i) {
        uint8_t* v = p + verts + i * kVertexSize;
        PutVec3(v + kVtxPos, model.verts[i].pos);
        PutVec3(v + kVtxNormal, model.verts[i].normal);
        PutF32(v + kVtxUv, model.verts[i].u);
        PutF32(v + kVtxUv + 4, model.verts[i].v);
    }
    for (size_t i = 0; i < model.indices.size(); ++i)
        PutU16(p + indices + i * kIndexSize, model.indices[i]);
    return out;
}
