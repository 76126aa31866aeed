// What the fuzz targets share: a scratch folder of the process in which the input bytes become
// the file a loader reads, as the game reads its files from disk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// "<scratch folder>/<name>". The folder is made on first use and removed when the process ends;
// every process (and so every parallel campaign job) has its own.
std::string FuzzScratchPath(const char* name);
// Writes the bytes as that file, replacing it; its path. Stops the process when the disk refuses
// (a target that silently read an old file would fuzz nothing).
std::string FuzzWriteFile(const char* name, const uint8_t* data, size_t size);
