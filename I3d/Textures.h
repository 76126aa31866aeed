// Texture slots: one table of reference-counted records addressed by index; -1 means no texture
// everywhere.
#pragma once

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

// n free slots; 0, or -1 with no table when memory fails.
int I3dTexTableAlloc(int n);
// Frees every slot and the table.
void I3dTexTableFree();
// Number of slots in the table.
int I3dTexCount();
// The record of a slot, null outside the table.
I3dTexSlot* I3dTexGetSlot(int slot);
// Releases the slot's texture and clears it; stages holding it forget it. 0, or -1 when the
// slot is already free (or outside the table).
int I3dTexFreeSlot(int slot);

// The texture-loading defaults a new device starts with (the TGA texture-format table).
void I3dTexSetLoadDefaults();
// The I3dTexFormat a TGA image of layout `imageFormat` (an I3dTexFormat code) is loaded as; -1
// outside the table.
int I3dTexTgaFormat(int imageFormat);
