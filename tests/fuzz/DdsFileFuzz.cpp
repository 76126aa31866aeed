// DDS files of any content through the header check, then every level of every face copied out
// as a texture upload does and, for compressed files, decoded as the software DXT path does.
#include "platform/d3dx/DdsFile.h"
#include "platform/d3dx/Dxt.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DdsInfo info;
    if (DdsParse(data, size, &info) != 0) return 0;
    const uint8_t* pixels = data + DDS_HEADER_BYTES;
    std::vector<uint8_t> level, texels;
    for (int face = 0; face < info.faces; ++face) {
        for (uint32_t i = 0; i < info.levels; ++i) {
            uint32_t w = DdsLevelSide(info.width, i), h = DdsLevelSide(info.height, i);
            size_t pitch = DdsRowBytes(info.pixels, w) + 4; // locked rows may be longer
            level.resize(pitch * DdsRowCount(info.pixels, h));
            DdsCopyLevel(info.pixels, w, h, pixels, level.data(), pitch);
            if (DdsIsCompressed(info.pixels)) {
                texels.resize(size_t(w) * h * 4);
                DxtDecodeLevel(info.pixels, w, h, pixels, texels.data(), size_t(w) * 4);
            }
            pixels += DdsLevelSize(info.pixels, w, h);
        }
    }
    return 0;
}
