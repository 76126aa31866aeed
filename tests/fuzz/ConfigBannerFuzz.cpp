// The configuration dialog's banner picture of any content, read as the dialog reads it (SDL's
// BMP reader, then 32-bit pixels), every pixel row touched.
#include "tests/fuzz/FuzzInput.h"
#include "tools/HwConfigBanner.h"

#include <SDL.h>

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = FuzzWriteFile("ConfigBanner.bmp", data, size);
    if (SDL_Surface* banner = HwConfigReadBanner(path.c_str())) {
        uint32_t sum = 0;
        const auto* pixels = static_cast<const uint8_t*>(banner->pixels);
        for (int y = 0; y < banner->h; ++y)
            sum += pixels[size_t(y) * size_t(banner->pitch) + size_t(banner->w) * 4 - 1];
        (void)sum;
        SDL_FreeSurface(banner);
    }
    return 0;
}
