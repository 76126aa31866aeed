// Writes the game's bitmap fonts into the data folder's "Fonts/": each name rendered from a
// free face of Debian's fonts-dejavu-core, as "<name>.abc" metrics and a "<name>.tga" atlas.
#include "datagen/Fonts/GenFont.h"
#include "engine/Dirs.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr const char* kFaces = "/usr/share/fonts/truetype/dejavu/";

// The names the game loads its fonts by, with the face and size (points at 96 dpi) each is made
// from.
struct FontRecipe {
    const char* name;
    const char* face;
    int points;
};
constexpr FontRecipe kFonts[] = {
    {"Georgia_26", "DejaVuSerif.ttf", 26},    {"Georgia_20", "DejaVuSerif.ttf", 20},
    {"Georgia_16", "DejaVuSerif.ttf", 16},    {"Georgia_14", "DejaVuSerif.ttf", 14},
    {"Arial_12b", "DejaVuSans-Bold.ttf", 12}, {"CourierNew9o", "DejaVuSansMono.ttf", 9},
};

// Printable ASCII and Latin-1.
std::vector<char16_t> Codes() {
    std::vector<char16_t> codes;
    for (char16_t c = 32; c <= 126; ++c)
        codes.push_back(c);
    for (char16_t c = 160; c <= 255; ++c)
        codes.push_back(c);
    return codes;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: gen_fonts <Data folder>/\n");
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "Fonts/";
    if (DirCreatePath(folder.c_str()) != 1) {
        std::fprintf(stderr, "gen_fonts: cannot make %s\n", folder.c_str());
        return 1;
    }
    const std::vector<char16_t> codes = Codes();
    for (const FontRecipe& f : kFonts) {
        GenFont font;
        std::string error;
        if (!GenRenderFont(std::string(kFaces) + f.face, f.points, codes, &font, &error)) {
            std::fprintf(stderr, "gen_fonts: %s: %s\n", f.name, error.c_str());
            return 1;
        }
        if (!GenWriteFont(font, folder + f.name)) {
            std::fprintf(stderr, "gen_fonts: cannot write %s%s\n", folder.c_str(), f.name);
            return 1;
        }
    }
    return 0;
}
