// Case-insensitive path lookup over a small cache of directory listings.
#include "platform/PathResolve.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace {

struct DirListing {
    // lower-cased name -> name on disk; the first spelling in sorted order wins so that the
    // same path always resolves to the same file when two spellings exist.
    std::unordered_map<std::string, std::string> byLower;
};

std::unordered_map<std::string, DirListing> s_dirCache;

std::string ToLowerAscii(const std::string& s) {
    std::string r = s;
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
    return r;
}

bool Exists(const std::string& p) {
    struct stat st;
    return lstat(p.empty() ? "." : p.c_str(), &st) == 0;
}

// `dir` is "" for the current folder, else a path ending in "/".
const DirListing* ScanDir(const std::string& dir, bool rescan) {
    auto it = s_dirCache.find(dir);
    if (it != s_dirCache.end() && !rescan) return &it->second;
    DIR* d = opendir(dir.empty() ? "." : dir.c_str());
    if (!d) {
        if (it != s_dirCache.end()) s_dirCache.erase(it);
        return nullptr;
    }
    std::vector<std::string> names;
    while (dirent* e = readdir(d)) {
        std::string n = e->d_name;
        if (n != "." && n != "..") names.push_back(n);
    }
    closedir(d);
    std::sort(names.begin(), names.end());
    DirListing listing;
    for (const std::string& n : names)
        listing.byLower.emplace(ToLowerAscii(n), n);
    return &(s_dirCache[dir] = std::move(listing));
}

// Looks `name` up case-insensitively in `dir`. A miss rescans once; so does a hit that is no
// longer on disk (another program renamed or removed it since the folder was listed).
bool FindInDir(const std::string& dir, const std::string& name, std::string* found) {
    const std::string key = ToLowerAscii(name);
    for (int pass = 0; pass < 2; ++pass) {
        const DirListing* listing = ScanDir(dir, pass == 1);
        if (!listing) return false;
        auto hit = listing->byLower.find(key);
        if (hit != listing->byLower.end() && (pass == 1 || Exists(dir + hit->second))) {
            *found = hit->second;
            return true;
        }
    }
    return false;
}

} // namespace

std::string PlatPathNormalize(const char* path) {
    std::string r;
    if (!path) return r;
    for (const char* p = path; *p; ++p) {
        char c = *p == '\\' ? '/' : *p;
        if (c == '/' && !r.empty() && r.back() == '/') continue;
        r.push_back(c);
    }
    return r;
}

int PlatPathResolve(const char* path, std::string* out) {
    std::string norm = PlatPathNormalize(path);
    if (norm.empty()) {
        if (out) out->clear();
        return 0;
    }
    if (Exists(norm)) {
        if (out) *out = norm;
        return 1;
    }
    // Walk the components, keeping the longest prefix that exists on disk.
    std::string cur;
    size_t pos = 0;
    if (norm[0] == '/') {
        cur = "/";
        pos = 1;
    }
    while (pos < norm.size()) {
        size_t slash = norm.find('/', pos);
        bool last = slash == std::string::npos;
        std::string comp = norm.substr(pos, last ? std::string::npos : slash - pos);
        size_t next = last ? norm.size() : slash + 1;
        std::string exact = cur + comp;
        std::string onDisk;
        if (comp == "." || comp == ".." || Exists(exact)) {
            cur = exact;
        } else if (FindInDir(cur, comp, &onDisk)) {
            cur += onDisk;
        } else {
            if (out) *out = cur + norm.substr(pos);
            return 0;
        }
        if (!last) cur += '/';
        pos = next;
    }
    if (out) *out = cur;
    return 1;
}

void PlatPathCacheInvalidate(const std::string& diskPath) {
    std::string p = PlatPathNormalize(diskPath.c_str());
    while (!p.empty() && p.back() == '/' && p.size() > 1)
        p.pop_back();
    size_t slash = p.rfind('/');
    std::string dir = slash == std::string::npos ? std::string() : p.substr(0, slash + 1);
    s_dirCache.erase(dir);
    // A folder that was removed or replaced takes its own listing with it.
    s_dirCache.erase(p + "/");
}

void PlatPathCacheClear() {
    s_dirCache.clear();
}
