// MDL3 models: rigid, node-structured models (rides, stalls, scenery, props) read from ".md3"
// files, and the model manager that shares them by title with a reference count. Other code
// drives parts of a model by finding a node and attaching an override matrix to it.
#pragma once

#include "I3d/Materials.h"
#include "I3d/Math/MathTypes.h"

#include <cstdint>

struct I3dVertexBuffer;
struct I3dIndexBuffer;

// ---- node flags ----
enum : uint32_t {
    MDL3_VISIBLE = 0x01,  // the node's triangles are drawn
    MDL3_OVERRIDE = 0x02, // an override matrix is attached (run time)
    MDL3_NODETRANSFORM = 0x04,
    MDL3_CASTSHADOW = 0x08, // stored, not interpreted
    MDL3_RECEIVESHADOWS = 0x10,
    MDL3_MOTIONBLUR = 0x20,
    MDL3_COLLISION = 0x40, // the node's triangles take part in picking
    MDL3_INFINITEVIS = 0x80,
};

// 16-bit indices reach this many vertices.
constexpr int32_t MDL3_MAX_VERTS = 65536;

struct MDL3VERTEX {
    VECTOR3 pos;
    VECTOR3 normal;
    float u, v;
    uint32_t spare[2]; // carried, never read
};

struct MDL3NODE {
    char name[32]; // compared exactly
    MDL3NODE* parent;
    MDL3NODE* next; // sibling
    MDL3NODE* prev;
    MDL3NODE* child; // first child
    int32_t numChildren;
    int32_t minVertIdx; // the vertex range of the node's triangles, inclusive
    int32_t maxVertIdx;
    int32_t firstIdx; // first index of the node's run
    uint32_t flags;
    Mat4 Matrix;          // relative to the parent
    const Mat4* override; // the caller's, read at every draw and pick; null when none
    int32_t numTris;      // indices firstIdx .. firstIdx + 3 numTris - 1
    VECTOR3 boundsMin;    // node frame; for the root: of the whole model
    VECTOR3 boundsMax;    //
    int32_t materialId;   // negative: no material
    MDL3MTRL* material;   // null when none
    VECTOR3 sphereCentre; // node frame
    float radius;         // max(|boundsMin|, |boundsMax|)
    float maxDist;        // 0 or less: no limit
    float fadeRange;      // width of the fade band inside maxDist (the root's)
    float minDist;        // hidden nearer than this
};

struct MDL3 {
    char name[32]; // the file title, upper-cased, at most 31 characters
    // 1: one block (a loaded file); 2: record, node array and material array are three blocks;
    // 0: not owned.
    int32_t storage;
    int32_t numMaterials;
    MDL3MTRL* materials;
    int32_t numNodes;
    MDL3NODE* nodes; // pre-order; nodes[0] is the root
    int32_t numVerts;
    MDL3VERTEX* verts; // kept for picking
    int32_t numIndices;
    uint16_t* indices;
    // Static buffers; null when the model was read with no device (it then draws nothing).
    I3dVertexBuffer* vb;
    I3dIndexBuffer* ib;
    int32_t managed; // loaded shared: only such models are found by title
    int32_t refCount;
    // How many holders have loaded the textures (at most refCount): the materials' slots are
    // loaded with the first and released with the last.
    int32_t texHolders;
    int32_t cleared[2];
    MDL3* next; // on Mdl3List
};

// The newest model first.
MDL3* Mdl3List();

// ---- loading and sharing ----
// The title is the path's file title cut to 31 characters; an empty one or one beginning with
// "!" gives null. Shared: a loaded shared model of that title (ignoring case) gains a reference;
// else the file is read as a new model. Null when the file is missing, empty or malformed.
MDL3* Mdl3Load(const char* path, int shared);
// Reads and prepares one file, always as a new model with one reference, at the head of the
// list. The file is checked whole before anything is made: null (logged, except for a missing
// or empty file) when a count, offset, material, index run or index lies outside its array, a
// vertex lies outside its node's range, there are more than MDL3_MAX_VERTS vertices, the
// pre-order does not use exactly numNodes records, or a float is not finite.
MDL3* Mdl3Read(const char* path, int managed);
// One reference less; at 0 the model is freed. The new count; -1 for null.
int Mdl3Release(MDL3* model);
// Unlinks the model, frees its buffers and its memory by storage.
void Mdl3Free(MDL3* model);
// The first managed model on the list with that title (ignoring case, cut to 31 characters).
MDL3* Mdl3FindLoaded(const char* title);

// ---- nodes and materials ----
// The node itself when its name is `name`, else the first hit in each child subtree in order
// (pre-order). Null when absent.
MDL3NODE* Mdl3FindNode(MDL3NODE* node, const char* name);
// The first material of that name, ignoring case; null when absent.
MDL3MTRL* Mdl3FindMaterial(MDL3* model, const char* name);
// The matrix belongs to the caller and must outlive the attachment: clear the override before
// freeing the matrix (a freed matrix still attached is read at the next draw).
void Mdl3NodeSetOverride(MDL3NODE* node, const Mat4* matrix);
void Mdl3NodeClearOverride(MDL3NODE* node);

// ---- textures ----
// Neither Mdl3Load nor Mdl3Release touches textures: callers load a model, then its textures,
// and free the textures before they release the model.
// Each holder of a model (each reference of a shared one) loads and frees the textures once:
// every material's maps are loaded from the folder of `path` by the first holder and released
// by the last one's free. A load when every holder has already loaded adds nothing, and a free
// with no holder left releases nothing. 0; -1 for a null model.
int Mdl3LoadTextures(MDL3* model, const char* path);
// 0; -1 for a null model.
int Mdl3FreeTextures(MDL3* model);

// ---- preparation ----
// Flags, spheres and bounds of nodes in pre-order with their parent links (the model tool
// computes what the loader prepares with this too): NODETRANSFORM exactly when the Matrix is
// not the identity, VISIBLE cleared without triangles, the sphere centre by Ritter's method
// over the node's triangle vertices, the bounds over them (zeros without triangles), radius =
// max(|boundsMin|, |boundsMax|), then the root's bounds widened over every node's triangle
// vertices taken through its Matrix chain. The index runs must lie inside the arrays.
void Mdl3PrepareNodes(MDL3NODE* nodes, int32_t numNodes, const MDL3VERTEX* verts,
                      const uint16_t* indices);
// The root's draw distances: maxDist = 20 d and fadeRange = 2 d, d the root box's diagonal.
void Mdl3SetRootDistances(MDL3NODE* root);
