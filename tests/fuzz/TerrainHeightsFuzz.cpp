// Elevation maps of any content through the terrain's height loader, at the generated map's grid
// and at a grid it does not fit, then the planes and bounds that follow and a height query.
#include "tests/fuzz/FuzzInput.h"
#include "world/TerrainObj.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = FuzzWriteFile("Map elevation.tga", data, size);
    for (int cells : {64, 8}) {
        TerrainObj* t = TerrainCreate(cells, cells);
        if (!t) continue;
        TerrainLoadHeights(t, path.c_str(), 0.5f);
        (void)TerrainHeightAt(t, 3.5f, 7.25f);
        TerrainFree(t);
    }
    return 0;
}
