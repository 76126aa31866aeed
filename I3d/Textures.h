// Texture slots: one table of reference-counted records addressed by index; -1 means no texture
// everywhere. Textures load by name (".dds" first, then ".tga") under a lower-case key, bind to
// stages through the state cache's stage records, and lock into software images.
#pragma once

#include "I3d/Image.h"

#include <cstdint>

class IDirect3DBaseTexture8;

struct I3dTexSlot {
    int32_t count; // references; 0 = free
    int32_t width, height;
    int32_t format; // I3dTexFormat code
    char name[128]; // the key, lower case, at most 127 characters
    uint32_t reserved;
    uint32_t lastUse; // milliseconds (TimerNow) of the last bind
    IDirect3DBaseTexture8* texture;
    int32_t loadedByD3dx; // 1 for cube maps
    int32_t index;        // the slot's own index
};

// I3dTexFormat codes: a code space of their own, neither D3DFORMAT nor ImgFormat.
enum : int32_t {
    I3DTEX_R8G8B8 = 0,
    I3DTEX_A8R8G8B8 = 1,
    I3DTEX_X8R8G8B8 = 2,
    I3DTEX_R5G6B5 = 3,
    I3DTEX_X1R5G5B5 = 4,
    I3DTEX_A1R5G5B5 = 5,
    I3DTEX_A4R4G4B4 = 6,
    I3DTEX_A8 = 8,
    I3DTEX_P8 = 12,
    I3DTEX_L8 = 13,
    I3DTEX_DXT1 = 24,
    I3DTEX_DXT5 = 28,
    I3DTEX_FORMAT_COUNT = 29,
};

// ---- the table ----
// n free slots; 0, or -1 with no table when memory fails.
int I3dTexTableAlloc(int n);
// Frees every slot and the table; no texture stays alive through the table.
void I3dTexTableFree();
// Number of slots in the table.
int I3dTexCount();
// The record of a slot, null outside the table.
I3dTexSlot* I3dTexGetSlot(int slot);
// The first used slot whose name equals the key lower-cased (and cut to 127 characters); -1.
// Keys equal in their first 127 characters are one key.
int I3dTexFind(const char* key);
// The first slot with count 0; -1 when none (also when there is no table).
int I3dTexFindFree();

// ---- loading ----
// Key = `key`, or the file title of `file`, lower-cased. With `share`, a loaded slot of that key
// gains a reference and is returned. Otherwise "<file>.dds" is tried, then "<file>.tga" (the
// extension after the last "\" or "/" replaced, or appended). The slot, or -1.
int I3dTexLoad(const char* file, const char* key, int share);
// A DDS file (DXT1..DXT5, 32-bit or 8-bit) into a free slot; `slot` must be -1. Every level of
// the file is loaded. -1 for a missing or malformed file, so the caller can fall back to TGA.
int D3dTexFromDds(int slot, const char* path, const char* key);
// A TGA file through a Bitmap, converted into a one-level texture of the format the TGA table
// gives its layout (slot -1), or into an in-use slot of the same size. -1 with a log line when
// the file cannot be read or the texture cannot be made.
int I3dTexFromTga(int slot, const char* path, const char* key);
// A DDS cube map into a free slot (loaded by D3DX, count 1, level 0's size and format). The first
// argument is not used. -1 when no slot is free or the file is not a complete cube.
int D3dCubeTexFromFile(int unused, const char* path, const char* key);
// An empty texture in a free slot: managed, or a default-pool render target. Logged whatever the
// result. The slot, or -1.
int D3dTexCreate(int width, int height, int format, int levels, const char* name, int renderTarget);

// A one-level A8R8G8B8 texture named "autogen" of that size, filled with `fill` and framed by a
// border `border` texels wide in `borderColour`. The slot, or -1 when the image or the texture
// cannot be made (no device).
int TexMakeFramed(int width, int height, uint32_t fill, int border, uint32_t borderColour);

// ---- counts ----
// The slot must be in use (a caller's own slot; checked in debug builds).
int I3dTexAddRef(int slot);
// The count after the call; at 0 the slot is freed.
int I3dTexRelease(int slot);
// A class's shut-down release: gives back its reference to *slot while the slot is still held
// (the kernel may have stopped first and freed its slots with it), then sets *slot to -1.
void I3dTexForget(int* slot);
// Releases the slot's texture and clears it; stages holding it forget it. 0, or -1 when the
// slot is already free (or outside the table).
int I3dTexFreeSlot(int slot);

// ---- binding and locking ----
// A negative slot leaves the stage as it is; binding the slot the stage already holds only
// updates its last-use time. Always 0.
int D3dSetTexture(int stage, int slot);
// Unbinds whatever the stage holds (the layer then samples white), through the stage record:
// a stage known to be empty is left alone. Always 0.
int D3dClearTexture(int stage);
// Locks a whole level of a 2D slot: its pixels, size (the slot's shifted by the level, at least
// 1), pitch and I3dTexFormat. 0, or -1 after a log line.
int D3dTextureLock(int slot, int level, void** pixels, int* width, int* height, int* pitch,
                   int* format);
int D3dTextureUnlock(int slot, int level);
// D3dTextureLock into an image header (a view on the texture's memory).
int I3dTexLockImage(int slot, int level, I3dImage* out);

// ---- formats ----
// The D3DFORMAT of an I3dTexFormat code and back; -1 for anything outside the table.
int I3dTexFormatToD3d(int format);
int I3dTexFormatFromD3d(int d3dFormat);
// The I3dTexFormat of an image layout (ImgFormat), and the ImgFormat a texture locks as; -1.
int I3dTexFormatOfImage(int imgFormat);
int I3dTexImageFormat(int format);

// The texture-loading defaults a new device starts with (the TGA texture-format table).
void I3dTexSetLoadDefaults();
// The I3dTexFormat a TGA image of layout `imageFormat` (an I3dTexFormat code) is loaded as; -1
// outside the table.
int I3dTexTgaFormat(int imageFormat);
