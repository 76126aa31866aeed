// A menu built as the control kit builds one (controls made by class name under the menu), run
// through the game application: a label, a wrapped paragraph, a centred picture and a flip-book,
// then the paragraph replaced with a cross-fade.
#include "tests/harness/UiHarness.h"
#include "tests/ui/UiPictures.h"

#include "I3d/Font.h"
#include "ui/AnimGraphic.h"
#include "ui/StaticGraphic.h"
#include "ui/StaticText.h"
#include "ui/StaticTextBox.h"

#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {
constexpr float kBoxX = 100, kBoxY = 200, kBoxWidth = 400;

std::u16string Paragraph(int units) {
    static const char16_t* words[] = {u"carnival", u"rides", u"and",  u"games",  u"open",
                                      u"at",       u"dusk",  u"when", u"lights", u"glow"};
    std::u16string text;
    for (int i = 0; text.size() < size_t(units); ++i) {
        if (!text.empty()) text += u' ';
        text += words[i % 10];
    }
    text.resize(size_t(units));
    return text;
}

uint32_t At(const std::vector<uint32_t>& pixels, int x, int y) {
    const size_t at = size_t(y) * 1024 + size_t(x);
    return x >= 0 && x < 1024 && y >= 0 && at < pixels.size() ? pixels[at] : 0;
}

// Lit pixels (not the background) in a rectangle.
int Lit(const std::vector<uint32_t>& pixels, int x0, int y0, int x1, int y1, uint32_t background) {
    int lit = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            lit += At(pixels, x, y) != background;
    return lit;
}

// The summed brightness of the box's pixels: what a fade changes.
long Brightness(const std::vector<uint32_t>& pixels, int x0, int y0, int x1, int y1) {
    long sum = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            sum += long((At(pixels, x, y) >> 8) & 0xFF);
    return sum;
}

using GraphicTextEndToEndTest = UiTest;
} // namespace

TEST_F(GraphicTextEndToEndTest, AMenuOfTextsAndPicturesRunsThroughTheGame) {
    StartUi();
    ASSERT_TRUE(WriteTestPictures());
    Font* title = UiAcquireFont("Georgia_20");
    Font* body = UiAcquireFont("Arial_12b");
    ASSERT_TRUE(title && body);

    auto* cash = dynamic_cast<StaticText*>(EntCreateChild("StaticText", menu));
    auto* box = dynamic_cast<StaticTextBox*>(EntCreateChild("StaticTextBox", menu));
    auto* picture = dynamic_cast<StaticGraphic*>(EntCreateChild("StaticGraphic", menu));
    auto* strip = dynamic_cast<AnimGraphic*>(EntCreateChild("AnimGraphic", menu));
    ASSERT_TRUE(cash && box && picture && strip);
    cash->SetFont(title);
    cash->SetTextW(u"Cash");
    cash->SetPos2D(100, 100);
    cash->Start();

    box->SetFont(body);
    box->textColour = 0xFFFFFFFFu;
    box->width = kBoxWidth;
    box->SetPos2D(kBoxX, kBoxY);
    const std::u16string paragraph = Paragraph(600);
    box->SetText(paragraph.c_str());
    box->Flip();
    box->Start();

    std::snprintf(picture->textureName, sizeof picture->textureName, "%s", kBlocksPicture);
    picture->width = picture->height = 64;
    picture->horizAlign = 1;
    picture->SetPos2D(800, 300);
    picture->Start();

    std::snprintf(strip->image.textureName, sizeof strip->image.textureName, "%s", kStripPicture);
    strip->image.left = 0, strip->image.top = 0, strip->image.right = 15, strip->image.bottom = 15;
    strip->frames = 3;
    strip->rate = 15;
    strip->SetPos2D(800, 500);
    strip->Start();

    std::set<uint32_t> stripColours;
    for (int i = 0; i < 60; ++i) {
        Step();
        stripColours.insert(Rgb(PixelAt(ReadPixels(), 808, 508)));
    }
    EXPECT_EQ(stripColours,
              (std::set<uint32_t>{kStripColours[0], kStripColours[1], kStripColours[2]}))
        << "the flip-book did not cycle through its three frames";

    const std::vector<uint32_t> pixels = ReadPixels();
    const uint32_t background = PixelAt(pixels, 1020, 760);
    EXPECT_GT(Lit(pixels, 90, 90, 200, 130, background), 30) << "the label";

    // Every line of the paragraph shows, one under the other, and nothing passes the box.
    const int lines = box->Shown().lineCount;
    const float line = body->cellHeight;
    EXPECT_GE(lines, 6) << "600 characters in 400 units";
    for (int i = 0; i < lines; ++i) {
        const int top = int(kBoxY + float(i) * line);
        EXPECT_GT(Lit(pixels, int(kBoxX), top, int(kBoxX + kBoxWidth), int(top + line), background),
                  20)
            << "line " << i << " is missing";
    }
    const int bottom = int(kBoxY + float(lines) * line);
    EXPECT_EQ(Lit(pixels, int(kBoxX + kBoxWidth) + 2, int(kBoxY), 760, bottom, background), 0)
        << "a line ran past the box";
    EXPECT_EQ(Lit(pixels, int(kBoxX), bottom + 2, int(kBoxX + kBoxWidth), bottom + 40, background),
              0);

    // The centred picture, exact.
    int wrong = 0;
    for (int by = 0; by < 8; ++by)
        for (int bx = 0; bx < 8; ++bx)
            wrong +=
                Rgb(PixelAt(pixels, 768 + bx * 8 + 3, 268 + by * 8 + 3)) != BlockColour(bx, by);
    EXPECT_EQ(wrong, 0);

    // A second text: the paragraph fades out over half a second, the new text in over the next.
    const int x1 = int(kBoxX + kBoxWidth), y1 = bottom;
    const long full = Brightness(pixels, int(kBoxX), int(kBoxY), x1, y1);
    box->SetText(u"The day is over.");
    std::vector<long> seen;
    for (int i = 0; i < 60; ++i) {
        Step();
        seen.push_back(Brightness(ReadPixels(), int(kBoxX), int(kBoxY), x1, y1));
    }
    const long empty = Brightness(std::vector<uint32_t>(pixels.size(), background), int(kBoxX),
                                  int(kBoxY), x1, y1);
    EXPECT_LT(seen[5], full) << "fading out";
    EXPECT_LT(seen[20], seen[5]);
    EXPECT_LT(seen[25] - empty, (full - empty) / 20) << "out by half a second";
    EXPECT_GT(seen[40], seen[30]) << "the new text fading in";
    EXPECT_EQ(seen[59], seen[58]) << "settled after a second";
    EXPECT_GT(seen[59], empty);
    SharedObjRelease(title);
    SharedObjRelease(body);
}
