// Finding the documents folder the way the desktop's user-dirs settings name it.
#include "engine/UserFolder.h"

#include "engine/DebugLog.h"
#include "engine/Dirs.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>

namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string WithSlash(std::string path) {
    if (!path.empty() && path.back() != '/') path += '/';
    return path;
}

bool IsFolder(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The value of XDG_DOCUMENTS_DIR in the user-dirs file: a quoted path, either absolute or
// "$HOME/..."; "" when the file or the entry is missing or malformed.
std::string FromUserDirs(const std::string& home) {
    std::string config = Env("XDG_CONFIG_HOME");
    if (config.empty() || config[0] != '/') {
        if (home.empty()) return "";
        config = home + "/.config";
    }
    std::ifstream file(config + "/user-dirs.dirs");
    const std::string key = "XDG_DOCUMENTS_DIR=\"";
    for (std::string line; std::getline(file, line);) {
        size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, key.size(), key) != 0) continue;
        size_t begin = start + key.size();
        size_t end = line.find('"', begin);
        if (end == std::string::npos) return "";
        std::string value = line.substr(begin, end - begin);
        if (value.rfind("$HOME", 0) == 0) {
            if (home.empty()) return "";
            value = home + value.substr(5);
        }
        if (value.empty() || value[0] != '/') return "";
        // The desktop's way of saying "no documents folder": the entry names the home folder.
        if (WithSlash(value) == WithSlash(home)) return "";
        return value;
    }
    return "";
}

} // namespace

std::string UserDocumentsFolder() {
    std::string home = WithSlash(Env("HOME"));
    // A relative folder would move the settings with the working folder: it counts as unset.
    std::string documents = Env("XDG_DOCUMENTS_DIR");
    if (!documents.empty() && documents[0] != '/') documents.clear();
    if (documents.empty()) documents = FromUserDirs(Env("HOME"));
    if (documents.empty() && !home.empty() && IsFolder(home + "Documents"))
        documents = home + "Documents";
    return WithSlash(documents);
}

std::string UserGameFolder() {
    std::string documents = UserDocumentsFolder();
    return documents.empty() ? "" : documents + "Fairlark/";
}

namespace {

// "" when the folder is there, or could be made with every folder along it, and can be written
// into; else the system's reason.
std::string Unusable(const std::string& folder) {
    if (DirCreatePath(folder.c_str()) != 1) return std::strerror(errno == 0 ? ENOTDIR : errno);
    if (access(folder.c_str(), W_OK | X_OK) != 0) return std::strerror(errno);
    return "";
}

} // namespace

std::string UserSaveFolder(const std::string& programFolder) {
    const std::string game = UserGameFolder();
    const std::string saves = programFolder + "Saves/";
    if (game.empty()) return saves;
    errno = 0;
    const std::string reason = Unusable(game);
    if (reason.empty()) return game;
    // Said once per folder: the settings and the saves ask in turn.
    static std::set<std::string> s_told;
    if (s_told.insert(game).second) {
        char text[1200];
        std::snprintf(text, sizeof text,
                      "Fairlark: the folder %s cannot be used (%s); settings and saves go in %s\n",
                      game.c_str(), reason.c_str(), saves.c_str());
        std::fputs(text, stderr);
        DbgPrintf(DBG_GENERAL, "%s", text);
    }
    return saves;
}
