// The texture slot table and the texture-loading defaults.
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "engine/Memory.h"
#include "platform/d3d8/D3d8.h"

// I3dTexFormat codes 0..28.
static constexpr int kTexFormatCount = 29;

static I3dTexSlot* s_slots = nullptr;
static int s_numTextures = 0;
static int s_tgaFormat[kTexFormatCount];

int I3dTexTableAlloc(int n) {
    I3dTexTableFree();
    if (n <= 0) return -1;
    s_slots = static_cast<I3dTexSlot*>(MemAlloc(sizeof(I3dTexSlot) * (size_t)n));
    if (!s_slots) return -1;
    for (int i = 0; i < n; ++i) {
        s_slots[i] = I3dTexSlot{};
        s_slots[i].index = i;
    }
    s_numTextures = n;
    return 0;
}

void I3dTexTableFree() {
    if (!s_slots) return;
    for (int i = 0; i < s_numTextures; ++i)
        I3dTexFreeSlot(i);
    MemFree(s_slots);
    s_slots = nullptr;
    s_numTextures = 0;
}

int I3dTexCount() {
    return s_numTextures;
}

I3dTexSlot* I3dTexGetSlot(int slot) {
    return slot >= 0 && slot < s_numTextures ? &s_slots[slot] : nullptr;
}

int I3dTexFreeSlot(int slot) {
    I3dTexSlot* s = I3dTexGetSlot(slot);
    if (!s || (s->count == 0 && !s->texture)) return -1;
    if (s->texture) s->texture->Release();
    int index = s->index;
    *s = I3dTexSlot{};
    s->index = index;
    D3dStagesForgetSlot(slot);
    return 0;
}

// 24-bit images become R5G6B5, 32-bit ones keep their alpha, 8-bit grey ones become A8R8G8B8
// with the grey as alpha; every other layout R8G8B8 (0).
void I3dTexSetLoadDefaults() {
    for (int& f : s_tgaFormat)
        f = 0;
    s_tgaFormat[0] = 3;
    s_tgaFormat[1] = 1;
    s_tgaFormat[3] = 3;
    s_tgaFormat[13] = 1;
}

int I3dTexTgaFormat(int imageFormat) {
    return imageFormat >= 0 && imageFormat < kTexFormatCount ? s_tgaFormat[imageFormat] : -1;
}
