// Flat framed textures made in memory: a fill colour with a border drawn inside the edges.
#include "I3d/Textures.h"

#include <algorithm>
#include <cstring>

int TexMakeFramed(int width, int height, uint32_t fill, int border, uint32_t borderColour) {
    I3dImage* img = ImgAlloc(width, height, IMG_A8R8G8B8);
    if (!img) return -1;
    ImgFill(img, fill);
    border = std::max(0, border);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(img->pixels + (size_t)y * img->pitch);
        const bool edgeRow = y < border || y >= height - border;
        for (int x = 0; x < width; ++x)
            if (edgeRow || x < border || x >= width - border) row[x] = borderColour;
    }
    int slot = D3dTexCreate(width, height, I3DTEX_A8R8G8B8, 1, "autogen", 0);
    if (slot >= 0) {
        I3dImage locked;
        if (I3dTexLockImage(slot, 0, &locked) == 0) {
            ImgBlitConvert(&locked, 0, 0, width, height, img, 0, 0);
            D3dTextureUnlock(slot, 0);
        } else {
            I3dTexFreeSlot(slot);
            slot = -1;
        }
    }
    ImgFree(img);
    return slot;
}
