// Time text for the user interface.
#include "engine/TimeText.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

void TimeSplit(double seconds, int* hours, int* minutes, int* secs, int* hundredths) {
    // Held inside a range whose hours fit an int: a float-to-int conversion out of range is
    // undefined.
    constexpr double kMaxSeconds = 7.0e12;
    if (!(seconds > 0)) seconds = 0; // also catches NaN
    if (seconds > kMaxSeconds) seconds = kMaxSeconds;
    int64_t h = (int64_t)(seconds * 100.0 + 0.5);
    if (hours) *hours = (int)(h / 360000);
    if (minutes) *minutes = (int)((h % 360000) / 6000);
    if (secs) *secs = (int)((h % 6000) / 100);
    if (hundredths) *hundredths = (int)(h % 100);
}

int TimeToTextMinSec(char16_t* out, size_t outSize, double seconds) {
    if (!out || outSize == 0) return -1;
    int h, m;
    TimeSplit(seconds, &h, &m, nullptr, nullptr);
    char text[32];
    int n = std::snprintf(text, sizeof text, "%i:%02i", h, m);
    if (n < 0 || (size_t)n >= outSize) {
        out[0] = 0;
        return -1;
    }
    for (int i = 0; i <= n; ++i)
        out[i] = (char16_t)(unsigned char)text[i];
    return 1;
}
