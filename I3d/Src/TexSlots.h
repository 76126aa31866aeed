// What the texture loaders share with the slot table: for the render kernel's sources only.
#pragma once

class IDirect3DBaseTexture8;

// Lower case, cut to the 127 characters a slot's name holds.
void I3dTexMakeKey(const char* key, char out[128]);
// Gives a free slot its new texture with count 1; the slot takes over the texture's reference.
void I3dTexFillSlot(int slot, IDirect3DBaseTexture8* texture, int width, int height, int format,
                    const char* name, int loadedByD3dx);
