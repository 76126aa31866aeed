// Windows-style file names on a case-sensitive file system: "\" and "/" both separate, and a
// name that misses is looked up again case-insensitively, one component at a time.
#pragma once

#include <string>

// Turns every "\" into "/" and collapses repeated separators ("Data//Fonts" -> "Data/Fonts").
std::string PlatPathNormalize(const char* path);

// Finds the file or folder a Windows-style path names. Returns 1 and the path as it is on disk
// when it exists (the exact spelling wins over another case); returns 0 when it does not, with
// `out` holding the existing folders as spelled on disk followed by the rest as given, so that
// a file created under that name lands in the folder the caller meant. A miss rescans the
// folder once, since another process may have made the file since the last scan.
int PlatPathResolve(const char* path, std::string* out);

// Our own creates and deletes call this so the directory cache never hides or invents a name.
void PlatPathCacheInvalidate(const std::string& diskPath);

// Drops every cached directory listing (tests, and after bulk changes by other programs).
void PlatPathCacheClear();
