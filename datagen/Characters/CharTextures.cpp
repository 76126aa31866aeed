// Painting the character maps and their skins.
#include "datagen/Characters/CharTextures.h"

#include "datagen/Images/ImageWriters.h"

#include <cstdio>

namespace {

uint32_t Shade(uint32_t rgb, float k) {
    auto ch = [&](int shift) {
        float v = (float)((rgb >> shift) & 0xFF) * k;
        return (uint32_t)(v > 255.0f ? 255.0f : v) << shift;
    };
    return ch(16) | ch(8) | ch(0);
}

// Hue in degrees, saturation and value 0..1 -> 0xRRGGBB.
uint32_t Hsv(int hue, float s, float v) {
    const float h = (float)(hue % 360) / 60.0f;
    const int sector = (int)h;
    const float f = h - (float)sector;
    const float p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
    float r = v, g = t, b = p;
    switch (sector) {
        case 1: r = q, g = v, b = p; break;
        case 2: r = p, g = v, b = t; break;
        case 3: r = p, g = q, b = v; break;
        case 4: r = t, g = p, b = v; break;
        case 5: r = v, g = p, b = q; break;
        default: break;
    }
    auto byte = [](float x) { return (uint32_t)(x * 255.0f + 0.5f); };
    return byte(r) << 16 | byte(g) << 8 | byte(b);
}

const uint32_t kSkinTones[] = {0xF1C8A8, 0xE0AC84, 0xC68A5E, 0x9A6440, 0x6E4428};
const uint32_t kHairColours[] = {0x2A1E14, 0x5A3A1E, 0xB08A48, 0x8A2E14, 0x1A1A1A, 0x9A9A9A};
const uint32_t kTrousers[] = {0x2E3A5C, 0x3C3C3C, 0x6A5A40, 0x2A4A34, 0x54422E, 0x1E2430};

// Paints one cell; (x, y) are the texel inside it, 0..15 from the top left.
uint32_t CellTexel(CharCell cell, int x, int y, const CharPalette& pal) {
    const bool female = pal.look == CharLook::Female;
    const bool carny = pal.look == CharLook::Carny;
    // Carnies wear a striped shirt; patrons a plain one.
    const uint32_t shirt = carny && (x / 2) % 2 ? pal.accent : pal.shirt;
    switch (cell) {
        case kCellFace:
            if (y < (female ? 4 : 3)) return pal.hair; // fringe
            if (female && (x < 2 || x > 13)) return pal.hair;
            if (y >= 6 && y <= 7 && (x == 4 || x == 5 || x == 10 || x == 11)) return kCharEyeColour;
            if (y == 9 && x >= 7 && x <= 8) return Shade(pal.skin, 0.8f); // nose
            if (y == 12 && x >= 5 && x <= 10) return 0x9A3A3A;            // mouth
            return pal.skin;
        case kCellHair: return (x + y) % 5 == 0 ? Shade(pal.hair, 1.25f) : pal.hair;
        case kCellHeadSide:
            if (y < (female ? 16 : 6)) return pal.hair;
            if (y >= 8 && y <= 10 && x >= 6 && x <= 8) return Shade(pal.skin, 0.85f); // ear
            return pal.skin;
        case kCellSkin: return pal.skin;
        case kCellShirtFront:
            if (y < 2 && x >= 5 && x <= 10) return pal.skin; // neck opening
            if (!carny && x >= 7 && x <= 8 && y % 4 == 2) return Shade(pal.shirt, 0.6f);
            return shirt;
        case kCellShirt: return y < 1 ? Shade(shirt, 0.8f) : shirt;
        case kCellSleeve: return y < 8 ? shirt : pal.skin;
        case kCellHand: return y >= 12 ? Shade(pal.skin, 0.9f) : pal.skin;
        case kCellBelt:
            if (y < 3) return female ? pal.trousers : 0x3A2A1A;
            return pal.trousers;
        case kCellTrousers:
            if (female && y >= 10) return pal.skin; // a skirt above the knee
            return x == 0 || x == 15 ? Shade(pal.trousers, 0.8f) : pal.trousers;
        case kCellCalf:
            if (y >= 12) return pal.shoes;
            return female ? pal.skin : pal.trousers;
        case kCellSole: return Shade(pal.shoes, 0.7f);
        default: return 0x808080;
    }
}

CharPalette Patron(int i, bool child, bool female) {
    CharPalette p;
    p.look = female ? CharLook::Female : CharLook::Plain;
    p.skin = kSkinTones[(i * 3 + (female ? 1 : 0)) % 5];
    p.hair = kHairColours[(i * 5 + (child ? 2 : 0)) % 6];
    // Shirts go round the colour wheel; children's are brighter.
    p.shirt = Hsv(i * 67 + (female ? 150 : 0), child ? 0.75f : 0.55f, child ? 0.95f : 0.8f);
    p.accent = Shade(p.shirt, 0.7f);
    p.trousers = female ? Hsv(i * 41 + 200, 0.45f, 0.55f) : kTrousers[i % 6];
    p.shoes = i % 2 ? 0x2A2018 : 0x4A3A2A;
    return p;
}

CharPalette Carny(int i, bool female) {
    static const uint32_t kStripe[] = {0xC02020, 0x2040B0, 0x208040};
    CharPalette p;
    p.look = CharLook::Carny;
    p.skin = kSkinTones[(i * 2 + (female ? 1 : 0)) % 5];
    p.hair = kHairColours[(i + (female ? 2 : 0)) % 6];
    p.shirt = kStripe[i % 3];
    p.accent = 0xF0F0E8;
    p.trousers = female ? 0x3A2A4A : 0x30303A;
    p.shoes = 0x1E1A16;
    return p;
}

} // namespace

CharCellRect CharCellUv(CharCell cell) {
    const float texel = 1.0f / kCharMapSize, side = (float)kCharCellTexels / kCharMapSize;
    const float u = (float)((int)cell % 4) * side, v = (float)((int)cell / 4) * side;
    return {u + 0.5f * texel, v + 0.5f * texel, u + side - 0.5f * texel, v + side - 0.5f * texel};
}

uint32_t CharMap::At(int x, int y) const {
    const uint8_t* p = &rgb[(size_t)(y * kCharMapSize + x) * 3];
    return (uint32_t)p[0] << 16 | (uint32_t)p[1] << 8 | p[2];
}

void CharMap::Set(int x, int y, uint32_t c) {
    uint8_t* p = &rgb[(size_t)(y * kCharMapSize + x) * 3];
    p[0] = (uint8_t)(c >> 16), p[1] = (uint8_t)(c >> 8), p[2] = (uint8_t)c;
}

CharMap CharPaintMap(const CharPalette& palette) {
    CharMap map;
    for (int y = 0; y < kCharMapSize; ++y)
        for (int x = 0; x < kCharMapSize; ++x) {
            const int cell = (y / kCharCellTexels) * 4 + x / kCharCellTexels;
            const uint32_t c = cell < kCellCount ? CellTexel((CharCell)cell, x % kCharCellTexels,
                                                             y % kCharCellTexels, palette)
                                                 : 0x808080;
            map.Set(x, y, c);
        }
    return map;
}

CharPalette CharBasePalette(bool child) {
    CharPalette p;
    p.skin = kSkinTones[1];
    p.hair = kHairColours[1];
    p.shirt = child ? 0xE0A020 : 0x4A78B0;
    p.accent = Shade(p.shirt, 0.7f);
    p.trousers = kTrousers[0];
    p.shoes = 0x3A2A1E;
    return p;
}

std::vector<CharSkin> CharSkins() {
    std::vector<CharSkin> out;
    auto add = [&](const char* prefix, int count, auto make) {
        for (int i = 1; i <= count; ++i)
            out.push_back({prefix + std::to_string(i), make(i)});
    };
    add("AdultMale", 15, [](int i) { return Patron(i, false, false); });
    add("AdultFemale", 15, [](int i) { return Patron(i, false, true); });
    add("ChildMale", 12, [](int i) { return Patron(i, true, false); });
    add("ChildFemale", 12, [](int i) { return Patron(i, true, true); });
    add("Carny", 3, [](int i) { return Carny(i, false); });
    add("FemaleCarny", 3, [](int i) { return Carny(i, true); });
    return out;
}

bool CharSaveMap(const CharMap& map, const std::string& path) {
    GenImage img(kCharMapSize, kCharMapSize);
    for (int y = 0; y < kCharMapSize; ++y)
        for (int x = 0; x < kCharMapSize; ++x)
            img.Set(x, y, 0xFF000000u | map.At(x, y));
    return GenWriteFile(path, GenTga24Bytes(img));
}
