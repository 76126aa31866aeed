// Durations split into parts and shown as text.
#pragma once

#include <cstddef>

// Rounds to hundredths and splits. Negative or NaN seconds give all zeros; very large values
// are held at about two billion hours.
void TimeSplit(double seconds, int* hours, int* minutes, int* secs, int* hundredths);
// "%i:%02i" of the hours and minutes ("1:02" for 3725.5 s); 1, or -1 and "" when out is too small.
int TimeToTextMinSec(char16_t* out, size_t outSize, double seconds);
