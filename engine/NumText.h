// Numbers as text, always in the "C" locale whatever the process locale is: the decimal and
// hexadecimal readers of the ini layer and the float form of every ini and property write.
#pragma once

#include <cstddef>

// Hexadecimal text to a 32-bit word. One optional "0", then one optional "x", then one optional
// "X" are skipped; every further character counts as a digit by a 128-entry table in which
// anything but 0-9, a-f and A-F is 0 ("0x1G" is 0x10), and a byte with the high bit set makes the
// whole result 0. Digits beyond eight shift the first ones out (32-bit wrap).
int HexToInt(const char* text);

// Decimal text as the run-time's atol reads it: leading blanks, one sign, digits up to the first
// non-digit; "" and non-numbers give 0. Values beyond 32 bits saturate at INT32_MIN / INT32_MAX.
int DecToInt(const char* text);

// Float text as atof reads it ("1e400" gives infinity, "nan" a NaN, "" gives 0).
float TextToFloat(const char* text);

// Drops trailing zeros of a number with a decimal point, keeping one digit after the point
// ("1.500000" -> "1.5", "2.000000" -> "2.0"). Text without a point is left alone. Returns text.
char* StrTrimZeros(char* text);

// "%f" exactly (six decimals). Returns the length written; always terminated when outSize > 0.
int FloatToTextF(float value, char* out, size_t outSize);
// The float form of the ini files and property texts: "%f" then StrTrimZeros ("0.125", "1.0").
// Returns the length written; the text is always terminated when outSize > 0 (cut if it must be).
int FloatToText(float value, char* out, size_t outSize);
