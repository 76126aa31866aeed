// Reading the build's generated Data/ as the game reads it: names as the screens write them
// ("\"-separated, any case), whole files, and the top level of a 32-bit DDS picture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The folder the data target fills, ending in "/".
const std::string& DataFolder();

// The file a game path names below `folder` (by default Data/), found case-insensitively as the
// game finds it; empty when there is none.
std::string DataFile(const std::string& gamePath, const std::string& folder = DataFolder());

std::vector<uint8_t> ReadBytes(const std::string& path);

// Every regular file below `folder`, as paths relative to it ("/"-separated), sorted.
std::vector<std::string> FilesBelow(const std::string& folder);

// What stops the script from compiling, or empty; with `wantCreate` it is also run and must
// leave a global function Create.
std::string ScriptFault(const std::string& file, bool wantCreate);

// The top level of a DDS file with 32-bit pixels; empty (width 0) for any other file.
struct DdsPicture {
    uint32_t width = 0, height = 0;
    std::vector<uint32_t> argb; // rows from the top
    uint32_t At(uint32_t x, uint32_t y) const { return argb[size_t(y) * width + x]; }
    uint32_t Alpha(uint32_t x, uint32_t y) const { return At(x, y) >> 24; }
};
DdsPicture ReadDds(const std::string& path);
