// Whole-file reads for the platform layer's own loaders, through the case-insensitive resolver.
#pragma once

#include <cstdint>
#include <vector>

// Reads the regular file at `path` whole into `out`. 1, or -1 (out emptied) when it is missing,
// not a regular file, or cannot be read whole.
int PlatReadWholeFile(const char* path, std::vector<uint8_t>* out);
