// A class data folder: a folder path, behind which a file name is written to name a file in
// that folder.
#pragma once

#include <string>

struct DataDir {
    std::string path; // ends in its separator, or is empty when no folder is set
};

// The folder part of a file path ("Data\Rides\Ferris.ini" -> "Data\Rides\", "" for a path with
// none); a null path gives the program folder followed by "Data/". Folders of any length are
// kept. 1, or -1 and an empty folder for a null path while the program folder is unknown.
int DataDirSetFromFile(DataDir* dir, const char* filePath);
// Folder + name into out; 1, or -1 and "" when it does not fit.
int DataDirFile(const DataDir* dir, const char* name, char* out, unsigned outSize);
