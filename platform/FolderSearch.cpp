// The folder search.
#include "platform/FolderSearch.h"

#include "platform/PathResolve.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <algorithm>

namespace {
char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}
} // namespace

bool PlatNameLess(const std::string& a, const std::string& b) {
    const int c = strcasecmp(a.c_str(), b.c_str());
    return c != 0 ? c < 0 : a < b;
}

bool PlatWildcardMatch(const char* pattern, const char* name) {
    if (!pattern || !name) return false;
    // Greedy with one backtrack point: the last "*" seen and where its run ended.
    const char* star = nullptr;
    const char* resume = nullptr;
    while (*name) {
        if (*pattern == '*') {
            star = pattern++;
            resume = name;
        } else if (*pattern && (*pattern == '?' || Lower(*pattern) == Lower(*name))) {
            ++pattern;
            ++name;
        } else if (star) {
            pattern = star + 1;
            name = ++resume;
        } else {
            return false;
        }
    }
    while (*pattern == '*')
        ++pattern;
    return *pattern == 0;
}

size_t PlatFindInFolder(const char* folder, const char* pattern, PlatFindKind kind, size_t limit,
                        std::vector<std::string>* out, bool* cut, const PlatFindAccept& accept) {
    if (cut) *cut = false;
    if (!out) return 0;
    out->clear();
    if (!folder || !pattern) return 0;
    std::string disk;
    PlatPathResolve(folder, &disk);
    if (disk.empty()) disk = ".";
    if (disk.back() != '/') disk += '/';
    DIR* d = opendir(disk.c_str());
    if (!d) return 0;
    while (dirent* e = readdir(d)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        if (!PlatWildcardMatch(pattern, name.c_str())) continue;
        struct stat st;
        if (lstat((disk + name).c_str(), &st) != 0) continue;
        if (kind == PLAT_FIND_FOLDERS ? !S_ISDIR(st.st_mode) : !S_ISREG(st.st_mode)) continue;
        if (accept && !accept(name)) continue;
        if (out->size() >= limit) {
            if (cut) *cut = true;
            break;
        }
        out->push_back(name);
    }
    closedir(d);
    std::sort(out->begin(), out->end(), PlatNameLess);
    return out->size();
}
