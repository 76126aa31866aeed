// Folders: create, remove, create whole paths, delete trees.
#pragma once

// 1 when created, 0 when it already exists, -1 when it could not be made.
int DirCreate(const char* path);
// 1 when removed (it must be empty), -1 otherwise.
int DirRemove(const char* path);
// Creates every folder along the path, outermost first ("a\b\c": a, a/b, a/b/c). Folders that
// already exist are fine. 1 when the whole path exists afterwards, else -1.
int DirCreatePath(const char* path);
// The same for the folder part of a file path only.
int DirCreateForFile(const char* path);
// Deletes everything inside the folder, which itself stays. Symbolic links are removed, never
// followed, so nothing outside the tree is touched. A folder that cannot be listed is left alone.
void DirDeleteTree(const char* folder);
// 1 when the folder exists and, with every link and "." or ".." resolved, lies strictly inside
// `outer` (not `outer` itself); else 0. Guards a tree deletion whose path holds user text.
int DirIsInside(const char* path, const char* outer);
// 1 when `path` is a folder itself, not a link to one, and lies inside `outer` as DirIsInside
// says; else 0. Guards a write into a folder named by user text.
int DirIsRealInside(const char* path, const char* outer);
