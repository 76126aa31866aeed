// The model tool from description to files: a scene compiled to its ".md3" bytes and its
// textures, written only when the whole description is sound.
#pragma once

#include "datagen/Models/MdlScene.h"

#include <string>
#include <vector>

struct MdlOutput {
    std::string title;
    std::vector<uint8_t> bytes; // the ".md3" file
    std::vector<MdlTextureDesc> textures;
};

// Reads, builds and lays out a description; false and "line N: ..." when it is not sound.
bool MdlCompile(const std::string& text, MdlOutput* out, std::string* error);
// The textures as 32-bit TGA files ("<name>.tga") and the model as "<title>.md3" in `folder`
// (made when missing). False and the reason when a file cannot be written.
bool MdlWriteOutput(const MdlOutput& out, const std::string& folder, std::string* error);
// Both for one description file; errors read "<path>: line N: ...". Nothing is written for a
// description with an error.
bool MdlCompileFile(const std::string& scenePath, const std::string& folder, std::string* error);
