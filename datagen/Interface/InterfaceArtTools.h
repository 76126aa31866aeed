// What the interface art's products share: the caption face and colour, drawing text into an
// image, and the rules for picture names. Internal to the interface-art library.
#pragma once

#include "datagen/Images/ImageWriters.h"

#include <cstdint>
#include <string>
#include <vector>

struct AbcMetrics;
struct GenFont;

inline constexpr const char* kArtFace = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
inline constexpr uint32_t kArtCaptionColour = 0xFFFFFFFFu;

// The text's glyphs with the pen at (penX, top), blended in `colour`, kept inside the box
// [x0, x1) x [y0, y1); texel (keepX, keepY) is left alone.
void ArtDrawText(GenImage* img, const GenFont& font, const char* text, uint32_t colour, int penX,
                 int top, int x0, int y0, int x1, int y1, int keepX, int keepY);
// The caption broken at blanks into lines no wider than `width`; a word wider than that stands on
// a line of its own (and is clipped where it is drawn).
std::vector<std::string> ArtWrapCaption(const AbcMetrics& m, const std::string& text, int width);
// The face at `points` with every character of `text`, one byte per character.
bool ArtRenderFaceFont(const char* face, const std::string& text, int points, GenFont* font,
                       std::string* error);
// The file title of a path, lower-cased and without its extension: the game shares textures by it.
std::string ArtLowerTitle(const std::string& path);
// The picture name of a "texFileName" value, "/"-separated; false for anything that is no ".dds"
// file inside the data folder (absolute, "..", a drive, control characters, too long).
bool ArtCleanPictureName(std::string value, std::string* out);
