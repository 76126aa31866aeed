// Foliage files of any content through the patch's reader and the block building that follows,
// with layers of both plant types.
#include "tests/fuzz/FuzzInput.h"
#include "world/Foliage.h"

#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = FuzzWriteFile("Meadow.fol", data, size);
    std::vector<FoliageRecord> records;
    if (FoliageRead(path.c_str(), &records) < 0) return 0;
    FoliageLayer layers[FOLIAGE_LAYERS];
    for (int i = 0; i < FOLIAGE_LAYERS; ++i) {
        layers[i].type = i % 2;
        layers[i].density = 1 + i % 3;
    }
    FoliageSettings settings;
    settings.layers = layers;
    settings.texRatio = 2;
    for (int block : {16, 1}) {
        settings.blockSize = block;
        (void)FoliageBuildFromRecords(records, settings);
    }
    return 0;
}
