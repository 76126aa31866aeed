// Building the character descriptors.
#include "datagen/Characters/CharDescriptors.h"

#include "datagen/Characters/CharClips.h"
#include "datagen/Characters/CharRecords.h"

#include "gi/giXmlValue.h"

#include <algorithm>

namespace {

const std::vector<const char*> kAdultClips = {"AdultWalk", "AdultRun", "AdultIdle1",
                                              "AdultPayMoney", "AdultSitting1"};
const std::vector<const char*> kChildClips = {"ChildWalk", "ChildRun", "ChildIdle1",
                                              "ChildPayMoney", "ChildSitting1"};
const std::vector<const char*> kCarnyClips = {"AdultWalk",      "AdultIdle1",      "AdultSweeping",
                                              "AdultMalePound", "AdultMaleWrench", "CarnyNap",
                                              "CarnySleepy"};

const std::vector<CharDescriptorDef> kDescriptors = {
    {"AdultMale", false, kAdultClips}, {"AdultFemale", false, kAdultClips},
    {"ChildMale", true, kChildClips},  {"ChildFemale", true, kChildClips},
    {"CarnyMale", false, kCarnyClips}, {"CarnyFemale", false, kCarnyClips},
};

} // namespace

const std::vector<CharDescriptorDef>& CharDescriptors() {
    return kDescriptors;
}

std::string CharModelName(bool child) {
    return child ? "Child" : "Adult";
}

std::string CharSkeletonName(bool child) {
    return CharModelName(child) + "Skel";
}

void CharClipBounds(const CharRig& rig, const char* clipName, float out[6]) {
    const CharClipDef* clip = CharFindClip(clipName);
    bool first = true;
    for (int k = 0; clip && k < clip->keyCount; ++k) {
        const CharWorldPose pose = CharClipKeyPose(rig, *clip, k);
        for (int b = 0; b < kCharBoneCount; ++b) {
            const CharBoneDef& d = rig.bones[(size_t)b];
            for (int c = 0; c < 8; ++c) {
                const giVec3 p = CharPosePoint(rig, pose, b, CharBoxCorner(d.boxMin, d.boxMax, c));
                const float v[3] = {p.x, p.y, p.z};
                for (int a = 0; a < 3; ++a) {
                    out[a] = first ? v[a] : std::min(out[a], v[a]);
                    out[a + 3] = first ? v[a] : std::max(out[a + 3], v[a]);
                }
                first = false;
            }
        }
    }
}

void CharBuildDescriptor(const CharDescriptorDef& def, const CharRig& rig, TiXmlDocument& doc) {
    doc.LinkEndChild(new TiXmlDeclaration("1.0", "", ""));
    giXmlSetChild(&doc, "DiffuseAsDecal", false);
    giXmlSetChild(&doc, "UseBumpGlossShader", false);
    giXmlSetChild(&doc, "Model", "Characters\\" + CharModelName(def.child) + ".gmf");
    giXmlSetChild(&doc, "Skeleton", "Characters\\" + CharSkeletonName(def.child) + ".gmf");
    for (const char* clip : def.clips) {
        TiXmlElement* anim = doc.LinkEndChild(new TiXmlElement("animation"))->ToElement();
        giXmlSetChild(anim, "file", std::string("Characters\\Anims\\") + clip + ".gmf");
    }
    static const char* const kBounds[6] = {"MinX", "MinY", "MinZ", "MaxX", "MaxY", "MaxZ"};
    for (const char* clip : def.clips) {
        TiXmlElement* box = doc.LinkEndChild(new TiXmlElement("Box"))->ToElement();
        giXmlSetChild(box, "Name", clip);
        float b[6];
        CharClipBounds(rig, clip, b);
        for (int i = 0; i < 6; ++i)
            giXmlSetChild(box, kBounds[i], b[i]);
    }
}
