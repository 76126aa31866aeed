// The model-definition manager: descriptors, the caches and the meshes it made.
#include "gi/giModelDefManager.h"

#include "engine/DebugLog.h"
#include "gi/giAnimation.h"
#include "gi/giFileIO.h"
#include "gi/giGmModel.h"
#include "gi/giPath.h"
#include "gi/giSkeleton.h"
#include "gi/giSkinnedMesh.h"
#include "gi/giString.h"
#include "gi/giXmlDocument.h"
#include "gi/giXmlValue.h"

#include <algorithm>
#include <memory>
#include <new>

namespace {

const char* const kBounds[6] = {"MinX", "MinY", "MinZ", "MaxX", "MaxY", "MaxZ"};

std::string Text(const TiXmlElement* e) {
    return giStrTrim(giXmlGetText(e));
}

std::string Prefixed(const char* folder, const std::string& name) {
    return folder ? std::string(folder) + name : name;
}

std::string Stripped(const char* folder, const std::string& path) {
    if (!folder || !*folder) return path;
    const std::string f(folder);
    return path.compare(0, f.size(), f) == 0 ? path.substr(f.size()) : path;
}

} // namespace

giModelDefManager* giModelDefManager::Get() {
    // A function-local object would be destroyed at exit in an order nothing controls; the
    // manager lives as long as the program. Made at the first call, not by a start-up static:
    // callers only need the made object back, and no static's order then matters.
    static giModelDefManager* s_manager = new giModelDefManager();
    return s_manager;
}

giModelDefManager::~giModelDefManager() {
    Clear();
}

// ---- caches ----

giGmModel* giModelDefManager::LoadModel(const std::string& path, bool useCache) {
    // Textures named bare in the model are found in the "maps" folder beside it, for the
    // length of the load only.
    giFileIO* io = giFileIO::Get();
    const std::string maps = giPathFolder(path) + "maps";
    if (io) io->AddSearchFolder(maps);
    giGmModel* model = nullptr;
    if (useCache) {
        for (giGmModel* m : models) {
            if (m->FileName() == path) {
                model = m;
                break;
            }
        }
    }
    if (!model) {
        auto fresh = std::make_unique<giGmModel>();
        if (fresh->Load(path.c_str())) {
            model = fresh.release();
            models.push_back(model);
        } else {
            DbgPrintf(DBG_GENERAL, "giModelDefManager: cannot load the model %s\n", path.c_str());
        }
    }
    if (io) io->RemoveSearchFolder(maps);
    if (model) ++model->refCount;
    return model;
}

giSkeleton* giModelDefManager::LoadSkeleton(const std::string& path, const giGmModel* model,
                                            bool useCache) {
    if (!model) return nullptr;
    const std::string& modelPath = model->FileName();
    if (useCache) {
        for (const SkeletonEntry& e : skeletons)
            if (e.path == path && e.modelPath == modelPath) return e.skeleton;
    }
    auto skel = std::make_unique<giSkeleton>();
    if (!skel->Build(path, *model)) {
        DbgPrintf(DBG_GENERAL, "giModelDefManager: cannot build the skeleton %s for %s\n",
                  path.c_str(), modelPath.c_str());
        return nullptr;
    }
    // Kept also when the cache is not asked: the mesh points at it, and the manager frees it.
    skeletons.push_back({path, modelPath, skel.release()});
    return skeletons.back().skeleton;
}

giAnimation* giModelDefManager::LoadAnimation(const std::string& path) {
    for (giAnimation* a : animations)
        if (a->FileName() == path) return a;
    auto anim = std::make_unique<giAnimation>();
    if (!anim->Load(path.c_str())) {
        DbgPrintf(DBG_GENERAL, "giModelDefManager: cannot load the animation %s\n", path.c_str());
        return nullptr;
    }
    animations.push_back(anim.release());
    return animations.back();
}

// ---- meshes ----

giSkinnedMesh* giModelDefManager::Register(giGmModel* model, giSkeleton* skeleton,
                                           bool materialFlag) {
    auto* mesh = new (std::nothrow) giSkinnedMesh();
    if (!mesh) {
        ReleaseModel(model);
        return nullptr;
    }
    mesh->SetModel(model);
    if (skeleton) mesh->SetSkeleton(skeleton);
    mesh->materialFlag = materialFlag;
    instances.push_back(mesh);
    return mesh;
}

giSkinnedMesh* giModelDefManager::CreateInstance(const std::string& modelPath,
                                                 const std::string& skeletonPath, bool materialFlag,
                                                 bool useCache) {
    giGmModel* model = LoadModel(modelPath, useCache);
    if (!model) return nullptr;
    giSkeleton* skeleton = nullptr;
    if (!skeletonPath.empty()) {
        skeleton = LoadSkeleton(skeletonPath, model, useCache);
        if (!skeleton) {
            ReleaseModel(model);
            return nullptr;
        }
    }
    return Register(model, skeleton, materialFlag);
}

giSkinnedMesh* giModelDefManager::CreateFromModelFile(const char* modelPath) {
    if (!modelPath || !*modelPath) return nullptr;
    return CreateInstance(modelPath, "", false, true);
}

giSkinnedMesh* giModelDefManager::CreateFromDescriptorModel(const char* descPath,
                                                            const char* assetFolder) {
    giXmlDocument doc;
    if (!descPath || !doc.LoadFile(descPath)) return nullptr;
    const TiXmlElement* model = doc.FirstChildElement("Model");
    if (!model) return nullptr;
    const TiXmlElement* skel = doc.FirstChildElement("Skeleton");
    const std::string skelName = Text(skel);
    return CreateInstance(Prefixed(assetFolder, Text(model)),
                          skelName.empty() ? "" : Prefixed(assetFolder, skelName), false, true);
}

giSkinnedMesh* giModelDefManager::CreateFromDescriptor(const char* descPath,
                                                       const char* assetFolder, bool useCache) {
    giXmlDocument doc;
    if (!descPath || !doc.LoadFile(descPath)) {
        DbgPrintf(DBG_GENERAL, "giModelDefManager: cannot read the descriptor %s (%s)\n",
                  descPath ? descPath : "(null)", doc.ErrorDesc());
        return nullptr;
    }
    const bool materialFlag = giXmlGetBool(doc.FirstChildElement("DiffuseAsDecal")) ||
                              giXmlGetBool(doc.FirstChildElement("UseBumpGlossShader"));
    const TiXmlElement* modelElement = doc.FirstChildElement("Model");
    if (!modelElement) {
        DbgPrintf(DBG_GENERAL, "giModelDefManager: %s names no model\n", descPath);
        return nullptr;
    }
    const std::string modelPath = Prefixed(assetFolder, Text(modelElement));
    const std::string skelName = Text(doc.FirstChildElement("Skeleton"));
    const std::string skelPath = skelName.empty() ? "" : Prefixed(assetFolder, skelName);

    std::vector<giAnimation*> clips;
    for (const TiXmlElement* a = doc.FirstChildElement("animation"); a;
         a = a->NextSiblingElement("animation")) {
        giAnimation* anim =
            LoadAnimation(Prefixed(assetFolder, Text(a->FirstChildElement("file"))));
        if (!anim) continue; // skipped with its triggers
        clips.push_back(anim);
        for (const TiXmlElement* t = a->FirstChildElement("trigger"); t;
             t = t->NextSiblingElement("trigger")) {
            const TiXmlElement* time = t->FirstChildElement("time");
            const TiXmlElement* name = t->FirstChildElement("name");
            if (!time || !name) continue;
            auto trigger = std::make_unique<giAnimTrigger>();
            trigger->name = Text(name);
            trigger->time = giXmlGetFloat(time);
            // The clip is shared by every mesh of every descriptor naming it: a trigger already
            // there (the same descriptor read again) is refused, not added once per character.
            anim->AddTrigger(std::move(trigger));
        }
    }

    giSkinnedMesh* mesh = CreateInstance(modelPath, skelPath, materialFlag, useCache);
    if (!mesh) return nullptr;
    for (const TiXmlElement* b = doc.FirstChildElement("Box"); b;
         b = b->NextSiblingElement("Box")) {
        auto box = std::make_unique<giBox>();
        box->name = Text(b->FirstChildElement("Name"));
        for (int i = 0; i < 3; ++i) {
            box->min[i] = giXmlGetFloat(b->FirstChildElement(kBounds[i]));
            box->max[i] = giXmlGetFloat(b->FirstChildElement(kBounds[i + 3]));
        }
        mesh->AddBox(std::move(box));
    }
    for (giAnimation* anim : clips)
        mesh->AddAnimation(anim);
    mesh->descName = descPath;
    return mesh;
}

void giModelDefManager::DestroyInstance(giSkinnedMesh* mesh) {
    auto it = std::find(instances.begin(), instances.end(), mesh);
    if (!mesh || it == instances.end()) return;
    instances.erase(it);
    // A mesh carried by another leaves no record behind on its carrier.
    for (giSkinnedMesh* other : instances) {
        for (const auto& a : other->attachments) {
            if (a && a->child == mesh) {
                other->Detach(mesh);
                break;
            }
        }
    }
    // Taken first: destroying a child changes nothing of the parent's records, but the list is
    // walked after the erase above, so a child that carries the parent back cannot loop.
    std::vector<giSkinnedMesh*> children;
    for (const auto& a : mesh->attachments)
        if (a && a->child) children.push_back(a->child);
    for (giSkinnedMesh* child : children)
        DestroyInstance(child);
    giGmModel* model = mesh->Model();
    delete mesh;
    if (model) ReleaseModel(model);
}

void giModelDefManager::ReleaseModel(giGmModel* model) {
    auto it = std::find(models.begin(), models.end(), model);
    if (!model || it == models.end()) return;
    if (--model->refCount > 0) return;
    models.erase(it);
    delete model;
}

void giModelDefManager::Clear() {
    clearing = true;
    // Instances first: they point at the cached skeletons and models, which must outlive them.
    for (giSkinnedMesh* m : instances)
        delete m;
    instances.clear();
    for (SkeletonEntry& e : skeletons)
        delete e.skeleton;
    skeletons.clear();
    for (giGmModel* m : models)
        delete m;
    models.clear();
    for (giAnimation* a : animations)
        delete a;
    animations.clear();
    clearing = false;
}

bool giModelDefManager::WriteDef(const char* file, const giSkinnedMesh* mesh,
                                 const char* assetFolder) {
    if (!file || !mesh || !mesh->Model()) return false;
    giXmlDocument doc;
    giXmlSetChild(&doc, "Model", Stripped(assetFolder, mesh->Model()->FileName()));
    // No empty "Skeleton" for a mesh without one: an empty one reads back as none all the same.
    if (mesh->Skeleton())
        giXmlSetChild(&doc, "Skeleton", Stripped(assetFolder, mesh->Skeleton()->FileName()));
    for (const giAnimation* anim : mesh->animations) {
        TiXmlElement* a = doc.LinkEndChild(new TiXmlElement("animation"))->ToElement();
        giXmlSetChild(a, "file", Stripped(assetFolder, anim->FileName()));
        for (int i = 0; i < anim->TriggerCount(); ++i) {
            const giAnimTrigger* t = anim->GetTrigger(i);
            TiXmlElement* e = a->LinkEndChild(new TiXmlElement("trigger"))->ToElement();
            giXmlSetChild(e, "name", t->name);
            giXmlSetChild(e, "time", t->time);
            if (!t->param1.empty()) giXmlSetChild(e, "param1", t->param1);
            if (!t->param2.empty()) giXmlSetChild(e, "param2", t->param2);
        }
    }
    for (const auto& box : mesh->boxes) {
        TiXmlElement* b = doc.LinkEndChild(new TiXmlElement("Box"))->ToElement();
        giXmlSetChild(b, "Name", box->name);
        for (int i = 0; i < 3; ++i)
            giXmlSetChild(b, kBounds[i], box->min[i]);
        for (int i = 0; i < 3; ++i)
            giXmlSetChild(b, kBounds[i + 3], box->max[i]);
    }
    return doc.SaveFile(file);
}
