// Save names and the paths they become: the name check, the path builders and the existence
// tests and deletions of careers, sandboxes and layouts.
#include "game/MtGameSavePaths.h"
#include "engine/DebugLog.h"
#include "engine/Dirs.h"
#include "engine/Files.h"
#include "engine/Paths.h"
#include "game/MtGameSave.h"

#include <cstdio>
#include <cstring>

namespace {

// The save folder with its separator, so that a name is always a child of it.
std::string Folder() {
    std::string folder = MtGameSaveFolder();
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += '/';
    return folder;
}

bool CopyOut(const std::string& path, char* out, size_t outSize) {
    if (!out || outSize == 0) return false;
    if (path.empty() || path.size() >= outSize) {
        out[0] = 0;
        return false;
    }
    std::memcpy(out, path.c_str(), path.size() + 1);
    return true;
}

} // namespace

bool MtGameSaveNameValid(const char* name) {
    if (!name) return false;
    const size_t length = strnlen(name, MTGAME_SAVE_NAME_MAX + 1);
    if (length == 0 || length > MTGAME_SAVE_NAME_MAX) return false;
    if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) return false;
    for (size_t i = 0; i < length; ++i) {
        const unsigned char c = (unsigned char)name[i];
        if (c < 32 || c == 127 || c == '/' || c == '\\' || c == ':') return false;
    }
    // Windows drops a trailing dot or blank, so such a name would be another file there; the ini
    // reader trims a leading blank, so a career named so would load back under another name.
    return name[0] != ' ' && name[length - 1] != '.' && name[length - 1] != ' ';
}

bool MtGameCheckSaveName(const char* name, const char* operation) {
    if (MtGameSaveNameValid(name)) return true;
    DbgPrintf(DBG_GENERAL, "%s: \"%.40s\" is not a save name; refused\n", operation,
              name ? name : "(null)");
    return false;
}

bool MtGameCareerFolderSafe(const char* career, const char* operation) {
    const std::string folder = MtGameCareerFolderOf(career);
    // The name is checked, but the folder may still be a link leading out of the save folder.
    if (DirIsRealInside(folder.c_str(), Folder().c_str()) == 1) return true;
    DbgPrintf(DBG_GENERAL, "%s: %s is no folder of its own inside the save folder; refused\n",
              operation, folder.c_str());
    return false;
}

// ---- paths ----

std::string MtGameCareerFolderOf(const char* career) {
    if (!MtGameSaveNameValid(career)) return "";
    return Folder() + career;
}

std::string MtGameCareerPathOf(const char* career) {
    if (!MtGameSaveNameValid(career)) return "";
    return PathWithExt(Folder() + career + "/" + career, ".car");
}

std::string MtGameSandboxPathOf(const char* name) {
    if (!MtGameSaveNameValid(name)) return "";
    // Appended, never replacing: "A.B" is its own sandbox, not "A".
    return Folder() + name + ".sbx";
}

std::string MtGameLayoutPathOf(MtGame* game, const char* name) {
    if (!game || !MtGameSaveNameValid(name) || !MtGameSaveNameValid(game->career.name)) return "";
    char venue[16];
    std::snprintf(venue, sizeof venue, "%02i", (int)game->venueId);
    return Folder() + game->career.name + "/Layout" + venue + "_" + name + ".lay";
}

bool MtGameCareerPath(char* out, size_t outSize, const char* career) {
    return CopyOut(MtGameCareerPathOf(career), out, outSize);
}

bool MtGameSandboxPath(char* out, size_t outSize, const char* name) {
    return CopyOut(MtGameSandboxPathOf(name), out, outSize);
}

bool MtGameLayoutPath(MtGame* game, char* out, size_t outSize, const char* name) {
    return CopyOut(MtGameLayoutPathOf(game, name), out, outSize);
}

// ---- existence and deletion ----

bool MtGameCareerExists(const char* career) {
    if (!MtGameCheckSaveName(career, "MtGameCareerExists")) return false;
    return FileExists(MtGameCareerPathOf(career).c_str()) == 1;
}

bool MtGameDeleteCareer(const char* career) {
    if (!MtGameCheckSaveName(career, "MtGameDeleteCareer")) return false;
    const std::string folder = MtGameCareerFolderOf(career);
    // The name is checked, but the folder may still be a link to somewhere else.
    if (!DirIsInside(folder.c_str(), Folder().c_str())) {
        DbgPrintf(DBG_GENERAL, "MtGameDeleteCareer: %s is no folder inside the save folder\n",
                  folder.c_str());
        return false;
    }
    DirDeleteTree(folder.c_str());
    return DirRemove(folder.c_str()) == 1;
}

bool MtGameSandboxExists(const char* name) {
    if (!MtGameCheckSaveName(name, "MtGameSandboxExists")) return false;
    return FileExists(MtGameSandboxPathOf(name).c_str()) == 1;
}

bool MtGameDeleteSandbox(const char* name) {
    if (!MtGameCheckSaveName(name, "MtGameDeleteSandbox")) return false;
    return FileDelete(MtGameSandboxPathOf(name).c_str()) == 1;
}

bool MtGameLayoutExists(MtGame* game, const char* name) {
    if (!game || !MtGameCheckSaveName(name, "MtGameLayoutExists") ||
        !MtGameCheckSaveName(game->career.name, "MtGameLayoutExists"))
        return false;
    return FileExists(MtGameLayoutPathOf(game, name).c_str()) == 1;
}

bool MtGameDeleteLayout(MtGame* game, const char* name) {
    if (!game || !MtGameCheckSaveName(name, "MtGameDeleteLayout") ||
        !MtGameCheckSaveName(game->career.name, "MtGameDeleteLayout") ||
        !MtGameCareerFolderSafe(game->career.name, "MtGameDeleteLayout"))
        return false;
    return FileDelete(MtGameLayoutPathOf(game, name).c_str()) == 1;
}
