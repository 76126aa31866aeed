// The slide-show series: the main menu's slides and the help and credits pages.
#include "datagen/Interface/InterfaceArt.h"
#include "datagen/Interface/InterfaceArtTools.h"

#include "datagen/Fonts/GenFont.h"
#include "engine/Dirs.h"

#include <cstdio>

// ---- slide-show series ----

namespace {
constexpr const char* kPageFace = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf";
constexpr int kPageHeadingPoints = 24, kPageTextPoints = 15;
constexpr int kPageMargin = 24;
constexpr uint32_t kPageHeadingColour = 0xFFFFE080u;

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error) {
    const std::string dir = path.substr(0, path.find_last_of('/') + 1);
    if (DirCreatePath(dir.c_str()) != 1 || !GenWriteFile(path, bytes)) {
        *error = "cannot write " + path;
        return false;
    }
    return true;
}

// How to play, in the words and keys of the road through the menus.
const SlidePage kHelpPages[3] = {
    {"Starting a carnival",
     {"Sandbox gives you unlimited money; Career starts a career with a name and a difficulty.",
      "Choose a venue and Next; a locked venue shows the rank that opens it.",
      "Set the ticket price, the advertising (bills, newspaper, radio, TV) and the free "
      "tickets, then Start. Enter (or OK) closes the venue's welcome.",
      "Start, left of the HUD, opens the gates: patrons arrive and the clock runs. 1/2, 1X, 2X "
      "and 8X Time set its speed.",
      "An hourly report stops the game every game hour until you turn it off there.",
      "At closing time: Run Another Day, Save and Exit, or Exit Without Saving."}},
    {"Building and running",
     {"Equipment opens the catalogue: Food, Games, Rides and Utility. Select a row and OK.",
      "Move over the ground and click to place it; its deposit is paid. Space turns it a "
      "quarter turn first, Escape drops it.",
      "Click an attraction, an employee or a patron to see its panel. An attraction's opens or "
      "closes it, asks for repair, sets its ticket price, rides along (Ride) or removes it for "
      "its value (Delete); an employee's fires the employee at a day's severance pay.",
      "Reports shows the business reports. Menu (or Escape) opens the pause menu: Save Layout, "
      "Options, Help and Exit."}},
    {"Keys",
     {"Enter presses the control in focus.",
      "Escape goes back; in the HUD it opens the pause menu.",
      "The arrow keys move the focus between controls.", "Space turns the attraction being placed.",
      "W, A, S, D or the mouse at a window edge move the camera; Q and E turn it; R and F or "
      "the wheel zoom.",
      "Drag with the right button to move the camera, with the middle button (or both) to turn "
      "and tilt it."}},
};

// The project and the free software and fonts it is built on, with their licences.
const SlidePage kCreditsPages[3] = {
    {"Fairlark",
     {"A carnival-management game and its own engine, for Linux.",
      "Made by the Fairlark developers.",
      "Every picture, model, sound and font in the game is made by the game's own tools when it "
      "is built, from the free libraries and fonts on the next pages."}},
    {"Built with free software",
     {"SDL2: zlib licence", "OpenAL Soft: GNU LGPL", "Lua: MIT licence",
      "ODE, the Open Dynamics Engine: BSD licence", "libvorbis and libogg: BSD licence",
      "TinyXML: zlib licence", "Dear ImGui: MIT licence", "FreeType: FreeType licence"}},
    {"Fonts",
     {"DejaVu fonts: the DejaVu fonts licence (the Bitstream Vera licence)",
      "Thanks to everyone who writes and shares free software."}},
};

// Every character of the page, once, for its fonts.
std::string PageText(const SlidePage& page) {
    std::string text = page.heading ? page.heading : "";
    for (const char* paragraph : page.paragraphs)
        if (paragraph) text += paragraph;
    return text;
}

// The page in the top left kSlideTextWidth x kSlideTextHeight of the slide: its heading, then its
// paragraphs wrapped to the box, a third of a line apart; texel (keepX, keepY) is left alone.
bool DrawPage(GenImage* img, const SlidePage& page, int keepX, int keepY, std::string* error) {
    GenFont heading, body;
    const std::string text = PageText(page);
    if (!ArtRenderFaceFont(kArtFace, text, kPageHeadingPoints, &heading, error) ||
        !ArtRenderFaceFont(kPageFace, text, kPageTextPoints, &body, error))
        return false;
    const int x0 = kPageMargin, x1 = int(kSlideTextWidth) - kPageMargin;
    const int y1 = int(kSlideTextHeight) - kPageMargin / 2;
    int top = kPageMargin / 2;
    if (page.heading) {
        ArtDrawText(img, heading, page.heading, kPageHeadingColour, x0, top, x0, 0, x1, y1, keepX,
                    keepY);
        top += int(heading.metrics.cellHeight) * 4 / 3;
    }
    const int lineH = int(body.metrics.cellHeight);
    for (const char* paragraph : page.paragraphs) {
        if (!paragraph) continue;
        for (const std::string& line : ArtWrapCaption(body.metrics, paragraph, x1 - x0)) {
            ArtDrawText(img, body, line.c_str(), kArtCaptionColour, x0, top, x0, 0, x1, y1, keepX,
                        keepY);
            top += lineH;
        }
        top += lineH / 3;
    }
    if (top - lineH / 3 > y1) {
        *error =
            "the page's text runs " + std::to_string(top - lineH / 3 - y1) + " rows below its box";
        return false;
    }
    return true;
}
} // namespace

const std::vector<SlideSeries>& SlideTable() {
    // Nine colours far apart, so that every slide and every halfway mix tells itself apart; the
    // pages are dark under their light text.
    static const std::vector<SlideSeries> s_series = {
        {"Menu/Slides/SlideShow", 1024, 1024, 768, 3, {0xFFB03030u, 0xFF30A050u, 0xFF3050C0u}},
        {"Menu/Help/ZobHelp",
         1024,
         512,
         512,
         3,
         {0xFF2A3C64u, 0xFF4A2A5Au, 0xFF1E4A46u},
         kHelpPages},
        {"Menu/Credits/ZobCredits",
         1024,
         512,
         512,
         3,
         {0xFF5A3220u, 0xFF24465Eu, 0xFF404040u},
         kCreditsPages},
    };
    return s_series;
}

std::string SlideFile(const SlideSeries& series, uint32_t index) {
    char number[16];
    std::snprintf(number, sizeof number, "%02u.dds", index % 100u);
    return std::string(series.base) + number;
}

std::string SlideWords(const SlideSeries& series, uint32_t index) {
    if (!series.pages || index >= series.count) return "";
    const SlidePage& page = series.pages[index];
    std::string words = page.heading ? page.heading : "";
    for (const char* paragraph : page.paragraphs)
        if (paragraph) words += std::string(words.empty() ? "" : " / ") + paragraph;
    return words;
}

bool SlidePaint(const SlideSeries& series, uint32_t index, GenImage* out, std::string* error) {
    if (index >= series.count || series.count > kSlideMaxPerSeries ||
        series.pictureHeight > series.height ||
        (series.pages &&
         (series.width < kSlideTextWidth || series.pictureHeight < kSlideTextHeight))) {
        *error = "no such slide";
        return false;
    }
    *out = GenImage(series.width, series.height);
    for (uint32_t y = 0; y < series.height; ++y)
        for (uint32_t x = 0; x < series.width; ++x)
            out->Set(x, y, y < series.pictureHeight ? series.fills[index] : 0xFF000000u);
    // The centre of the picture stays the plain fill, where the screens tell slides apart.
    return !series.pages || DrawPage(out, series.pages[index], int(series.width / 2),
                                     int(series.pictureHeight / 2), error);
}

bool SlideWriteAll(const std::vector<SlideSeries>& table, const std::string& dataFolder,
                   std::string* error) {
    for (const SlideSeries& series : table)
        for (uint32_t i = 0; i < series.count; ++i) {
            GenImage img;
            if (!SlidePaint(series, i, &img, error)) {
                *error = SlideFile(series, i) + ": " + *error;
                return false;
            }
            // One level: the screens draw slides at their own size.
            if (!WriteBytes(dataFolder + SlideFile(series, i),
                            GenDdsBytes(GenDds::Argb32, GenChain{img}), error))
                return false;
        }
    return true;
}
