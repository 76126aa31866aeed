// The game's wide text: the names and descriptions it shows are read from ini files as narrow
// UTF-8 and held as UTF-16.
#pragma once

#include <string>

// Decodes UTF-8 into at most outCount - 1 UTF-16 units and always terminates (outCount 0 writes
// nothing). A byte that does not begin a valid sequence stands for the character of the same
// code (0xE9 gives U+00E9), so Latin-1 text survives and nothing is skipped. A character that
// needs a surrogate pair is left out, with what follows, when the pair does not fit. Returns the
// units written.
int WideFromUtf8(const char* text, char16_t* out, int outCount);

// Converts the narrow text at the start of a field of `count` wide characters into wide text in
// the same field (at most count - 1 characters, terminated). Returns the characters written.
int WideFromNarrowInPlace(char16_t* field, int count);

// UTF-8 of wide text, for logs and file names; an unpaired surrogate becomes U+FFFD.
std::string WideToUtf8(const char16_t* text);
