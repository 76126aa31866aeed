// Font metrics files (".abc") of any content beside a valid texture, acquired as the game
// acquires a font, then every code measured and a line wrapped through the loaded tables.
#include "I3d/Font.h"
#include "I3d/Image.h"
#include "engine/SharedObj.h"
#include "tests/fuzz/FuzzInput.h"
#include "tests/fuzz/FuzzKernel.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// The atlas the metrics point into: only its presence matters to the loader.
void WriteAtlas() {
    I3dImage* img = ImgAlloc(16, 16, IMG_L8);
    ImgFill(img, 0xFF);
    const bool ok = img && ImgSaveTga(img, FuzzScratchPath("Font.tga").c_str(), nullptr) == 0;
    ImgFree(img);
    if (!ok) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzKernelReady();
    static const bool s_atlas = (WriteAtlas(), true);
    (void)s_atlas;
    FuzzWriteFile("Font.abc", data, size);
    Font* font = FontAcquire(FuzzScratchPath("Font").c_str());
    if (!font) return 0;
    // Every code up to past the table, then the highest codes.
    static char16_t s_text[400];
    for (int i = 0; i < 399; ++i)
        s_text[i] = char16_t(i < 380 ? i + 1 : 0xFFFF - (i - 380));
    float width = 0, height = 0;
    FontMeasure(font, s_text, &width, &height, 0);
    FontTextWidth(font, u"Carnival A-Z 0-9 \u00e9\u00ff");
    FontWrapPoint(font, s_text, 40.0f);
    SharedObjRelease(font);
    return 0;
}
