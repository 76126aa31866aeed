// Path pieces, split as the Windows run-time's _splitpath does but on either separator.
#include "engine/Paths.h"

#include <cstring>

namespace {

bool IsSep(char c) {
    return c == '\\' || c == '/';
}

// Index just past the last separator: the start of the file name.
size_t NameStart(const std::string& p) {
    for (size_t i = p.size(); i > 0; --i)
        if (IsSep(p[i - 1])) return i;
    return 0;
}

// Index of the extension's dot within the file name, or npos.
size_t ExtStart(const std::string& p) {
    size_t name = NameStart(p);
    size_t dot = p.rfind('.');
    return dot != std::string::npos && dot >= name ? dot : std::string::npos;
}

int CopyOut(const std::string& s, char* out, size_t outSize) {
    if (!out || outSize == 0) return -1;
    if (s.size() >= outSize) {
        out[0] = 0;
        return -1;
    }
    std::memcpy(out, s.c_str(), s.size() + 1);
    return 1;
}

std::string StripExt(const std::string& p) {
    size_t dot = ExtStart(p);
    return dot == std::string::npos ? p : p.substr(0, dot);
}

} // namespace

std::string PathFileTitle(const std::string& path) {
    return StripExt(path).substr(NameStart(path));
}

std::string PathDir(const std::string& path) {
    return path.substr(0, NameStart(path));
}

std::string PathWithExt(const std::string& path, const char* ext) {
    // Scanning back, a dot met before any separator (or a drive colon) starts the old extension.
    size_t dot = std::string::npos;
    for (size_t i = path.size(); i > 0; --i) {
        char c = path[i - 1];
        if (IsSep(c) || c == ':') break;
        if (c == '.') {
            // Removing, the path's first character is never an extension's dot (".profile");
            // replacing, it is, as for any other name.
            if (i - 1 > 0 || ext) dot = i - 1;
            break;
        }
    }
    if (!ext) return dot == std::string::npos ? path : path.substr(0, dot);
    while (*ext == '.')
        ++ext;
    std::string base = dot == std::string::npos ? path : path.substr(0, dot);
    return base + "." + ext;
}

int PathGetFileTitle(const char* path, char* out, size_t outSize) {
    return CopyOut(PathFileTitle(path ? path : ""), out, outSize);
}

int PathStripExt(const char* path, char* out, size_t outSize) {
    return CopyOut(StripExt(path ? path : ""), out, outSize);
}

int PathGetDir(const char* path, char* out, size_t outSize) {
    return CopyOut(PathDir(path ? path : ""), out, outSize);
}

int PathSetExt(char* path, size_t pathSize, const char* ext) {
    if (!path || pathSize == 0) return -1;
    std::string r = PathWithExt(std::string(path, strnlen(path, pathSize)), ext);
    if (r.size() >= pathSize) return -1;
    std::memcpy(path, r.c_str(), r.size() + 1);
    return 1;
}
