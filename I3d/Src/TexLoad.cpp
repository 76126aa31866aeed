// Loading textures by name: DDS files with their whole mip chain, TGA files through a Bitmap and
// the pixel converter, and DDS cube maps through our D3DX stand-in.
#include "I3d/Src/Kernel.h"
#include "I3d/Src/TexSlots.h"
#include "I3d/Textures.h"
#include "engine/DebugLog.h"
#include "engine/Files.h"
#include "engine/Memory.h"
#include "engine/Paths.h"
#include "platform/PathResolve.h"
#include "platform/d3d8/D3dx.h"
#include "platform/d3dx/DdsFile.h"

#include <string>

// The key a texture is kept under: the given key, else the file's title.
static void KeyFor(const char* key, const char* file, char out[128]) {
    if (key) {
        I3dTexMakeKey(key, out);
        return;
    }
    I3dTexMakeKey(PathFileTitle(file ? file : "").c_str(), out);
}

int I3dTexLoad(const char* file, const char* key, int share) {
    char k[128];
    KeyFor(key, file, k);
    if (!k[0] || !file) return -1;
    if (share) {
        int hit = I3dTexFind(k);
        if (hit >= 0) {
            I3dTexAddRef(hit);
            return hit;
        }
    }
    // Only a dot after the last separator starts an extension: "Fonts.v2\Arial" keeps its
    // folder and becomes "Fonts.v2\Arial.dds"; the name's first character never starts one.
    const std::string base = PathWithExt(file, nullptr);
    int slot = D3dTexFromDds(-1, (base + ".dds").c_str(), k);
    if (slot >= 0) return slot;
    return I3dTexFromTga(-1, (base + ".tga").c_str(), k);
}

// ---- DDS ----

static int FillFromDds(IDirect3DTexture8* t, const DdsInfo& info, const uint8_t* pixels) {
    for (UINT i = 0; i < info.levels; ++i) {
        uint32_t w = DdsLevelSide(info.width, i), h = DdsLevelSide(info.height, i);
        D3DLOCKED_RECT lr;
        if (FAILED(t->LockRect(i, &lr, nullptr, 0))) return -1;
        // Row by row through the pitch: the locked rows may be longer than the file's.
        DdsCopyLevel(info.pixels, w, h, pixels, static_cast<uint8_t*>(lr.pBits), size_t(lr.Pitch));
        t->UnlockRect(i);
        pixels += DdsLevelSize(info.pixels, w, h);
    }
    return 0;
}

int D3dTexFromDds(int slot, const char* path, const char* key) {
    if (slot != -1) return -1;
    int free = I3dTexFindFree();
    IDirect3DDevice8* dev = D3dDevice();
    if (free < 0 || !dev || !path) return -1;
    void* data = nullptr;
    int size = FileReadAll(&data, path, 0);
    DdsInfo info;
    // The header, the level count and every level's bytes are checked against the file before
    // anything is copied; a refused file lets the caller fall back to the TGA.
    if (size <= 0 || DdsParse(static_cast<const uint8_t*>(data), size_t(size), &info) != 0) {
        MemFree(data);
        // A missing DDS is the usual case (the TGA is tried next); one that is there and cannot
        // be used is a damaged file, and is named.
        std::string disk;
        if (PlatPathResolve(path, &disk) == 1)
            DbgPrintf(DBG_RENDER, "(WARN) D3dTexFromDds(%s): cut short or damaged; not used!\n",
                      path);
        return -1;
    }
    D3DFORMAT format = D3dxDdsFormat(info.pixels);
    IDirect3DTexture8* t = nullptr;
    int result = -1;
    if (SUCCEEDED(dev->CreateTexture(info.width, info.height, info.levels, 0, format,
                                     D3DPOOL_MANAGED, &t))) {
        if (FillFromDds(t, info, static_cast<const uint8_t*>(data) + DDS_HEADER_BYTES) == 0) {
            char k[128];
            KeyFor(key, path, k);
            I3dTexFillSlot(free, t, int(info.width), int(info.height),
                           I3dTexFormatFromD3d(int(format)), k, 0);
            result = free;
        } else {
            t->Release();
        }
    }
    MemFree(data);
    return result;
}

// ---- TGA ----

// Grey images become white with the grey as alpha; everything else goes through the converter.
static int FillFromBitmap(I3dImage* img, const Bitmap& bmp) {
    if (bmp.format != IMG_L8 || img->format != IMG_A8R8G8B8)
        return ImgBlitConvert(img, 0, 0, bmp.width, bmp.height, &bmp, 0, 0);
    for (int y = 0; y < bmp.height; ++y) {
        uint8_t* row = img->pixels + size_t(y) * img->pitch;
        const uint8_t* grey = bmp.pixels + size_t(y) * bmp.pitch;
        for (int x = 0; x < bmp.width; ++x) {
            row[x * 4 + 0] = row[x * 4 + 1] = row[x * 4 + 2] = 0xFF;
            row[x * 4 + 3] = grey[x];
        }
    }
    return 0;
}

int I3dTexFromTga(int slot, const char* path, const char* key) {
    if (slot >= I3dTexCount() || slot < -1) return -1;
    Bitmap bmp;
    if (BitmapLoadTga(&bmp, path, nullptr, 0) != 0) {
        std::string disk;
        if (path && PlatPathResolve(path, &disk) == 1)
            DbgPrintf(DBG_RENDER,
                      "(WARN) I3dTexFromTga(%i, %s): not a TGA image that can be read (cut "
                      "short or damaged)!\n",
                      slot, path);
        else
            DbgPrintf(DBG_RENDER, "(WARN) I3dTexFromTga(%i, %s): File not found!\n", slot,
                      path ? path : "");
        return -1;
    }
    int target = slot;
    if (slot == -1) {
        char k[128];
        KeyFor(key, path, k);
        int format = I3dTexTgaFormat(I3dTexFormatOfImage(bmp.format));
        target = D3dTexCreate(bmp.width, bmp.height, format, 1, k, 0);
        if (target < 0) {
            DbgPrintf(DBG_RENDER,
                      "I3dTexFromTga(%i, %s): Could not create texture based on file.  Check "
                      "size.!\n",
                      slot, path);
            BitmapFree(&bmp);
            return -1;
        }
    } else {
        // Reloading into a slot the caller holds: only a 2D texture of the bitmap's size.
        const I3dTexSlot* s = I3dTexGetSlot(slot);
        if (s->count <= 0 || s->loadedByD3dx || s->width != bmp.width || s->height != bmp.height) {
            BitmapFree(&bmp);
            return -1;
        }
    }
    I3dImage img;
    int filled = I3dTexLockImage(target, 0, &img);
    if (filled == 0) {
        filled = FillFromBitmap(&img, bmp);
        D3dTextureUnlock(target, 0);
    }
    BitmapFree(&bmp);
    if (filled != 0) {
        // A layout the converter cannot reach leaves no half-made texture behind.
        if (slot == -1) I3dTexFreeSlot(target);
        return -1;
    }
    return target;
}

// ---- cube maps ----

int D3dCubeTexFromFile(int /*unused*/, const char* path, const char* key) {
    int free = I3dTexFindFree();
    IDirect3DDevice8* dev = D3dDevice();
    if (free < 0 || !dev) return -1;
    IDirect3DCubeTexture8* cube = nullptr;
    if (FAILED(D3DXCreateCubeTextureFromFileA(dev, path, &cube))) {
        std::string disk;
        if (path && PlatPathResolve(path, &disk) == 1)
            DbgPrintf(DBG_RENDER,
                      "(WARN) D3dCubeTexFromFile(%s): not a whole cube map of six square faces; "
                      "not used!\n",
                      path);
        return -1;
    }
    D3DSURFACE_DESC d{};
    cube->GetLevelDesc(0, &d);
    // Lower-cased as every other creator's key, so I3dTexFind (which lower-cases its query) can
    // find a cube map too.
    char k[128];
    I3dTexMakeKey(key, k);
    I3dTexFillSlot(free, cube, int(d.Width), int(d.Height), I3dTexFormatFromD3d(int(d.Format)), k,
                   1);
    return free;
}
