// Folders over POSIX, with Windows-style names.
#include "engine/Dirs.h"

#include "platform/PathResolve.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

namespace {

std::string DiskName(const char* path) {
    std::string disk;
    PlatPathResolve(path, &disk);
    while (disk.size() > 1 && disk.back() == '/')
        disk.pop_back();
    return disk;
}

int MakeDir(const std::string& disk) {
    if (disk.empty()) return -1;
    if (mkdir(disk.c_str(), 0755) == 0) {
        PlatPathCacheInvalidate(disk);
        return 1;
    }
    struct stat st;
    if (errno == EEXIST && stat(disk.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return 0;
    return -1;
}

// Creates each folder that ends before a separator of `norm`, then `norm` itself unless
// `wholePath` is false.
int CreateAlong(const std::string& norm, bool wholePath) {
    for (size_t i = 1; i < norm.size(); ++i) {
        if (norm[i] != '/') continue;
        MakeDir(DiskName(norm.substr(0, i).c_str()));
    }
    std::string target = norm;
    if (!wholePath) {
        size_t slash = target.rfind('/');
        if (slash == std::string::npos) return 1;
        target.resize(slash);
        if (target.empty()) return 1; // a file in the root folder
    }
    return MakeDir(DiskName(target.c_str())) >= 0 ? 1 : -1;
}

void DeleteInside(const std::string& dir) {
    DIR* d = opendir(dir.c_str());
    if (!d) return;
    while (dirent* e = readdir(d)) {
        std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        std::string child = dir + "/" + name;
        struct stat st;
        if (lstat(child.c_str(), &st) != 0) continue;
        if (S_ISDIR(st.st_mode)) {
            DeleteInside(child);
            rmdir(child.c_str());
        } else {
            unlink(child.c_str()); // files and links alike: a link goes, its target stays
        }
    }
    closedir(d);
}

} // namespace

int DirCreate(const char* path) {
    return MakeDir(DiskName(path));
}

int DirRemove(const char* path) {
    std::string disk = DiskName(path);
    if (disk.empty() || rmdir(disk.c_str()) != 0) return -1;
    PlatPathCacheInvalidate(disk);
    return 1;
}

int DirCreatePath(const char* path) {
    std::string norm = PlatPathNormalize(path);
    if (norm.empty()) return -1;
    return CreateAlong(norm, true);
}

int DirCreateForFile(const char* path) {
    std::string norm = PlatPathNormalize(path);
    if (norm.empty()) return -1;
    return CreateAlong(norm, false);
}

void DirDeleteTree(const char* folder) {
    std::string disk = DiskName(folder);
    if (disk.empty()) return;
    struct stat st;
    // The folder itself must be a real folder: a link named as the tree is not followed.
    if (lstat(disk.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return;
    DeleteInside(disk);
    PlatPathCacheClear();
}

int DirIsInside(const char* path, const char* outer) {
    if (!path || !outer) return 0;
    std::string disk = DiskName(path), outerDisk = DiskName(outer);
    if (disk.empty() || outerDisk.empty()) return 0;
    char inner[PATH_MAX], base[PATH_MAX];
    if (!realpath(disk.c_str(), inner) || !realpath(outerDisk.c_str(), base)) return 0;
    std::string in = inner, out = base;
    if (out.back() != '/') out += '/';
    return in.size() > out.size() && in.compare(0, out.size(), out) == 0 ? 1 : 0;
}

int DirIsRealInside(const char* path, const char* outer) {
    if (!path) return 0;
    std::string disk = DiskName(path);
    struct stat st;
    if (disk.empty() || lstat(disk.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return 0;
    return DirIsInside(path, outer);
}
