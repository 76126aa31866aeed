// TGA files of any content through the image and bitmap readers (the texture loader's way in),
// with and without a palette to fill.
#include "I3d/Image.h"
#include "tests/fuzz/FuzzInput.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = FuzzWriteFile("Image.tga", data, size);
    uint8_t palette[256 * 3];
    ImgFree(ImgLoadTga(path.c_str(), palette));
    ImgFree(ImgLoadTga(path.c_str(), nullptr));
    Bitmap bmp;
    BitmapClear(&bmp);
    if (BitmapLoadTga(&bmp, path.c_str(), nullptr, 0) == 0) BitmapFree(&bmp);
    return 0;
}
