// The whole generated character set: built in memory, checked against the rules, then written
// under the data folder's "Characters/".
#pragma once

#include "datagen/Characters/CharRecords.h"
#include "datagen/Characters/CharTextures.h"

#include "gi/giXmlDocument.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

struct CharSet {
    std::vector<CharGmf> models;                       // Adult, Child
    std::vector<CharGmf> skeletons;                    // AdultSkel, ChildSkel
    std::vector<CharGmf> animations;                   // in clip order
    std::vector<std::pair<std::string, CharMap>> maps; // path, map
    std::vector<std::pair<std::string, std::unique_ptr<giXmlDocument>>> descriptors;
};

CharSet CharBuildSet();
// "" when every file keeps the rules, else the first broken rule.
std::string CharCheckSet(const CharSet& set);
// Every path the set writes, under the data folder, "/" between folders.
std::vector<std::string> CharSetFiles(const CharSet& set);
// Checks, then writes every file; nothing is written when a rule is broken. "" on success,
// else the reason.
std::string CharWriteSet(const CharSet& set, const std::string& dataDir);
