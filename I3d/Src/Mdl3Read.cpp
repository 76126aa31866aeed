// Reading ".md3" files: every field read at its fixed offset into one run-time block, checked
// whole before the model is made, the tree linked from its pre-order, then the static buffers.
#include "I3d/Buffers.h"
#include "I3d/Mdl3File.h"
#include "I3d/Src/Kernel.h"
#include "I3d/Src/Mdl3Internal.h"
#include "engine/DebugLog.h"
#include "engine/Files.h"
#include "engine/Memory.h"

#include <cmath>
#include <new>
#include <vector>

using namespace md3;

namespace {

struct Header {
    uint32_t storage;
    uint32_t numMaterials, materials;
    uint32_t numNodes, nodes;
    uint32_t numVerts, verts;
    uint32_t numIndices, indices;
};

bool Finite(const float* f, int n) {
    for (int i = 0; i < n; ++i)
        if (!std::isfinite(f[i])) return false;
    return true;
}

bool Finite(const VECTOR3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

void GetFloats(const uint8_t* p, float* out, int n) {
    for (int i = 0; i < n; ++i)
        out[i] = GetF32(p + 4 * i);
}

void GetVec3(const uint8_t* p, VECTOR3* out) {
    out->x = GetF32(p), out->y = GetF32(p + 4), out->z = GetF32(p + 8);
}

// A name field ends at its first zero or at its 31st character.
void GetName(const uint8_t* p, char (&out)[32]) {
    std::memcpy(out, p, 32);
    out[31] = 0;
}

bool ArrayInside(uint32_t offset, uint32_t count, uint32_t size, size_t fileSize) {
    return uint64_t(offset) + uint64_t(count) * size <= fileSize;
}

// One block: the record, then the nodes, materials, vertices and indices.
struct Block {
    size_t nodes, materials, verts, indices, total;
};

Block Layout(const Header& h) {
    Block b;
    b.nodes = sizeof(MDL3);
    b.materials = b.nodes + h.numNodes * sizeof(MDL3NODE);
    b.verts = b.materials + h.numMaterials * sizeof(MDL3MTRL);
    b.indices = b.verts + h.numVerts * sizeof(MDL3VERTEX);
    b.total = b.indices + h.numIndices * sizeof(uint16_t);
    return b;
}

class Parser {
  public:
    Parser(const uint8_t* data, size_t size, const char* what)
        : m_data(data), m_size(size), m_what(what) {}

    MDL3* Run();

  private:
    bool Fail(const char* why) {
        DbgPrintf(DBG_RENDER, "Mdl3Read(%s): %s\n", m_what, why);
        return false;
    }
    bool ReadHeader();
    bool ReadNode(uint32_t i, MDL3NODE* n);
    void ReadMaterial(uint32_t i, MDL3MTRL* m);
    bool ReadVerts();
    bool ReadIndices();
    bool CheckRuns();
    bool Link();

    const uint8_t* m_data;
    size_t m_size;
    const char* m_what;
    Header m_h{};
    MDL3* m_model = nullptr;
};

bool Parser::ReadHeader() {
    if (m_size < kHeaderSize) return Fail("shorter than its header");
    const uint8_t* p = m_data;
    m_h.storage = GetU32(p + kHdrStorage);
    m_h.numMaterials = GetU32(p + kHdrNumMaterials);
    m_h.materials = GetU32(p + kHdrMaterials);
    m_h.numNodes = GetU32(p + kHdrNumNodes);
    m_h.nodes = GetU32(p + kHdrNodes);
    m_h.numVerts = GetU32(p + kHdrNumVerts);
    m_h.verts = GetU32(p + kHdrVerts);
    m_h.numIndices = GetU32(p + kHdrNumIndices);
    m_h.indices = GetU32(p + kHdrIndices);
    if (m_h.numNodes < 1) return Fail("no root node");
    if (!ArrayInside(m_h.nodes, m_h.numNodes, kNodeSize, m_size) ||
        !ArrayInside(m_h.materials, m_h.numMaterials, kMtrlSize, m_size) ||
        !ArrayInside(m_h.verts, m_h.numVerts, kVertexSize, m_size) ||
        !ArrayInside(m_h.indices, m_h.numIndices, kIndexSize, m_size))
        return Fail("an array reaches past the end of the file");
    if (m_h.numVerts > uint32_t(MDL3_MAX_VERTS))
        return Fail("more vertices than 16-bit indices reach");
    return true;
}

bool Parser::ReadNode(uint32_t i, MDL3NODE* n) {
    const uint8_t* p = m_data + m_h.nodes + size_t(i) * kNodeSize;
    GetName(p + kNodeName, n->name);
    uint32_t children = GetU32(p + kNodeNumChildren);
    if (children >= m_h.numNodes) return Fail("a node claims more children than there are nodes");
    n->numChildren = int32_t(children);
    n->minVertIdx = GetI32(p + kNodeMinVertIdx);
    n->maxVertIdx = GetI32(p + kNodeMaxVertIdx);
    // The override pointer is run-time and starts null: a stored override bit would read it.
    n->flags = GetU32(p + kNodeFlags) & ~MDL3_OVERRIDE;
    GetFloats(p + kNodeMatrix, n->Matrix.m, 16);
    GetVec3(p + kNodeBoundsMin, &n->boundsMin);
    GetVec3(p + kNodeBoundsMax, &n->boundsMax);
    GetVec3(p + kNodeSphereCentre, &n->sphereCentre);
    n->radius = GetF32(p + kNodeRadius);
    n->maxDist = GetF32(p + kNodeMaxDist);
    n->fadeRange = GetF32(p + kNodeFadeRange);
    n->minDist = GetF32(p + kNodeMinDist);
    const float distances[4] = {n->radius, n->maxDist, n->fadeRange, n->minDist};
    if (!Finite(n->Matrix.m, 16) || !Finite(n->boundsMin) || !Finite(n->boundsMax) ||
        !Finite(n->sphereCentre) || !Finite(distances, 4))
        return Fail("a node holds a float that is not finite");

    const uint32_t firstIdx = GetU32(p + kNodeFirstIdx);
    const int32_t numTris = GetI32(p + kNodeNumTris);
    if (numTris < 0) return Fail("a node has a negative triangle count");
    if (uint64_t(firstIdx) + 3 * uint64_t(numTris) > m_h.numIndices)
        return Fail("a node's triangles reach past the index array");
    n->firstIdx = int32_t(firstIdx);
    n->numTris = numTris;
    if (numTris > 0 && (n->minVertIdx < 0 || n->minVertIdx > n->maxVertIdx ||
                        uint32_t(n->maxVertIdx) >= m_h.numVerts))
        return Fail("a node's vertex range lies outside the vertex array");

    n->materialId = GetI32(p + kNodeMaterialId);
    if (n->materialId >= 0 && uint32_t(n->materialId) >= m_h.numMaterials)
        return Fail("a node names a material the file does not hold");
    return true;
}

void Parser::ReadMaterial(uint32_t i, MDL3MTRL* m) {
    const uint8_t* p = m_data + m_h.materials + size_t(i) * kMtrlSize;
    GetName(p + kMtrlName, m->name);
    GetFloats(p + kMtrlAmbient, m->ambient, 4);
    GetFloats(p + kMtrlDiffuse, m->diffuse, 4);
    GetFloats(p + kMtrlSpecular, m->specular, 4);
    GetFloats(p + kMtrlEmissive, m->emissive, 4);
    m->shininess = GetF32(p + kMtrlShininess);
    m->doubleSided = GetI32(p + kMtrlDoubleSided);
    m->reflective = GetI32(p + kMtrlReflective);
    // Map names are copied whole: the material code reads them up to 32 characters.
    std::memcpy(m->diffuseMap, p + kMtrlDiffuseMap, 32);
    std::memcpy(m->bumpMap, p + kMtrlBumpMap, 32);
    std::memcpy(m->detailMap, p + kMtrlDetailMap, 32);
    m->diffuseSlot = m->bumpSlot = m->detailSlot = -1;
    GetFloats(p + kMtrlBumpTile, m->bumpTile, 2);
    GetFloats(p + kMtrlDetailTile, m->detailTile, 2);
    for (float* t : {&m->bumpTile[0], &m->bumpTile[1], &m->detailTile[0], &m->detailTile[1]})
        if (*t == 0.0f) *t = 1.0f;
    m->texMatrix = nullptr;
}

bool Parser::ReadVerts() {
    const uint8_t* p = m_data + m_h.verts;
    for (uint32_t i = 0; i < m_h.numVerts; ++i, p += kVertexSize) {
        MDL3VERTEX& v = m_model->verts[i];
        GetFloats(p + kVtxPos, &v.pos.x, 3);
        GetFloats(p + kVtxNormal, &v.normal.x, 3);
        v.u = GetF32(p + kVtxUv);
        v.v = GetF32(p + kVtxUv + 4);
        v.spare[0] = GetU32(p + kVtxSpare);
        v.spare[1] = GetU32(p + kVtxSpare + 4);
        const float all[8] = {v.pos.x,    v.pos.y,    v.pos.z, v.normal.x,
                              v.normal.y, v.normal.z, v.u,     v.v};
        if (!Finite(all, 8)) return Fail("a vertex holds a float that is not finite");
    }
    return true;
}

bool Parser::ReadIndices() {
    const uint8_t* p = m_data + m_h.indices;
    for (uint32_t i = 0; i < m_h.numIndices; ++i, p += kIndexSize) {
        m_model->indices[i] = GetU16(p);
        if (m_model->indices[i] >= m_h.numVerts) return Fail("an index lies past the vertices");
    }
    return true;
}

// The range draw hands GL each node's vertex range: an index outside it would be read from
// outside the range GL was promised.
bool Parser::CheckRuns() {
    for (int32_t i = 0; i < m_model->numNodes; ++i) {
        const MDL3NODE& n = m_model->nodes[i];
        const uint16_t* idx = m_model->indices + n.firstIdx;
        for (int32_t k = 0; k < 3 * n.numTris; ++k)
            if (idx[k] < n.minVertIdx || idx[k] > n.maxVertIdx)
                return Fail("a node's index lies outside its vertex range");
    }
    return true;
}

// The pre-order array is walked with an explicit stack: a deep chain must not reach the
// machine stack's depth.
bool Parser::Link() {
    struct Open {
        MDL3NODE* node;
        int32_t remaining;
        MDL3NODE* last;
    };
    MDL3NODE* nodes = m_model->nodes;
    const int32_t count = m_model->numNodes;
    std::vector<Open> stack;
    stack.push_back({&nodes[0], nodes[0].numChildren, nullptr});
    int32_t used = 1;
    while (!stack.empty()) {
        Open& top = stack.back();
        if (top.remaining == 0) {
            stack.pop_back();
            continue;
        }
        if (used >= count) return Fail("the tree claims more nodes than the file holds");
        MDL3NODE* n = &nodes[used++];
        n->parent = top.node;
        n->prev = top.last;
        if (top.last)
            top.last->next = n;
        else
            top.node->child = n;
        top.last = n;
        --top.remaining;
        stack.push_back({n, n->numChildren, nullptr}); // `top` is not used past this point
    }
    if (used != count) return Fail("the tree leaves node records unused");
    return true;
}

MDL3* Parser::Run() {
    if (!ReadHeader()) return nullptr;
    const Block b = Layout(m_h);
    auto* block = static_cast<uint8_t*>(MemAlloc(b.total));
    if (!block) {
        Fail("no memory");
        return nullptr;
    }
    MemZero(block, b.total);
    m_model = new (block) MDL3{};
    m_model->storage = 1;
    m_model->numMaterials = int32_t(m_h.numMaterials);
    m_model->materials = reinterpret_cast<MDL3MTRL*>(block + b.materials);
    m_model->numNodes = int32_t(m_h.numNodes);
    m_model->nodes = reinterpret_cast<MDL3NODE*>(block + b.nodes);
    m_model->numVerts = int32_t(m_h.numVerts);
    m_model->verts = reinterpret_cast<MDL3VERTEX*>(block + b.verts);
    m_model->numIndices = int32_t(m_h.numIndices);
    m_model->indices = reinterpret_cast<uint16_t*>(block + b.indices);
    for (uint32_t i = 0; i < m_h.numNodes; ++i)
        new (&m_model->nodes[i]) MDL3NODE{};
    for (uint32_t i = 0; i < m_h.numMaterials; ++i)
        new (&m_model->materials[i]) MDL3MTRL{};
    for (uint32_t i = 0; i < m_h.numVerts; ++i)
        new (&m_model->verts[i]) MDL3VERTEX{};

    bool ok = true;
    for (uint32_t i = 0; ok && i < m_h.numNodes; ++i)
        ok = ReadNode(i, &m_model->nodes[i]);
    for (uint32_t i = 0; ok && i < m_h.numMaterials; ++i)
        ReadMaterial(i, &m_model->materials[i]);
    ok = ok && ReadVerts() && ReadIndices() && CheckRuns() && Link();
    if (!ok) {
        MemFree(block);
        return nullptr;
    }

    for (int32_t i = 0; i < m_model->numNodes; ++i) {
        MDL3NODE& n = m_model->nodes[i];
        n.material = n.materialId >= 0 ? &m_model->materials[n.materialId] : nullptr;
    }
    if (m_h.storage != kStoragePrepared) {
        for (int32_t i = 0; i < m_model->numNodes; ++i)
            m_model->nodes[i].flags |= MDL3_VISIBLE | MDL3_COLLISION;
        Mdl3PrepareNodes(m_model->nodes, m_model->numNodes, m_model->verts, m_model->indices);
    }
    Mdl3SetRootDistances(&m_model->nodes[0]);
    return m_model;
}

// Static buffers of format 35 (position, normal, one uv pair) and 16-bit indices. With no
// device there are none (the model is still picked); a device that refuses them fails the load.
bool MakeBuffers(MDL3* model, const char* what) {
    if (!D3dDevice()) {
        DbgPrintf(DBG_RENDER, "Mdl3Read(%s): no device: the model has no buffers\n", what);
        return true;
    }
    if (model->numVerts < 1 || model->numIndices < 1) return true;
    model->vb = I3dVbCreate(1, I3DVF_XYZ | I3DVF_NORMAL | I3DVF_TEX1, model->numVerts);
    model->ib = model->vb ? I3dIbCreate(1, model->numIndices) : nullptr;
    if (!model->ib || I3dVbLock(model->vb, model->numVerts) != 0) {
        DbgPrintf(DBG_RENDER, "Mdl3Read(%s): the device made no buffers\n", what);
        return false;
    }
    const I3dVertexBuffer& vb = *model->vb;
    uint8_t* out = I3dVbLockedPtr(model->vb);
    for (int32_t i = 0; i < model->numVerts; ++i, out += vb.stride) {
        const MDL3VERTEX& v = model->verts[i];
        std::memcpy(out + vb.offPos, &v.pos, sizeof v.pos);
        std::memcpy(out + vb.offNormal, &v.normal, sizeof v.normal);
        const float uv[2] = {v.u, v.v};
        std::memcpy(out + vb.offUv0, uv, sizeof uv);
    }
    I3dVbUnlock(model->vb);
    uint16_t* idx = I3dIbLock(model->ib, model->numIndices);
    if (!idx) {
        DbgPrintf(DBG_RENDER, "Mdl3Read(%s): the index buffer would not lock\n", what);
        return false;
    }
    std::memcpy(idx, model->indices, size_t(model->numIndices) * sizeof(uint16_t));
    I3dIbUnlock(model->ib);
    return true;
}

} // namespace

MDL3* Mdl3Parse(const uint8_t* data, size_t size, const char* what) {
    return Parser(data, size, what ? what : "").Run();
}

MDL3* Mdl3Read(const char* path, int managed) {
    if (!path) return nullptr;
    void* file = nullptr;
    int size = FileReadAll(&file, path, 0);
    if (size < 1) {
        MemFree(file);
        return nullptr;
    }
    MDL3* model = Mdl3Parse(static_cast<const uint8_t*>(file), size_t(size), path);
    MemFree(file);
    if (!model) return nullptr;
    if (!MakeBuffers(model, path)) {
        Mdl3Free(model); // not on the list yet: its buffers and its block
        return nullptr;
    }
    const std::string title = Mdl3TitleOf(path);
    std::memcpy(model->name, title.c_str(), title.size() + 1);
    model->refCount = 1;
    model->managed = managed ? 1 : 0;
    model->texHolders = 0;
    model->cleared[0] = model->cleared[1] = 0;
    Mdl3ListPush(model);
    return model;
}
