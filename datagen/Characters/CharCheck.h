// The rules every generated character file must keep; the generator writes nothing when one is
// broken. Each check gives "" when its file keeps the rules, else "<file>: <broken rule>".
#pragma once

#include "datagen/Characters/CharRecords.h"
#include "datagen/Characters/CharTextures.h"

#include <tinyxml.h>

#include <set>
#include <string>

// Engine axes (standing on y = 0, rig height tall, the face on the +z side), one 24-vertex box
// per object with material 0, welded triangles facing outwards, V = 0 at the top of the map,
// and a diffuse map (slot 1) named "<model>.tga" with no folder.
std::string CharCheckModel(const CharGmf& model, const CharRig& rig, const CharMap& map);
// One skeleton record and no material list; stored bone count = record count; names unique
// without regard to case; parents before children; bind translations in elements 12 to 14;
// every position of the model weighted to a sum of 1, a weight's vertex index counting the
// positions of the earlier meshes; a bone's vertex count = its weight count.
std::string CharCheckSkeleton(const CharGmf& skeleton, const CharGmf& model);
// One animation record named after its file and no material list; tracks in skeleton order
// with shared key times (0 first, strictly increasing, the length > 0 last); the last key equal
// to the first; unit quaternions with neighbouring keys in one hemisphere; the root keys carry
// its position.
std::string CharCheckAnimation(const CharGmf& animation, const CharGmf& skeleton);
// The flags, "Model", "Skeleton" and every "file" naming one of `files` (paths under the data
// folder with "/"), and a box per clip.
std::string CharCheckDescriptor(const std::string& path, const TiXmlDocument& doc,
                                const std::set<std::string>& files);
