// The model manager: the list of loaded models, sharing by title, release and freeing, node
// and material lookups, override matrices and the models' textures.
#include "I3d/Buffers.h"
#include "I3d/Src/Mdl3Internal.h"
#include "engine/Memory.h"
#include "engine/Paths.h"

#include <cstring>

static MDL3* s_list = nullptr;

MDL3* Mdl3List() {
    return s_list;
}

void Mdl3ListPush(MDL3* model) {
    model->next = s_list;
    s_list = model;
}

static char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

// ASCII only: titles never depend on the locale.
static bool SameIgnoringCase(const char* a, const char* b, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        if (Upper(a[i]) != Upper(b[i])) return false;
        if (!a[i]) return true;
    }
    return true;
}

std::string Mdl3TitleOf(const char* path) {
    std::string title = PathFileTitle(path ? path : "");
    if (title.size() > 31) title.resize(31);
    for (char& c : title)
        c = Upper(c);
    return title;
}

MDL3* Mdl3Load(const char* path, int shared) {
    const std::string title = Mdl3TitleOf(path);
    if (title.empty() || title[0] == '!') return nullptr;
    if (shared) {
        if (MDL3* found = Mdl3FindLoaded(title.c_str())) {
            ++found->refCount;
            return found;
        }
    }
    return Mdl3Read(path, shared);
}

MDL3* Mdl3FindLoaded(const char* title) {
    if (!title) return nullptr;
    for (MDL3* m = s_list; m; m = m->next)
        if (m->managed && SameIgnoringCase(m->name, title, 31)) return m;
    return nullptr;
}

int Mdl3Release(MDL3* model) {
    if (!model) return -1;
    if (model->refCount <= 1) {
        Mdl3Free(model);
        return 0;
    }
    // A holder that leaves without freeing the textures gives its share to the ones that stay.
    if (model->texHolders >= model->refCount) model->texHolders = model->refCount - 1;
    return --model->refCount;
}

void Mdl3Free(MDL3* model) {
    if (!model) return;
    for (MDL3** link = &s_list; *link; link = &(*link)->next) {
        if (*link == model) {
            *link = model->next;
            break;
        }
    }
    I3dVbFree(model->vb);
    I3dIbFree(model->ib);
    model->vb = nullptr;
    model->ib = nullptr;
    // A later model may reuse these addresses: the remembered material must not match one.
    I3dForgetMaterial();
    if (model->storage == 2) {
        MemFree(model->nodes);
        MemFree(model->materials);
        MemFree(model);
    } else if (model->storage == 1) {
        MemFree(model);
    }
}

// ---- nodes and materials ----

// Pre-order over the node's subtree through the links, without recursion: a chain may be as
// deep as the model has nodes.
MDL3NODE* Mdl3FindNode(MDL3NODE* node, const char* name) {
    if (!node || !name) return nullptr;
    MDL3NODE* n = node;
    while (n) {
        if (std::strcmp(n->name, name) == 0) return n;
        if (n->child) {
            n = n->child;
            continue;
        }
        while (n != node && !n->next)
            n = n->parent;
        n = n == node ? nullptr : n->next;
    }
    return nullptr;
}

MDL3MTRL* Mdl3FindMaterial(MDL3* model, const char* name) {
    if (!model || !name) return nullptr;
    for (int32_t i = 0; i < model->numMaterials; ++i)
        if (SameIgnoringCase(model->materials[i].name, name, 32)) return &model->materials[i];
    return nullptr;
}

void Mdl3NodeSetOverride(MDL3NODE* node, const Mat4* matrix) {
    if (!node) return;
    node->override = matrix;
    node->flags |= MDL3_OVERRIDE;
}

void Mdl3NodeClearOverride(MDL3NODE* node) {
    if (!node) return;
    node->override = nullptr;
    node->flags &= ~MDL3_OVERRIDE;
}

// ---- textures ----

// The slots live in the materials, which every holder of a shared model shares: counting holders
// keeps one holder's free from taking the textures from under the others.
int Mdl3LoadTextures(MDL3* model, const char* path) {
    if (!model) return -1;
    if (model->texHolders >= model->refCount) return 0; // this holder has them already
    if (model->texHolders++ > 0) return 0;
    const std::string folder = PathDir(path ? path : "");
    for (int32_t i = 0; i < model->numMaterials; ++i)
        I3dMaterialLoadTextures(&model->materials[i], folder.c_str());
    return 0;
}

int Mdl3FreeTextures(MDL3* model) {
    if (!model) return -1;
    if (model->texHolders <= 0 || --model->texHolders > 0) return 0;
    for (int32_t i = 0; i < model->numMaterials; ++i)
        I3dMaterialFreeTextures(&model->materials[i]);
    return 0;
}
