// The numbers a load screen shows of a save file: whole numbers of one section read with the ini
// reader, each its default when the file, the section or the key is missing.
#pragma once

// Reads `count` keys of the section into `out`; a file that cannot be read leaves every default.
void LoadListReadInts(const char* path, const char* section, const char* const* keys,
                      const int* defaults, int* out, int count);
