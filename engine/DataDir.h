// A class data folder: a folder path with a pointer to its end, behind which a file name is
// written to name a file in that folder.
#pragma once

struct DataDir {
    char path[260];
    char* end; // the terminator of path
};

// The folder part of a file path ("Data\Rides\Ferris.ini" -> "Data\Rides\"); a null path gives
// the program folder followed by "Data/". 1, or -1 and an empty folder when it does not fit.
int DataDirSetFromFile(DataDir* dir, const char* filePath);
// Folder + name into out; 1, or -1 and "" when it does not fit.
int DataDirFile(const DataDir* dir, const char* name, char* out, unsigned outSize);
