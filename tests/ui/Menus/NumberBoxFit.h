// What a number box drew in the last frame: its value and unit whole, inside the room left of
// its arrows (so the font's clip never cuts it to "..."), at a size still read.
#pragma once

#include "I3d/Font.h"
#include "tests/support/TestSupport.h"
#include "ui/IncDecButton.h"

#include <gtest/gtest.h>

#include <string>

inline void ExpectDrawnWhole(IncDecButton* box, const std::u16string& expected) {
    ASSERT_NE(box, nullptr);
    ASSERT_NE(box->font, nullptr) << box->name;
    EXPECT_EQ(std::u16string(box->drawnText), expected) << box->name;
    Font* font = box->font;
    const float keepX = font->scaleX, keepY = font->scaleY;
    FontSetScale(font, box->horizScale * box->drawnScale, box->vertScale * box->drawnScale);
    const float width = FontTextWidth(font, box->drawnText);
    FontSetScale(font, keepX, keepY);
    EXPECT_GT(width, 0.0f) << Narrow(expected);
    EXPECT_LE(width, box->TextRoom()) << Narrow(expected) << " is cut short of the arrows";
    // Georgia 14 at 0.75 is still some 12 pixels tall.
    EXPECT_GE(box->drawnScale, 0.75f) << Narrow(expected) << " is drawn too small to read";
}
