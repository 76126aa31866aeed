// The model-definition manager: the library's single object that turns character descriptors
// into skinned meshes and caches the model, skeleton and animation files they share. Made on
// first use through Get, never by a static initialiser, so its construction order is certain.
#pragma once

#include "gi/giSingleton.h"

#include <vector>

class giSkinnedMesh;
class giGmModel;
class giSkeleton;

class giModelDefManager : public giSingleton<giModelDefManager> {
  public:
    // The one manager, made on the first call and kept to the end of the program.
    static giModelDefManager* Get();

    giModelDefManager() = default;
    ~giModelDefManager() = default;

    std::vector<giSkinnedMesh*> instances; // every skinned mesh it made
    std::vector<giGmModel*> models;        // loaded GM models
    std::vector<giSkeleton*> skeletons;    // loaded skeletons
    bool clearing = false;                 // set while the manager empties itself
};
