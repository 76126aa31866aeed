// The model-definition manager: the library's single object that turns character descriptors
// into skinned meshes and caches the model, skeleton and animation files they share. Made on
// first use through Get, never by a static initialiser, so its construction order is certain.
//
// A character descriptor is an XML file whose elements sit directly under the document:
// "DiffuseAsDecal" and "UseBumpGlossShader" (material flags), "Model" (required) and "Skeleton"
// (file names under the asset folder), "animation" ("file" and timed "trigger"s) and "Box"
// (a named box in model space).
#pragma once

#include "gi/giSingleton.h"

#include <string>
#include <vector>

class giAnimation;
class giSkinnedMesh;
class giGmModel;
class giSkeleton;

class giModelDefManager : public giSingleton<giModelDefManager> {
  public:
    // The one manager, made on the first call and kept to the end of the program.
    static giModelDefManager* Get();

    giModelDefManager() = default;
    // Clears.
    ~giModelDefManager();

    // A skinned mesh made from the descriptor, its file names prefixed with `assetFolder`
    // (none when null): the model, the skeleton when one is named, the clips that load with
    // their triggers, the boxes. Null for a missing or malformed descriptor, no "Model", or a
    // model or named skeleton that does not load.
    giSkinnedMesh* CreateFromDescriptor(const char* descPath, const char* assetFolder,
                                        bool useCache);
    // The descriptor's "Model" and "Skeleton" only: no clips, no boxes.
    giSkinnedMesh* CreateFromDescriptorModel(const char* descPath, const char* assetFolder);
    // A mesh over a GM model file alone: no skeleton, no clips.
    giSkinnedMesh* CreateFromModelFile(const char* modelPath);
    // Model, then skeleton when `skeletonPath` is not empty, then the mesh, registered.
    giSkinnedMesh* CreateInstance(const std::string& modelPath, const std::string& skeletonPath,
                                  bool materialFlag, bool useCache);

    // A model with one more reference (the cached one of that file name with useCache), or null.
    giGmModel* LoadModel(const std::string& path, bool useCache);
    // The skeleton of the file built for that model: skin arrays fit one model only, so the
    // cache is keyed by both file names. Null when it does not build.
    giSkeleton* LoadSkeleton(const std::string& path, const giGmModel* model, bool useCache);
    // The cached clip of that file name, else loaded and cached; null when it does not load.
    giAnimation* LoadAnimation(const std::string& path);

    // Destroys a registered mesh and, depth first, the meshes attached to it, releasing their
    // models; a mesh that carried it forgets it. A mesh the manager does not hold (or null) is
    // left alone.
    void DestroyInstance(giSkinnedMesh* mesh);
    // One reference less; at zero the model leaves the cache and is freed.
    void ReleaseModel(giGmModel* model);
    // Frees every mesh, model, skeleton and clip.
    void Clear();

    // Writes a descriptor for the mesh, `assetFolder` (when given) stripped from the front of
    // each file name. False when the mesh has no model or the file cannot be written.
    bool WriteDef(const char* file, const giSkinnedMesh* mesh, const char* assetFolder = nullptr);

    struct SkeletonEntry {
        std::string path;      // the skeleton file
        std::string modelPath; // the model it was built for
        giSkeleton* skeleton = nullptr;
    };

    std::vector<giSkinnedMesh*> instances; // every skinned mesh it made
    std::vector<giGmModel*> models;        // loaded GM models
    std::vector<SkeletonEntry> skeletons;  // loaded skeletons
    std::vector<giAnimation*> animations;  // loaded clips
    bool clearing = false;                 // set while the manager empties itself

  private:
    giSkinnedMesh* Register(giGmModel* model, giSkeleton* skeleton, bool materialFlag);
};
