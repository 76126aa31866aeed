// Software decoding of DXT1, DXT3 and DXT5 blocks into B, G, R, A bytes (A8R8G8B8 in memory):
// for contexts without S3TC, and to check what a texture should sample.
#pragma once

#include <cstddef>
#include <cstdint>

// `pixels` is a DdsPixels code (DXT1..DXT5; DXT2 and DXT4 decode as DXT3 and DXT5). Writes the
// 4 x 4 texels of one block, rows top to bottom, 16 bytes per row.
void DxtDecodeBlock(int pixels, const uint8_t* block, uint8_t out[64]);
// Decodes a whole level of width x height texels (any size of at least 1) into rows of `pitch`
// bytes; the texels of partial edge blocks beyond the level are dropped.
void DxtDecodeLevel(int pixels, uint32_t width, uint32_t height, const uint8_t* blocks,
                    uint8_t* dst, size_t pitch);
// The 5-6-5 colour of a block endpoint as B, G, R, A with every channel widened by bit
// replication (the value the decoder and the GPU give an endpoint).
uint32_t Dxt565ToArgb(uint16_t c);
