// The terrain's height map: a grey TGA image with one pixel per sample, its bottom row z = 0.
#include "I3d/Image.h"
#include "engine/DebugLog.h"
#include "world/TerrainObj.h"

#include <cstddef>

int TerrainLoadHeights(TerrainObj* t, const char* file, float elvScale) {
    I3dImage* img = ImgLoadTga(file, nullptr);
    const bool fits = img && img->width == t->sampleCols && img->height == t->sampleRows;
    if (!fits) {
        if (!img)
            DbgPrintf(1, "Terrain2: %s not loaded, flat 28.0\n", file);
        else
            DbgPrintf(1, "Terrain2: %s is %ix%i, needs %ix%i, flat 28.0\n", file, img->width,
                      img->height, t->sampleCols, t->sampleRows);
        ImgFree(img);
        TerrainFill(t, 28.0f);
        return 0;
    }
    // The loader pads each row to a pitch of 4 bytes: rows are found by the pitch.
    for (int z = 0; z < t->sampleRows; ++z) {
        const uint8_t* row = img->pixels + size_t(img->height - 1 - z) * size_t(img->pitch);
        float* out = t->heights + size_t(z) * size_t(t->sampleCols);
        for (int x = 0; x < t->sampleCols; ++x)
            out[x] = float(row[size_t(x) * size_t(img->bytesPerPixel)]) * elvScale;
    }
    ImgFree(img);
    TerrainDerive(t);
    return 1;
}
