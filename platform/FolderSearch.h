// Listing a folder by a file-name pattern, as the save screens list careers, sandboxes and
// layouts. Patterns hold "*" (any run of characters, none included) and "?" (one character) and
// match without regard to ASCII case; every other character stands for itself.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

enum PlatFindKind {
    PLAT_FIND_FOLDERS = 0, // real folders: never a symbolic link, never "." or ".."
    PLAT_FIND_FILES = 1,   // regular files: never a symbolic link
};

// Whether the whole name matches the whole pattern.
bool PlatWildcardMatch(const char* pattern, const char* name);

// The order of the lists: by name without regard to ASCII case, then by bytes.
bool PlatNameLess(const std::string& a, const std::string& b);

// Which matching names the caller can use; a name refused here takes no place under the limit.
using PlatFindAccept = std::function<bool(const std::string& name)>;

// The names of the folder's entries of that kind matching the pattern (and taken by `accept`
// when given), sorted by PlatNameLess. The folder is a Windows-style path, resolved as every
// path is. At most `limit` names are kept: the search stops at the first name past it and sets
// *cut. A folder that does not exist or cannot be read gives no names. Returns how many were
// kept.
size_t PlatFindInFolder(const char* folder, const char* pattern, PlatFindKind kind, size_t limit,
                        std::vector<std::string>* out, bool* cut,
                        const PlatFindAccept& accept = nullptr);
