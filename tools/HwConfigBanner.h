// The configuration dialog's banner picture: a BMP file made into a GL texture.
#pragma once

// Loads the BMP at `path` (relative paths are taken from the program folder; "\" and "/" both
// separate) into a texture of the current GL context with nearest filtering. 0, with one line on
// the debugger output naming the file, when it is missing, not a BMP or empty.
// The picture itself, as 32-bit RGBA pixels (the caller frees it with SDL_FreeSurface); null,
// with the same line, when it cannot be read.
struct SDL_Surface;
SDL_Surface* HwConfigReadBanner(const char* path);
unsigned HwConfigLoadBanner(const char* path, int* width, int* height);

void HwConfigFreeBanner(unsigned texture);
