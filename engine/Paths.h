// Path pieces, Windows-style: "\" and "/" both separate folders. Every function that writes a
// C string takes the destination size and fails cleanly when the result does not fit: it returns
// -1 and leaves an empty string (never a cut path, which would name another file).
#pragma once

#include <cstddef>
#include <string>

// File name without folder and extension ("Data\Menu\Main.lua" -> "Main").
int PathGetFileTitle(const char* path, char* out, size_t outSize);
// Folder and file name without the extension.
int PathStripExt(const char* path, char* out, size_t outSize);
// Folder part, ending in its separator; "" when the path has none.
int PathGetDir(const char* path, char* out, size_t outSize);
// Replaces the extension in place. Leading dots of `ext` are skipped; a dot inside a folder name
// is not an extension; a null `ext` removes the old extension (but the path's first character is
// never taken as its dot then: ".profile" stays, where ".profile" + "lua" gives ".lua"). 1, or -1
// with the path unchanged when the result would not fit.
int PathSetExt(char* path, size_t pathSize, const char* ext);

// The same on std::string, for code that builds paths freely.
std::string PathFileTitle(const std::string& path);
std::string PathDir(const std::string& path);
std::string PathWithExt(const std::string& path, const char* ext);
