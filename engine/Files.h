// Files by descriptor and whole-file reads. Paths are Windows-style: "\" or "/" separate, and a
// name that misses on disk is found again case-insensitively ("Config.ini" = "config.ini").
#pragma once

#include <cstddef>

// Mode 0: read. Mode 1: write, create, truncate. Mode 2: write, create, keep the contents.
// Any other mode, or a folder, gives -1.
int FileOpen(const char* path, int mode);
int FileClose(int fd);
// Moves to a position from the start; the new position, or -1.
long FileSeek(int fd, long position);
// Bytes read or written, or -1. A short count only at the end of the file.
int FileRead(int fd, void* buffer, int bytes);
int FileWrite(int fd, const void* buffer, int bytes);
// Reads FileLength bytes from the current position: the bytes read, or -1.
int FileReadWhole(int fd, void* buffer);
// Length in bytes, or -1.
int FileLength(int fd);

// Reads a whole file into a new MemAlloc block (freed with MemFree). With `terminate` two zero
// bytes follow the contents and are counted in the size. Returns the size, or -1 with *out null:
// a missing file, a folder, a read error or no memory never leaves a half-filled buffer.
int FileReadAll(void** out, const char* path, int terminate);

// Writes a whole file safely: into "<path>.tmp" first (flushed to the disk), then renamed over
// the old file, and the folder flushed so that the rename itself survives a power cut. A failure
// part-way leaves the old contents intact and removes the temporary file. Missing folders are
// not created. Writers into one folder, in any program, take turns (a lock on the folder held
// until the rename), so two saves of one name each end whole and each is told its own outcome.
// 1 or -1; a failure is logged with the system's reason.
int FileWriteAll(const char* path, const void* data, size_t bytes);
// The system's reason for the last failed FileWriteAll ("No space left on device"); "" when
// the last one failed on its arguments or did not fail.
const char* FileLastWriteError();
// For tests of callers' failure paths: while set, every FileWriteAll writes half of its bytes
// and then fails as a full disk would.
void FileSetWriteFault(bool failHalfway);

// 1 when the file opens for reading, else 0.
int FileExists(const char* path);
// 1 when deleted, -1 when it could not be.
int FileDelete(const char* path);

// The handle layer of the image loaders: a handle is a FileOpen descriptor. A failed open gives
// -1, a failed length -1 and a failed read 0; a read returns the bytes read.
int VdriveOpen(const char* path, int mode);
int VdriveFileLength(int handle);
int VdriveFileRead(int handle, void* buffer);
void VdriveFileClose(int handle);
