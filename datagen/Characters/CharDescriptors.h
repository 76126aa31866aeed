// The character descriptors: one rootless XML document per character kind naming its model,
// skeleton and clips (paths under the data folder, written with "\"), with one box per clip
// that holds the character through the whole clip.
#pragma once

#include "datagen/Characters/CharRig.h"

#include <tinyxml.h>

#include <string>
#include <vector>

struct CharDescriptorDef {
    const char* name; // "AdultMale" -> Characters/AdultMale.xml
    bool child;
    std::vector<const char*> clips;
};

// AdultMale, AdultFemale, ChildMale, ChildFemale, CarnyMale, CarnyFemale.
const std::vector<CharDescriptorDef>& CharDescriptors();

// The model and skeleton base names of a rig: "Adult" and "AdultSkel", or "Child"...
std::string CharModelName(bool child);
std::string CharSkeletonName(bool child);

// The bounds (min x, y, z, max x, y, z) of the posed boxes over every key of the clip.
void CharClipBounds(const CharRig& rig, const char* clip, float out[6]);

// Fills an empty document.
void CharBuildDescriptor(const CharDescriptorDef& def, const CharRig& rig, TiXmlDocument& doc);
