// The generated character maps: one 64 x 64 map per rig (Adult.tga, Child.tga) and the skins,
// the same layout painted in other colours. The map is a grid of 4 x 4 cells of 16 x 16 texels
// (CharCell); V = 0 is the top row.
#pragma once

#include "datagen/Characters/CharRig.h"

#include <cstdint>
#include <string>
#include <vector>

constexpr int kCharMapSize = 64;
constexpr int kCharCellTexels = 16;

// The texture coordinates of a cell, half a texel inside its edges: (u0, v0) top left.
struct CharCellRect {
    float u0, v0, u1, v1;
};
CharCellRect CharCellUv(CharCell cell);

enum class CharLook { Plain, Female, Carny };

struct CharPalette {
    uint32_t skin, hair, shirt, accent, trousers, shoes; // 0xRRGGBB
    CharLook look = CharLook::Plain;
};

// Rows top to bottom, R, G, B bytes.
struct CharMap {
    std::vector<uint8_t> rgb = std::vector<uint8_t>(kCharMapSize * kCharMapSize * 3);
    uint32_t At(int x, int y) const;
    void Set(int x, int y, uint32_t rgb);
};

CharMap CharPaintMap(const CharPalette& palette);

// The base colours of the adult and child maps.
CharPalette CharBasePalette(bool child);

struct CharSkin {
    std::string name; // "AdultMale1" ...
    CharPalette palette;
};
// Every skin the game asks for: AdultMale1..15, AdultFemale1..15, ChildMale1..12,
// ChildFemale1..12, Carny1..3, FemaleCarny1..3.
std::vector<CharSkin> CharSkins();

// The colour the face cell's eyes are painted in (the rules find the face by it).
constexpr uint32_t kCharEyeColour = 0x202020;

// Writes the map through the engine's TGA writer; true on success.
bool CharSaveMap(const CharMap& map, const std::string& path);
