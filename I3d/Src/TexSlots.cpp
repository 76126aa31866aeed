// The texture slot table: counts, keys, empty textures, binding through the stage records,
// locking, and the format tables.
#include "I3d/Src/TexSlots.h"
#include "I3d/Src/Kernel.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "engine/DebugLog.h"
#include "engine/Memory.h"
#include "engine/Timers.h"

#include <cassert>
#include <cstring>

static I3dTexSlot* s_slots = nullptr;
static int s_numTextures = 0;
static int s_tgaFormat[I3DTEX_FORMAT_COUNT];

// ---- formats ----

static constexpr int s_d3dFormats[I3DTEX_FORMAT_COUNT] = {
    D3DFMT_R8G8B8,   D3DFMT_A8R8G8B8,  D3DFMT_X8R8G8B8, D3DFMT_R5G6B5,   D3DFMT_X1R5G5B5,
    D3DFMT_A1R5G5B5, D3DFMT_A4R4G4B4,  D3DFMT_R3G3B2,   D3DFMT_A8,       D3DFMT_A8R3G3B2,
    D3DFMT_X4R4G4B4, D3DFMT_A8P8,      D3DFMT_P8,       D3DFMT_L8,       D3DFMT_A8L8,
    D3DFMT_A4L4,     D3DFMT_V8U8,      D3DFMT_L6V5U5,   D3DFMT_X8L8V8U8, D3DFMT_Q8W8V8U8,
    D3DFMT_V16U16,   D3DFMT_W11V11U10, D3DFMT_UYVY,     D3DFMT_YUY2,     D3DFMT_DXT1,
    D3DFMT_DXT2,     D3DFMT_DXT3,      D3DFMT_DXT4,     D3DFMT_DXT5};

int I3dTexFormatToD3d(int format) {
    return format >= 0 && format < I3DTEX_FORMAT_COUNT ? s_d3dFormats[format] : -1;
}

int I3dTexFormatFromD3d(int d3dFormat) {
    for (int i = 0; i < I3DTEX_FORMAT_COUNT; ++i)
        if (s_d3dFormats[i] == d3dFormat) return i;
    return -1;
}

int I3dTexFormatOfImage(int imgFormat) {
    switch (imgFormat) {
        case IMG_P8: return I3DTEX_P8;
        case IMG_X1R5G5B5: return I3DTEX_X1R5G5B5;
        case IMG_R5G6B5: return I3DTEX_R5G6B5;
        case IMG_A8R8G8B8: return I3DTEX_A8R8G8B8;
        case IMG_R8G8B8: return I3DTEX_R8G8B8;
        case IMG_A8: return I3DTEX_A8;
        case IMG_L8: return I3DTEX_L8;
        case IMG_A1R5G5B5: return I3DTEX_A1R5G5B5;
        case IMG_A4R4G4B4: return I3DTEX_A4R4G4B4;
        default: return -1;
    }
}

int I3dTexImageFormat(int format) {
    switch (format) {
        case I3DTEX_R8G8B8: return IMG_R8G8B8;
        case I3DTEX_A8R8G8B8:
        case I3DTEX_X8R8G8B8: return IMG_A8R8G8B8;
        case I3DTEX_R5G6B5: return IMG_R5G6B5;
        case I3DTEX_X1R5G5B5:
        case I3DTEX_A1R5G5B5: return IMG_A1R5G5B5;
        case I3DTEX_A4R4G4B4:
        case 10: return IMG_A4R4G4B4; // X4R4G4B4
        case I3DTEX_A8: return IMG_A8;
        case I3DTEX_P8: return IMG_P8;
        case I3DTEX_L8: return IMG_L8;
        default: return -1;
    }
}

// 24-bit images become R5G6B5, 32-bit ones keep their alpha, 8-bit grey ones become A8R8G8B8
// with the grey as alpha. Palette images become A8R8G8B8 too: the 24-bit texture layout holds
// B, G, R, which the converter's R, G, B palette fill would swap. Every other layout R8G8B8 (0).
void I3dTexSetLoadDefaults() {
    for (int& f : s_tgaFormat)
        f = I3DTEX_R8G8B8;
    s_tgaFormat[I3DTEX_R8G8B8] = I3DTEX_R5G6B5;
    s_tgaFormat[I3DTEX_A8R8G8B8] = I3DTEX_A8R8G8B8;
    s_tgaFormat[I3DTEX_R5G6B5] = I3DTEX_R5G6B5;
    s_tgaFormat[I3DTEX_L8] = I3DTEX_A8R8G8B8;
    s_tgaFormat[I3DTEX_P8] = I3DTEX_A8R8G8B8;
}

int I3dTexTgaFormat(int imageFormat) {
    return imageFormat >= 0 && imageFormat < I3DTEX_FORMAT_COUNT ? s_tgaFormat[imageFormat] : -1;
}

// ---- the table ----

int I3dTexTableAlloc(int n) {
    // A second table frees the first, or every texture the first held would leak.
    I3dTexTableFree();
    if (n <= 0) return -1;
    s_slots = static_cast<I3dTexSlot*>(MemAlloc(sizeof(I3dTexSlot) * size_t(n)));
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

// Lower case, cut to the 127 characters a slot's name holds.
void I3dTexMakeKey(const char* key, char out[128]) {
    size_t n = 0;
    for (; key && key[n] && n < 127; ++n) {
        char c = key[n];
        out[n] = c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
    }
    out[n] = 0;
}

int I3dTexFind(const char* key) {
    char k[128];
    I3dTexMakeKey(key, k);
    for (int i = 0; i < s_numTextures; ++i)
        if (s_slots[i].count > 0 && std::strcmp(s_slots[i].name, k) == 0) return i;
    return -1;
}

int I3dTexFindFree() {
    for (int i = 0; i < s_numTextures; ++i)
        if (s_slots[i].count == 0) return i;
    return -1;
}

// Claims a free slot for a new texture (which the slot now holds).
void I3dTexFillSlot(int slot, IDirect3DBaseTexture8* texture, int width, int height, int format,
                    const char* name, int loadedByD3dx) {
    I3dTexSlot& s = s_slots[slot];
    s.count = 1;
    s.width = width;
    s.height = height;
    s.format = format;
    s.texture = texture;
    s.loadedByD3dx = loadedByD3dx;
    s.lastUse = 0;
    size_t n = name ? strnlen(name, 127) : 0;
    std::memcpy(s.name, name ? name : "", n);
    s.name[n] = 0;
}

int D3dTexCreate(int width, int height, int format, int levels, const char* name,
                 int renderTarget) {
    int slot = I3dTexFindFree();
    if (slot < 0) return -1;
    IDirect3DDevice8* dev = D3dDevice();
    IDirect3DTexture8* texture = nullptr;
    HRESULT hr = D3DERR_INVALIDCALL;
    if (dev && width > 0 && height > 0 && levels >= 0 && I3dTexFormatToD3d(format) >= 0)
        hr = dev->CreateTexture(UINT(width), UINT(height), UINT(levels),
                                renderTarget ? DWORD(D3DUSAGE_RENDERTARGET) : 0u,
                                D3DFORMAT(I3dTexFormatToD3d(format)),
                                renderTarget ? D3DPOOL_DEFAULT : D3DPOOL_MANAGED, &texture);
    DbgPrintf(DBG_RENDER, "  D3dTexCreate(%i, %i, %s)\n", width, format, name ? name : "");
    if (FAILED(hr) || !texture) return -1;
    I3dTexFillSlot(slot, texture, width, height, format, name, 0);
    return slot;
}

// ---- counts ----

int I3dTexAddRef(int slot) {
    I3dTexSlot* s = I3dTexGetSlot(slot);
    assert(s && s->count > 0 && "a reference is added only to a slot the caller holds");
    if (!s || s->count <= 0) return 0;
    return ++s->count;
}

int I3dTexRelease(int slot) {
    I3dTexSlot* s = I3dTexGetSlot(slot);
    assert(s && s->count > 0 && "only a slot the caller holds is released");
    if (!s || s->count <= 0) return 0;
    if (--s->count > 0) return s->count;
    I3dTexFreeSlot(slot);
    return 0;
}

void I3dTexForget(int* slot) {
    if (!slot) return;
    if (const I3dTexSlot* s = I3dTexGetSlot(*slot); *slot >= 0 && s && s->count > 0)
        I3dTexRelease(*slot);
    *slot = -1;
}

// The device keeps a bound texture alive (SetTexture holds a reference), so a freed slot's
// texture may outlive the slot until the stage is rebound.
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

// ---- binding and locking ----

int D3dSetTexture(int stage, int slot) {
    if (slot < 0) return 0;
    I3dTexSlot* s = I3dTexGetSlot(slot);
    assert(s && "binding a slot outside the table");
    if (!s) return 0;
    if (D3dStageTexture(stage) != slot) {
        if (IDirect3DDevice8* dev = D3dDevice()) dev->SetTexture(DWORD(stage), s->texture);
        D3dStageSetTexture(stage, slot);
    }
    s->lastUse = TimerNow();
    return 0;
}

int D3dClearTexture(int stage) {
    if (stage < 0 || stage >= (int)D3D_MAX_TEXTURE_STAGES ||
        D3dStageTexture(stage) == D3D_STAGE_EMPTY)
        return 0;
    if (IDirect3DDevice8* dev = D3dDevice()) dev->SetTexture(DWORD(stage), nullptr);
    D3dStageSetTexture(stage, D3D_STAGE_EMPTY);
    return 0;
}

static IDirect3DTexture8* Texture2d(const I3dTexSlot* s) {
    if (!s || !s->texture || s->texture->GetType() != D3DRTYPE_TEXTURE) return nullptr;
    return static_cast<IDirect3DTexture8*>(s->texture);
}

int D3dTextureLock(int slot, int level, void** pixels, int* width, int* height, int* pitch,
                   int* format) {
    I3dTexSlot* s = I3dTexGetSlot(slot);
    IDirect3DTexture8* t = Texture2d(s);
    D3DLOCKED_RECT lr{};
    if (!t || level < 0 || FAILED(t->LockRect(UINT(level), &lr, nullptr, 0))) {
        DbgPrintf(DBG_RENDER, "D3dTextureLock(%i): ERROR could not lock texture!\n", slot);
        return -1;
    }
    // A level's side never reaches 0: the short side of a non-square chain stays 1.
    int w = level < 31 ? s->width >> level : 0, h = level < 31 ? s->height >> level : 0;
    *pixels = lr.pBits;
    *width = w > 0 ? w : 1;
    *height = h > 0 ? h : 1;
    *pitch = lr.Pitch;
    *format = s->format;
    return 0;
}

int D3dTextureUnlock(int slot, int level) {
    IDirect3DTexture8* t = Texture2d(I3dTexGetSlot(slot));
    return t && level >= 0 && SUCCEEDED(t->UnlockRect(UINT(level))) ? 0 : -1;
}

int I3dTexLockImage(int slot, int level, I3dImage* out) {
    void* pixels = nullptr;
    int w = 0, h = 0, pitch = 0, format = 0;
    int r = D3dTextureLock(slot, level, &pixels, &w, &h, &pitch, &format);
    if (r != 0) return r;
    out->width = w;
    out->height = h;
    out->pitch = pitch;
    out->format = I3dTexImageFormat(format);
    out->bytesPerPixel = ImgBytesPerPixel(out->format);
    out->pixels = static_cast<uint8_t*>(pixels);
    out->reserved = 0;
    out->flags = IMG_VIEW;
    return 0;
}
