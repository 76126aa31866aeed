// Grass maps of any content, decoded as the patch decodes them and then scattered into plant
// records and combined into the patch's map, with the blocks built from both.
#include "tests/fuzz/FuzzInput.h"
#include "world/Foliage.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = FuzzWriteFile("Grass map.tga", data, size);
    FoliageLayer layers[FOLIAGE_LAYERS];
    for (int i = 0; i < FOLIAGE_LAYERS; ++i) {
        layers[i].type = i % 2;
        layers[i].density = 1 + i % 3;
    }
    std::snprintf(layers[0].grassMapFile, sizeof layers[0].grassMapFile, "%s", path.c_str());
    std::snprintf(layers[3].grassMapFile, sizeof layers[3].grassMapFile, "%s", path.c_str());
    std::vector<FoliageRecord> records;
    if (FoliageScatterMap(path.c_str(), 0, layers[0], 1.0f, &records) < 0) return 0;
    FoliageSettings settings;
    settings.layers = layers;
    settings.texRatio = 2;
    settings.blockSize = 64;
    (void)FoliageBuildFromRecords(records, settings);
    (void)FoliageBuildFromMap(FoliageCombineMaps(layers), settings);
    return 0;
}
