// Building, checking and writing the character set.
#include "datagen/Characters/CharSet.h"

#include "datagen/Characters/CharCheck.h"
#include "datagen/Characters/CharDescriptors.h"

#include "engine/Dirs.h"

#include <set>

CharSet CharBuildSet() {
    CharSet set;
    for (bool child : {false, true}) {
        const CharRig rig = CharMakeRig(child ? kChildScale : 1.0f);
        set.models.push_back(CharBuildModel(rig, CharModelName(child)));
        set.skeletons.push_back(CharBuildSkeleton(rig, CharSkeletonName(child)));
        set.maps.emplace_back("Characters/Maps/" + CharModelName(child) + ".tga",
                              CharPaintMap(CharBasePalette(child)));
    }
    for (const CharClipDef& clip : CharClips())
        set.animations.push_back(
            CharBuildAnimation(CharMakeRig(clip.child ? kChildScale : 1.0f), clip));
    for (const CharSkin& skin : CharSkins())
        set.maps.emplace_back("Characters/Maps/" + skin.name + ".tga", CharPaintMap(skin.palette));
    for (const CharDescriptorDef& def : CharDescriptors()) {
        auto doc = std::make_unique<giXmlDocument>();
        CharBuildDescriptor(def, CharMakeRig(def.child ? kChildScale : 1.0f), *doc);
        set.descriptors.emplace_back(std::string("Characters/") + def.name + ".xml",
                                     std::move(doc));
    }
    return set;
}

std::vector<std::string> CharSetFiles(const CharSet& set) {
    std::vector<std::string> out;
    for (const auto* list : {&set.models, &set.skeletons, &set.animations})
        for (const CharGmf& f : *list)
            out.push_back(f.path);
    for (const auto& [path, map] : set.maps)
        out.push_back(path);
    for (const auto& [path, doc] : set.descriptors)
        out.push_back(path);
    return out;
}

std::string CharCheckSet(const CharSet& set) {
    if (set.models.size() != 2 || set.skeletons.size() != 2 || set.maps.size() < 2)
        return "the set needs the adult and child models, skeletons and maps";
    for (int i = 0; i < 2; ++i) {
        const CharRig rig = CharMakeRig(i ? kChildScale : 1.0f);
        if (std::string e = CharCheckModel(set.models[(size_t)i], rig, set.maps[(size_t)i].second);
            !e.empty())
            return e;
        if (std::string e = CharCheckSkeleton(set.skeletons[(size_t)i], set.models[(size_t)i]);
            !e.empty())
            return e;
    }
    const std::vector<CharClipDef>& clips = CharClips();
    if (set.animations.size() != clips.size()) return "there is not one file per clip";
    for (size_t i = 0; i < clips.size(); ++i)
        if (std::string e =
                CharCheckAnimation(set.animations[i], set.skeletons[clips[i].child ? 1 : 0]);
            !e.empty())
            return e;
    const std::vector<std::string> paths = CharSetFiles(set);
    const std::set<std::string> files(paths.begin(), paths.end());
    if (files.size() != paths.size()) return "two files of the set share a path";
    for (const auto& [path, doc] : set.descriptors)
        if (std::string e = CharCheckDescriptor(path, *doc, files); !e.empty()) return e;
    return "";
}

std::string CharWriteSet(const CharSet& set, const std::string& dataDir) {
    if (std::string e = CharCheckSet(set); !e.empty()) return "refused: " + e;
    for (const auto* list : {&set.models, &set.skeletons, &set.animations})
        for (const CharGmf& f : *list)
            if (!CharWriteGmf(f, dataDir)) return "cannot write " + dataDir + f.path;
    for (const auto& [path, map] : set.maps) {
        const std::string full = dataDir + path;
        if (DirCreateForFile(full.c_str()) != 1 || !CharSaveMap(map, full))
            return "cannot write " + full;
    }
    for (const auto& [path, doc] : set.descriptors) {
        const std::string full = dataDir + path;
        if (DirCreateForFile(full.c_str()) != 1 || !doc->SaveFile(full))
            return "cannot write " + full;
    }
    return "";
}
