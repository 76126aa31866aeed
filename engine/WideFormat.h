// printf-style formatting into wide (UTF-16) text, with the meaning the game's wide format
// strings were written for: "%s" takes a wide string and "%c" a wide character. Numbers are
// always written in the "C" locale.
#pragma once

#include <cstdarg>
#include <cstddef>

// Conversions: d i u o x X f F e E g G a A c s p and "%%", with the flags - + space # 0, a
// width and a precision (either may be "*") and the length modifiers hh h l ll j z t L; "%hs"
// takes a narrow string. The output is cut to outCount - 1 units and always terminated (outCount
// 0 writes nothing). Returns the units written, or -1 with an empty output for a format that is
// refused: "%n" (it would write through an argument) or an unknown or unfinished conversion. A
// null string prints "(null)".
int WideFormatV(char16_t* out, size_t outCount, const char16_t* format, va_list args);
int WideFormat(char16_t* out, size_t outCount, const char16_t* format, ...);

// Widens narrow text byte by byte (each byte is the code unit of the same value, so ASCII and
// Latin-1 text survive) into at most outCount - 1 units, terminated. Returns the units written.
int WideFromNarrow(const char* text, char16_t* out, size_t outCount);

// Widens a file name as the file system spells it, UTF-8: each well-formed sequence becomes its
// character (one unit; a character beyond 16 bits becomes U+FFFD, which the fonts draw as their
// box), and a byte that starts no well-formed sequence stands for itself, so that a Latin-1 name
// still shows. At most outCount - 1 units, terminated; returns the units written.
int WideFromUtf8(const char* text, char16_t* out, size_t outCount);
