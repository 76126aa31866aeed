// Reading the build's generated Data/ as the game reads it.
#include "tests/dataset/DataSetFiles.h"

#include "platform/PathResolve.h"
#include "platform/d3dx/DdsFile.h"

#include <lua.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>

const std::string& DataFolder() {
    static const std::string s_folder = FAIRLARK_BUILD_DATA_DIR;
    return s_folder;
}

std::string DataFile(const std::string& gamePath, const std::string& folder) {
    std::string found;
    return PlatPathResolve((folder + gamePath).c_str(), &found) == 1 ? found : std::string();
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return {};
    std::vector<uint8_t> bytes(size_t(std::max<std::streamoff>(in.tellg(), 0)));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!in) bytes.clear();
    return bytes;
}

std::vector<std::string> FilesBelow(const std::string& folder) {
    namespace fs = std::filesystem;
    std::vector<std::string> files;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error))
        if (it->is_regular_file()) files.push_back(fs::relative(it->path(), folder).string());
    std::sort(files.begin(), files.end());
    return files;
}

DdsPicture ReadDds(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadBytes(path);
    DdsInfo info;
    DdsPicture picture;
    if (DdsParse(bytes.data(), bytes.size(), &info) != 0 || info.pixels != DDS_ARGB32 || info.cube)
        return picture;
    picture.width = info.width;
    picture.height = info.height;
    picture.argb.resize(size_t(info.width) * info.height);
    const uint8_t* p = bytes.data() + DDS_HEADER_BYTES; // B, G, R, A
    for (uint32_t& texel : picture.argb) {
        texel = uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
        p += 4;
    }
    return picture;
}

// Compiles the script; with `wantCreate`, also runs it and wants a global Create function.
std::string ScriptFault(const std::string& file, bool wantCreate) {
    const std::vector<uint8_t> text = ReadBytes(file);
    lua_State* L = luaL_newstate();
    std::string fault;
    if (luaL_loadbufferx(L, reinterpret_cast<const char*>(text.data()), text.size(), file.c_str(),
                         "t") != LUA_OK) {
        fault = lua_tostring(L, -1);
    } else if (wantCreate) {
        if (lua_pcall(L, 0, 0, 0) != LUA_OK)
            fault = lua_tostring(L, -1);
        else if (lua_getglobal(L, "Create") != LUA_TFUNCTION)
            fault = "no function Create";
    }
    lua_close(L);
    return fault;
}
