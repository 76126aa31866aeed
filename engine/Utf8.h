// UTF-8 decoding shared by the text paths (typed characters, the game's shown text).
#pragma once

#include <cstddef>
#include <cstdint>

// The code point of the valid sequence at `s` (n bytes left), with its length; length 0 when the
// bytes are not a valid, shortest-form sequence of a scalar value.
uint32_t Utf8DecodeOne(const unsigned char* s, size_t n, int* length);
