// The grass patch: its table, Compile, and the blocks it hangs into the tree.
#include "world/GrassPatch.h"

#include "I3d/MeshBuf.h"
#include "I3d/Textures.h"
#include "engine/DebugLog.h"
#include "engine/PropDb.h"
#include "engine/System.h"
#include "world/GrassMesh.h"
#include "world/Terrain2.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {
DataDir s_folder;
EntRef s_cullRoot;
bool s_cullLooked = false;

void CompileCommand(void* object) {
    static_cast<GrassPatch*>(object)->Compile();
}

PropDb* Db() {
    static PropDb s_db;
    if (s_db.first) return &s_db;
    PropDb* db = &s_db;
    using P = GrassPatch;
    PropDbSetName(db, "GrassPatch");
    PropDbAddSeparator(db, "General:");
    PropDbAddStringBlank(db, "name", PROP_OFFSET(P, name), 32);
    PropDbAddStringBlank(db, "textureFile", PROP_OFFSET(P, textureFile), 260);
    PropDbAddStringBlank(db, "posFile", PROP_OFFSET(P, posFile), 260);
    PropDbAddFloat(db, "scale", PROP_OFFSET(P, scale), 1.0f);
    PropDbAddInt(db, "blockSize", PROP_OFFSET(P, blockSize), 16);
    PropDbAddFloat(db, "visDist", PROP_OFFSET(P, visDist), 80.0f);
    PropDbAddCommand(db, "Compile", CompileCommand);
    const intptr_t base = PROP_OFFSET(P, layers);
    for (int i = 0; i < FOLIAGE_LAYERS; ++i) {
        const intptr_t at = base + intptr_t(i) * intptr_t(sizeof(FoliageLayer));
        auto key = [i](const char* field) { return std::string(1, char('a' + i)) + "." + field; };
        PropDbAddStringBlank(db, key("grassMapFile").c_str(),
                             at + intptr_t(offsetof(FoliageLayer, grassMapFile)), 260);
        PropDbAddFloat(db, key("vTop").c_str(), at + intptr_t(offsetof(FoliageLayer, vTop)), 0.0f);
        PropDbAddFloat(db, key("vBottom").c_str(), at + intptr_t(offsetof(FoliageLayer, vBottom)),
                       1.0f);
        PropDbAddFloat(db, key("uLeft").c_str(), at + intptr_t(offsetof(FoliageLayer, uLeft)),
                       0.0f);
        PropDbAddFloat(db, key("uRight").c_str(), at + intptr_t(offsetof(FoliageLayer, uRight)),
                       1.0f);
        PropDbAddFloat(db, key("minHeight").c_str(),
                       at + intptr_t(offsetof(FoliageLayer, minHeight)), 1.0f);
        PropDbAddFloat(db, key("maxHeight").c_str(),
                       at + intptr_t(offsetof(FoliageLayer, maxHeight)), 1.0f);
        PropDbAddInt(db, key("density").c_str(), at + intptr_t(offsetof(FoliageLayer, density)), 2);
        PropDbAddInt(db, key("type").c_str(), at + intptr_t(offsetof(FoliageLayer, type)), 0);
        PropDbAddFloat(db, key("yOffset").c_str(), at + intptr_t(offsetof(FoliageLayer, yOffset)),
                       0.0f);
        PropDbAddInt(db, key("flip90").c_str(), at + intptr_t(offsetof(FoliageLayer, flip90)), 0);
    }
    return &s_db;
}

void ResetClass() {
    s_cullRoot = EntRef();
    s_cullLooked = false;
}

void Registered() {
    WorldClassFlags<GrassPatch>::Reset();
    ResetClass();
}

const WorldClassDef kClass = {"GrassPatch", Db,        WorldMake<GrassPatch>,
                              Registered,   &s_folder, ResetClass};

float TerrainHeight(void* context, float x, float z) {
    auto* terrain = static_cast<Terrain2*>(context);
    const VECTOR3 p{x, 0.0f, z};
    float y = 0.0f;
    terrain->GetHeight(&p, &y);
    return y;
}
} // namespace

intptr_t EcGrassPatchProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}

int GrassPatch::CopyClassName(char* buffer) {
    return WorldCopyClassName("GrassPatch", buffer);
}

GrassPatch::~GrassPatch() {
    ReleaseTexture();
}

int GrassPatch::Create(EntNode*) {
    if (classDb) PropDbInitObject(classDb, this);
    pos = VECTOR3{0.0f, 0.0f, 0.0f};
    texture = -1;
    texRatio = 0;
    for (FoliageLayer& l : layers)
        l.grassMapFile[0] = '\0';
    goodBlockSize = blockSize >= 1 ? blockSize : 16;
    return 1;
}

int GrassPatch::Start() {
    VarsChanged();
    return 0;
}

void GrassPatch::ReleaseTexture() {
    if (texture >= 0) {
        const I3dTexSlot* s = I3dTexGetSlot(texture);
        if (s && s->count > 0) I3dTexRelease(texture);
    }
    texture = -1;
    texRatio = 0;
}

void GrassPatch::DestroyMeshes() {
    for (const EntRef& ref : meshes)
        if (ENTBASE* e = ref.Get()) e->Destroy();
    meshes.clear();
}

int GrassPatch::Destroy() {
    DestroyMeshes();
    ReleaseTexture();
    return ENTBASE::Destroy();
}

FoliageSettings GrassPatch::Settings() {
    FoliageSettings s;
    s.layers = layers;
    s.scale = scale;
    s.blockSize = blockSize;
    s.texRatio = texRatio;
    if (auto* terrain = dynamic_cast<Terrain2*>(Ent3dGetTerrain(this))) {
        s.height = TerrainHeight;
        s.heightContext = terrain;
    }
    return s;
}

int GrassPatch::Compile() {
    char file[300];
    std::snprintf(file, sizeof file, "%s.fol", name);
    char path[1024];
    if (DataDirFile(&s_folder, file, path, sizeof path) != 1) {
        DbgPrintf(DBG_GENERAL, "GrassPatch %s: no data folder to compile into\n", name);
        return -1;
    }
    return FoliageCompile(layers, scale, path);
}

int GrassPatch::VarsChanged() {
    changed = 1;
    if (!s_cullLooked) {
        // The culling tree the blocks would hang under; until such a class exists the blocks
        // are culled by their boxes and distance alone.
        s_cullLooked = true;
        if (EntNode* n = EntTreeFindByClass(EntGetRoot(this)->node, "CullNode2d"))
            s_cullRoot = EntRef(n->object);
    }
    if (blockSize < 1) {
        DbgPrintf(DBG_GENERAL, "GrassPatch %s: blockSize %d refused, %d kept\n", name, blockSize,
                  goodBlockSize);
        blockSize = goodBlockSize;
    }
    goodBlockSize = blockSize;

    ReleaseTexture();
    char path[1024];
    if (textureFile[0] && SysDataFilePath(path, sizeof path, textureFile) == 1) {
        texture = I3dTexLoad(path, nullptr, 1);
        if (const I3dTexSlot* s = I3dTexGetSlot(texture); s && s->height > 0)
            texRatio = s->width / s->height;
    }

    DestroyMeshes();
    const FoliageSettings settings = Settings();
    std::vector<FoliageRecord> records;
    if (FoliageRead(posFile, &records) >= 0) {
        AddMeshes(FoliageBuildFromRecords(records, settings));
        return 1;
    }
    SysBeep(880, 100);
    SysBeep(440, 100);
    AddMeshes(FoliageBuildFromMap(FoliageCombineMaps(layers), settings));
    return 1;
}

void GrassPatch::AddMeshes(const std::vector<GrassChunk>& chunks) {
    ENTBASE* parent = EntTreeFindName(EntGetRoot(this), "Last");
    if (!parent && !chunks.empty()) {
        parent = EntGetParent(this);
        DbgPrintf(DBG_GENERAL, "GrassPatch %s: no \"Last\", blocks hang under its parent\n", name);
    }
    for (const GrassChunk& c : chunks) {
        const int quads = c.QuadCount();
        if (quads < 1) continue;
        auto* block = new (std::nothrow) GrassBlock;
        if (!block) continue;
        std::memcpy(block->box, c.box, sizeof block->box);
        if (!block->mesh.Create(33, quads * 4, quads * 2) || !block->mesh.LockVerts()) {
            block->mesh.Destroy();
            delete block;
            DbgPrintf(DBG_GENERAL, "GrassPatch %s: no mesh for a block\n", name);
            continue;
        }
        I3dVbBegin(block->mesh.vb, 0);
        for (const GrassVertex& v : c.verts) {
            I3dVbPos(v.x, v.y, v.z);
            I3dVbUv(v.u, v.v);
            I3dVbNext();
        }
        block->mesh.UnlockVerts();
        if (uint16_t* idx = block->mesh.LockIndices()) {
            for (int q = 0; q < quads; ++q)
                IdxPushQuad(&idx, 4 * q, 4 * q + 1, 4 * q + 2, 4 * q + 3);
            block->mesh.UnlockIndices();
        }
        DbgPrintf(DBG_GENERAL, "Creating Grass Mesh with %i verts and %i triangles.\n", quads * 4,
                  quads * 2);
        auto* mesh = static_cast<GrassMesh*>(EntCreateByName("GrassMesh", nullptr));
        if (!mesh) {
            block->mesh.Destroy();
            delete block;
            continue;
        }
        mesh->SetName("GrassMesh");
        mesh->SetFlag(ENT_FLAG_PASSABLE);
        mesh->texture = texture;
        mesh->visDist = visDist;
        mesh->SetBlock(block);
        EntLinkUnder(mesh, parent);
        mesh->Start();
        meshes.push_back(EntRef(mesh));
    }
}
