// Durations split and shown as text, including values no clock should produce.
#include "engine/TimeText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {
std::u16string Text(double seconds) {
    char16_t buf[32];
    EXPECT_EQ(TimeToTextMinSec(buf, 32, seconds), 1);
    return buf;
}
} // namespace

TEST(TimeText, SplitRoundsToHundredths) {
    int h, m, s, c;
    TimeSplit(3725.5, &h, &m, &s, &c);
    EXPECT_EQ(h, 1);
    EXPECT_EQ(m, 2);
    EXPECT_EQ(s, 5);
    EXPECT_EQ(c, 50);
    TimeSplit(59.996, &h, &m, &s, &c);
    EXPECT_EQ(m, 1) << "59.996 s rounds up to a whole minute";
    EXPECT_EQ(s, 0);
    EXPECT_EQ(c, 0);
    EXPECT_EQ(Text(3725.5), u"1:02");
    EXPECT_EQ(Text(0), u"0:00");
}

TEST(TimeText, OutOfRangeSecondsGiveDefinedResults) {
    int h, m, s, c;
    TimeSplit(-5.0, &h, &m, &s, &c);
    EXPECT_EQ(h + m + s + c, 0);
    EXPECT_EQ(Text(-5.0), u"0:00");
    EXPECT_EQ(Text(std::nan("")), u"0:00");
    EXPECT_EQ(Text(-std::numeric_limits<double>::infinity()), u"0:00");
    TimeSplit(1e12, &h, &m, &s, &c);
    EXPECT_EQ(h, 277777777);
    EXPECT_EQ(m, 46);
    TimeSplit(std::numeric_limits<double>::infinity(), &h, &m, &s, &c);
    EXPECT_GT(h, 0) << "huge values are held, not wrapped negative";

    char16_t small[3];
    EXPECT_EQ(TimeToTextMinSec(small, 3, 3725.5), -1) << "\"1:02\" does not fit in 3";
    EXPECT_EQ(small[0], u'\0');
}
