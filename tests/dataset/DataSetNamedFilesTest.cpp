// Everything the shipped data names, loaded through the loader the game reads it with: every
// file named by an ini file, a Lua script or a character descriptor of the generated Data/, and
// every texture the named models name. A file the data names that is missing, or that its
// loader refuses, fails here by name.
#include "I3d/I3d.h"
#include "I3d/Image.h"
#include "I3d/Materials.h"
#include "I3d/Mdl3.h"
#include "I3d/Textures.h"
#include "engine/IniFile.h"
#include "engine/Sound/SndStream.h"
#include "engine/Sound/Sound.h"
#include "gi/GM_ModelFile.h"
#include "gi/giAnimation.h"
#include "gi/giDebug.h"
#include "platform/d3d8/Recording.h"
#include "tests/dataset/DataSetFiles.h"
#include "tests/support/TestSupport.h"
#include "world/Foliage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// How the game reads a named file.
enum class Loader {
    Sound,
    Music,
    Texture,
    Image,
    Model,
    GmModel,
    GmAnimation,
    Script,
    Ini,
    Foliage
};

struct Named {
    std::string name; // as the data writes it, below Data/
    std::string by;   // the data file that names it
    Loader loader;
};

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

bool EndsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && Lower(s.substr(s.size() - end.size())) == end;
}

// Names below the program folder ("Data\Grass\Grass.tga") are read below Data/ ("Grass\...").
std::string BelowData(std::string name) {
    if (Lower(name.substr(0, 5)) == "data\\") name = name.substr(5);
    return name;
}

// The loader of a file named by an ini key, or none for a value that names no file.
bool IniLoader(const std::string& file, const std::string& key, const std::string& value,
               Loader* loader) {
    if (key == "soundFile") return *loader = Loader::Sound, true;
    // An attraction's music plays as a sound; a venue's streams through the music entity.
    if (key == "musicFile")
        return *loader = EndsWith(file, "venue.ini") ? Loader::Music : Loader::Sound, true;
    if (key == "texFileName" || key == "textureFile" || key == "texture")
        return *loader = Loader::Texture, true;
    if (EndsWith(key, "grassmapfile")) return *loader = Loader::Image, true;
    if (key == "modelFileName" || key == "modelFile") return *loader = Loader::Model, true;
    if (key == "scriptFile") return *loader = Loader::Script, true;
    if (key == "posFile") return *loader = Loader::Foliage, true;
    if (key == "mapName") return *loader = Loader::Image, true; // "<map> elevation.tga"
    // Anything else that looks like a file by its extension.
    for (const char* ext : {".ini", ".lua"})
        if (EndsWith(value, ext))
            return *loader = ext[1] == 'i' ? Loader::Ini : Loader::Script, true;
    return false;
}

void FromIni(const std::string& file, std::vector<Named>* out) {
    std::istringstream lines(ReadTextFile(DataFolder() + file));
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t eq = line.find('=');
        if (line.empty() || line[0] == ';' || line[0] == '[' || eq == std::string::npos) continue;
        const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        Loader loader;
        if (value.empty() || !IniLoader(file, key, value, &loader)) continue;
        std::string name = BelowData(value);
        if (key == "mapName") name += " elevation.tga";
        out->push_back({name, file, loader});
    }
}

// String literals of a script that name a file: a "\"-separated path ("Venues\\Default\\...").
void FromLua(const std::string& file, std::vector<Named>* out) {
    const std::string text = ReadTextFile(DataFolder() + file);
    static const std::regex literal("\"([A-Za-z0-9_ ]+(\\\\\\\\[A-Za-z0-9_ ]+)+\\.[A-Za-z0-9]+)\"");
    for (std::sregex_iterator it(text.begin(), text.end(), literal), end; it != end; ++it) {
        std::string name = std::regex_replace((*it)[1].str(), std::regex("\\\\\\\\"), "\\");
        Loader loader;
        if (IniLoader(file, "", name, &loader)) out->push_back({BelowData(name), file, loader});
    }
}

// A character descriptor's model, skeleton and clips.
void FromDescriptor(const std::string& file, std::vector<Named>* out) {
    const std::string text = ReadTextFile(DataFolder() + file);
    static const std::regex element("<(Model|Skeleton|file)>([^<]+)</");
    for (std::sregex_iterator it(text.begin(), text.end(), element), end; it != end; ++it)
        out->push_back({BelowData((*it)[2].str()), file,
                        (*it)[1].str() == "file" ? Loader::GmAnimation : Loader::GmModel});
}

std::vector<Named> EverythingNamed() {
    std::vector<Named> named;
    for (const std::string& file : FilesBelow(DataFolder())) {
        if (EndsWith(file, ".ini")) FromIni(file, &named);
        if (EndsWith(file, ".lua")) FromLua(file, &named);
        if (EndsWith(file, ".xml")) FromDescriptor(file, &named);
    }
    return named;
}

// The textures a model's materials name, each loaded from the model's folder as the game does:
// what is wrong, or empty.
std::string LoadModel(const std::string& path, std::vector<std::string>* textures) {
    MDL3* model = Mdl3Load(path.c_str(), 0);
    if (!model) return "the model loader refuses it";
    Mdl3LoadTextures(model, path.c_str());
    std::string fault;
    for (int i = 0; i < model->numMaterials; ++i) {
        const MDL3MTRL& m = model->materials[i];
        const struct {
            const char* map;
            int32_t slot;
        } maps[] = {
            {m.diffuseMap, m.diffuseSlot}, {m.bumpMap, m.bumpSlot}, {m.detailMap, m.detailSlot}};
        for (const auto& map : maps) {
            const std::string name(map.map, strnlen(map.map, 32));
            if (name.empty()) continue;
            textures->push_back(name);
            if (map.slot < 0) fault += " texture \"" + name + "\" does not load;";
        }
    }
    Mdl3FreeTextures(model);
    Mdl3Release(model);
    return fault;
}

// What is wrong with one named file, or empty.
std::string Load(const Named& n, const std::string& path, std::vector<std::string>* textures) {
    switch (n.loader) {
        case Loader::Sound: {
            SndBuffer* buffer = SndLoadBuffer(path.c_str());
            if (!buffer) return "the sound loader refuses it";
            SharedObjRelease(buffer);
            return "";
        }
        case Loader::Music: {
            SndStream stream;
            SndStreamStart(&stream, path.c_str());
            SndStreamPlay(&stream);
            const bool plays = stream.file && !stream.finished;
            SndStreamStop(&stream);
            return plays ? "" : "the music stream does not play it";
        }
        case Loader::Texture: {
            const int slot = I3dTexLoad(path.c_str(), nullptr, 0);
            if (slot < 0) return "the texture loader refuses it";
            I3dTexRelease(slot);
            return "";
        }
        case Loader::Image: {
            I3dImage* image = ImgLoadTga(path.c_str(), nullptr);
            ImgFree(image);
            return image ? "" : "the TGA reader refuses it";
        }
        case Loader::Model: return LoadModel(path, textures);
        case Loader::GmModel: {
            GM_ModelFile model;
            return model.LoadFromFile(path.c_str()) == 1 ? "" : "the GM model reader refuses it";
        }
        case Loader::GmAnimation: {
            giAnimation clip;
            return clip.Load(path.c_str()) ? "" : "the animation reader refuses it";
        }
        case Loader::Script: return ScriptFault(path, false);
        case Loader::Ini: return IniOpen(path.c_str()) >= 0 ? "" : "the ini reader refuses it";
        case Loader::Foliage: {
            std::vector<FoliageRecord> records;
            return FoliageRead(path.c_str(), &records) >= 0 ? "" : "the foliage reader refuses it";
        }
    }
    return "no loader";
}

class DataSetNamedFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        D3dRecordingSetup(D3dRecordingConfig{});
        D3dSetCreateEntry(Direct3DCreate8Recording);
        ASSERT_EQ(I3dStart(), 0);
        ASSERT_EQ(I3dTexTableAlloc(800), 0) << "the application's 800 texture slots";
        ASSERT_EQ(D3dCreateDevice(0, nullptr, 1, 1024, 768, D3DFMT_X8R8G8B8, I3D_DEVICE_LOCKABLE),
                  0);
        ASSERT_EQ(SndInit("", 0, 32), 0) << "OpenAL Soft's null backend under ctest";
    }
    void TearDown() override {
        SndShutdown();
        IniClose();
        I3dStop();
        giMessageBoxReset();
    }
};

TEST_F(DataSetNamedFiles, EveryFileTheDataNamesExistsAndLoadsThroughItsOwnLoader) {
    const std::vector<Named> named = EverythingNamed();
    std::set<std::string> seen;
    std::vector<std::string> textures; // named by the models
    size_t sounds = 0;
    for (const Named& n : named) {
        if (!seen.insert(Lower(n.name) + char('0' + (int)n.loader)).second) continue;
        // A texture may be named without its extension: the loader tries ".dds", then ".tga".
        std::string path = DataFile(n.name);
        const std::string stem = n.name.substr(0, n.name.find_last_of('.'));
        if (path.empty() && n.loader == Loader::Texture)
            for (const char* ext : {".dds", ".tga"})
                if (!DataFile(stem + ext).empty()) path = DataFolder() + n.name;
        if (path.empty()) {
            ADD_FAILURE() << n.name << " (named by " << n.by << ") is missing";
            continue;
        }
        const std::string fault = Load(n, path, &textures);
        EXPECT_EQ(fault, "") << n.name << " (named by " << n.by << ")";
        sounds += n.loader == Loader::Sound;
    }
    // The attractions' own sounds, the carousel's organ among them.
    EXPECT_GE(sounds, 10u);
    for (const char* file : {"Sounds\\Carousel.wav", "Music\\BandOrgan.ogg", "Sounds\\Goats.wav"})
        EXPECT_TRUE(seen.count(Lower(file) + char('0' + (int)Loader::Sound))) << file;
    EXPECT_TRUE(seen.count(Lower("Venues\\Default\\World.ini") + char('0' + (int)Loader::Ini)))
        << "the venue script's world file";
    EXPECT_FALSE(textures.empty()) << "the models name no textures";
}

} // namespace
