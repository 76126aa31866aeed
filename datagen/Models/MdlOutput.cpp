// Compiling descriptions and writing the model tool's files: the model and its textures.
#include "datagen/Models/MdlOutput.h"

#include "I3d/Image.h"
#include "datagen/Models/MdlBuild.h"
#include "engine/Dirs.h"
#include "engine/Files.h"
#include "engine/Memory.h"

namespace {

uint32_t Texel(const MdlTextureDesc& t, int x, int y) {
    const int cell = t.size >= 8 ? t.size / 8 : 1;
    switch (t.pattern) {
        case MdlPattern::Checker: return ((x / cell + y / cell) & 1) ? t.b : t.a;
        case MdlPattern::Stripes: return ((x / cell) & 1) ? t.b : t.a;
        case MdlPattern::Solid: break;
    }
    return t.a;
}

bool WriteTexture(const MdlTextureDesc& t, const std::string& path) {
    I3dImage* img = ImgAlloc(t.size, t.size, IMG_A8R8G8B8);
    if (!img) return false;
    for (int y = 0; y < t.size; ++y) {
        uint8_t* row = img->pixels + size_t(y) * size_t(img->pitch);
        for (int x = 0; x < t.size; ++x) {
            const uint32_t c = Texel(t, x, y);
            uint8_t* p = row + size_t(x) * 4;
            p[0] = uint8_t(c), p[1] = uint8_t(c >> 8), p[2] = uint8_t(c >> 16);
            p[3] = uint8_t(c >> 24);
        }
    }
    const bool ok = ImgSaveTga(img, path.c_str(), nullptr) == 0;
    ImgFree(img);
    return ok;
}

} // namespace

bool MdlCompile(const std::string& text, MdlOutput* out, std::string* error) {
    *out = MdlOutput{};
    MdlScene scene;
    MdlModel model;
    if (!MdlParseScene(text, &scene, error) || !MdlBuildModel(scene, &model, error)) return false;
    out->title = scene.title;
    out->textures = scene.textures;
    out->bytes = MdlModelBytes(model);
    return true;
}

bool MdlWriteOutput(const MdlOutput& out, const std::string& folder, std::string* error) {
    std::string dir = folder;
    if (!dir.empty() && dir.back() != '/' && dir.back() != '\\') dir += '/';
    if (!dir.empty() && DirCreatePath(dir.c_str()) != 1) {
        *error = "cannot make the folder " + dir;
        return false;
    }
    for (const MdlTextureDesc& t : out.textures) {
        if (!WriteTexture(t, dir + t.name + ".tga")) {
            *error = "cannot write " + dir + t.name + ".tga";
            return false;
        }
    }
    const std::string path = dir + out.title + ".md3";
    if (FileWriteAll(path.c_str(), out.bytes.data(), out.bytes.size()) != 1) {
        *error = "cannot write " + path;
        return false;
    }
    return true;
}

bool MdlCompileFile(const std::string& scenePath, const std::string& folder, std::string* error) {
    void* text = nullptr;
    const int size = FileReadAll(&text, scenePath.c_str(), 0);
    if (size < 0) {
        *error = scenePath + ": cannot be read";
        return false;
    }
    const std::string description(static_cast<const char*>(text), size_t(size));
    MemFree(text);
    MdlOutput out;
    if (!MdlCompile(description, &out, error)) {
        *error = scenePath + ": " + *error;
        return false;
    }
    return MdlWriteOutput(out, folder, error);
}
