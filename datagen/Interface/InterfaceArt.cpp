// The interface art's table and painter.
#include "datagen/Interface/InterfaceArt.h"

#include "datagen/Fonts/GenFont.h"
#include "engine/Dirs.h"
#include "game/AttrInfo.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iterator>
#include <map>

namespace {

constexpr const char* kFace = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
constexpr uint32_t kCaptionColour = 0xFFFFFFFFu;
constexpr uint32_t kBorder = 2;

uint32_t Lighter(uint32_t argb) {
    uint32_t out = argb & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t c = (argb >> shift) & 0xFF;
        out |= (c + (255 - c) / 2) << shift;
    }
    return out;
}

uint32_t Blend(uint32_t under, uint32_t over, uint32_t coverage) {
    uint32_t out = under & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t a = (under >> shift) & 0xFF, b = (over >> shift) & 0xFF;
        out |= ((a * (255 - coverage) + b * coverage) / 255) << shift;
    }
    return out;
}

void FillBox(GenImage* img, uint32_t y0, uint32_t w, uint32_t h, uint32_t fill) {
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            const bool edge = x < kBorder || y < kBorder || x >= w - kBorder || y >= h - kBorder;
            img->Set(x, y0 + y, edge ? Lighter(fill) : fill);
        }
}

void FillFrame(GenImage* img, const ArtRow& row, uint32_t frame, uint32_t fill) {
    FillBox(img, ArtFrameTop(row, frame), row.cellWidth, row.cellHeight, fill);
}

// An arrow with its tip at the cell's top left, outlined in black on its two long sides: a
// wedge, then a stem; (4, 4) lies inside, the rest of the cell is transparent.
void DrawArrow(GenImage* img, const ArtRow& row, uint32_t frame, uint32_t fill) {
    const uint32_t y0 = ArtFrameTop(row, frame);
    for (uint32_t y = 0; y < row.cellHeight; ++y)
        for (uint32_t x = 0; x < row.cellWidth; ++x) {
            // The outline keeps two texels away from (4, 4), so a filtered sample there is the
            // plain fill.
            const bool wedge = y < 18 && x <= y + 3 && 2 * x + y <= 36;
            const bool stem = y >= 12 && y < 26 && x >= y / 2 && x < y / 2 + 4;
            if (!wedge && !stem) continue;
            const bool outline = wedge && (x == 0 || x == y + 3);
            img->Set(x, y0 + y, outline ? 0xFF000000u : fill);
        }
}

const AbcRecord& Glyph(const AbcMetrics& m, char c) {
    const size_t code = (unsigned char)c;
    return m.records[code < m.table.size() ? m.table[code] : 0];
}

// A glyph's advance as the game's fonts keep it: a + c (b is only the width of its cell in the
// atlas, which the pen does not add).
int Advance(const AbcRecord& r) {
    return r.a + r.c;
}

// The text's width in pixels, advances included.
int TextWidth(const AbcMetrics& m, const char* text) {
    int width = 0;
    for (const char* p = text; *p; ++p)
        width += Advance(Glyph(m, *p));
    return width;
}

// The text's glyphs with the pen at (penX, top), blended in `colour`, kept inside the box
// [x0, x1) x [y0, y1); texel (keepX, keepY) is left alone.
void DrawText(GenImage* img, const GenFont& font, const char* text, uint32_t colour, int penX,
              int top, int x0, int y0, int x1, int y1, int keepX, int keepY) {
    const AbcMetrics& m = font.metrics;
    const int cellH = int(m.cellHeight);
    for (const char* p = text; *p; ++p) {
        const AbcRecord& r = Glyph(m, *p);
        const int sx = int(r.left * float(font.atlas.width) + 0.5f);
        const int sy = int(r.top * float(font.atlas.height) + 0.5f);
        for (int y = 0; y < cellH; ++y)
            for (int x = 0; x < r.b; ++x) {
                const int fx = penX + r.a + x, fy = top + y;
                if (fx < x0 || fx >= x1 || fy < y0 || fy >= y1 || (fx == keepX && fy == keepY))
                    continue;
                if (sx + x < 0 || sy + y < 0 || sx + x >= font.atlas.width ||
                    sy + y >= font.atlas.height)
                    continue;
                const uint8_t cover = font.atlas.At(sx + x, sy + y);
                if (!cover) continue;
                const uint32_t tx = uint32_t(fx), ty = uint32_t(fy);
                img->Set(tx, ty, Blend(img->Get(tx, ty), colour, cover));
            }
        penX += Advance(r);
    }
}

// The caption's glyphs centred in the frame, inside the border; texel (4, 4) is left alone. A
// panel the screens write on has it along its bottom edge instead, in its border's colour, clear
// of the middle where the screens' text goes.
void DrawCaption(GenImage* img, const ArtRow& row, uint32_t frame, const GenFont& font) {
    const int cellH = int(font.metrics.cellHeight);
    const int frameTop = int(ArtFrameTop(row, frame));
    const int penX = (int(row.cellWidth) - TextWidth(font.metrics, row.caption)) / 2;
    const bool written = row.kind == ArtKind::TextPanel;
    const int top = frameTop + (written ? int(row.cellHeight) - int(kBorder) - 4 - cellH
                                        : (int(row.cellHeight) - cellH) / 2);
    const uint32_t colour = written ? Lighter(ArtFrameFill(row, frame)) : kCaptionColour;
    DrawText(img, font, row.caption, colour, penX, top, int(kBorder), frameTop + int(kBorder),
             int(row.cellWidth - kBorder), frameTop + int(row.cellHeight - kBorder), 4,
             frameTop + 4);
}

// The caption broken at blanks into lines no wider than `width`; a word wider than that stands on
// a line of its own (and is clipped where it is drawn).
std::vector<std::string> WrapCaption(const AbcMetrics& m, const std::string& text, int width) {
    std::vector<std::string> lines;
    std::string line;
    size_t at = 0;
    while (at < text.size()) {
        const size_t start = text.find_first_not_of(' ', at);
        if (start == std::string::npos) break;
        size_t end = text.find(' ', start);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(start, end - start);
        at = end;
        const std::string joined = line.empty() ? word : line + " " + word;
        if (line.empty() || TextWidth(m, joined.c_str()) <= width) {
            line = joined;
        } else {
            lines.push_back(line);
            line = word;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

// A card's caption: its lines centred one under another in the middle of the frame, inside the
// border; texel (4, 4) is left alone.
void DrawCardCaption(GenImage* img, const ArtRow& row, const GenFont& font) {
    constexpr int kMargin = 4;
    const int inner = int(row.cellWidth) - 2 * int(kBorder) - 2 * kMargin;
    const std::vector<std::string> lines = WrapCaption(font.metrics, row.caption, inner);
    const int lineH = int(font.metrics.cellHeight);
    const int frameTop = int(ArtFrameTop(row, 0));
    int top = frameTop + (int(row.cellHeight) - lineH * int(lines.size())) / 2;
    top = std::max(top, frameTop + int(kBorder));
    for (const std::string& line : lines) {
        const int penX = (int(row.cellWidth) - TextWidth(font.metrics, line.c_str())) / 2;
        DrawText(img, font, line.c_str(), kCaptionColour, penX, top, int(kBorder),
                 frameTop + int(kBorder), int(row.cellWidth - kBorder),
                 frameTop + int(row.cellHeight - kBorder), 4, frameTop + 4);
        top += lineH;
    }
}

bool RenderCaptionFont(const char* text, int points, GenFont* font, std::string* error) {
    std::vector<char16_t> codes;
    for (const char* p = text; *p; ++p)
        codes.push_back(char16_t((unsigned char)*p));
    return GenRenderFont(kFace, points, codes, font, error);
}

std::string LowerTitle(const std::string& path) {
    std::string title = path.substr(path.find_last_of("/\\") + 1);
    title = title.substr(0, title.find('.'));
    std::transform(title.begin(), title.end(), title.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return title;
}

} // namespace

uint32_t ArtFrameTop(const ArtRow& row, uint32_t frame) {
    return row.top + frame * row.cellHeight;
}

uint32_t ArtFrameFill(const ArtRow& row, uint32_t frame) {
    switch (row.kind) {
        case ArtKind::CheckBox: return frame % 4 == 3 ? 0u : kArtStateFill[(frame % 4) % 3];
        case ArtKind::Panel:
        case ArtKind::TextPanel: return kArtPanelFill;
        case ArtKind::Cursor: return kArtCursorFill[frame % 4];
        case ArtKind::Screen:
        case ArtKind::Overlay:
        case ArtKind::Card: return row.fill;
        default: return kArtStateFill[frame % 3];
    }
}

const std::vector<ArtRow>& ArtTable() {
    static const std::vector<ArtRow> s_rows = {
        {"Menu/Common/ChkBx.dds", 32, 256, 22, 20, 8, "X", 10, ArtKind::CheckBox},
        {"Menu/Common/DataBox.dds", 128, 128, 96, 28, 3, "", 0, ArtKind::Strip},
        {"Menu/Common/ButtonUpArrow.dds", 32, 64, 24, 14, 3, "+", 8, ArtKind::Strip},
        {"Menu/Common/ButtonDownArrow.dds", 32, 64, 24, 14, 3, "-", 8, ArtKind::Strip},
        // The control kit's buttons, each captioned with its file title.
        {"Menu/Common/ZobButtonOk.dds", 128, 256, 97, 57, 3, "ZobButtonOk", 8, ArtKind::Strip},
        {"Menu/Common/ButtonUp.dds", 128, 256, 97, 57, 3, "ButtonUp", 8, ArtKind::Strip},
        {"Menu/Common/ButtonDown.dds", 128, 256, 97, 57, 3, "ButtonDown", 8, ArtKind::Strip},
        {"Menu/Common/ButtonPageUp.dds", 128, 256, 97, 57, 3, "ButtonPageUp", 8, ArtKind::Strip},
        {"Menu/Common/ButtonPageDown.dds", 128, 256, 97, 57, 3, "ButtonPageDown", 7,
         ArtKind::Strip},
        {"Menu/Common/ZobButtonBack.dds", 128, 256, 119, 64, 3, "ZobButtonBack", 8, ArtKind::Strip},
        {"Menu/Common/ZobButtonStart.dds", 128, 256, 119, 63, 3, "ZobButtonStart", 8,
         ArtKind::Strip},
        {"Menu/Common/ZobButtonNext.dds", 128, 256, 118, 64, 3, "ZobButtonNext", 8, ArtKind::Strip},
        {"Menu/Common/ZobButtonCancel.dds", 256, 256, 134, 56, 3, "ZobButtonCancel", 9,
         ArtKind::Strip},
        {"Menu/Common/ZobButtonDelete.dds", 128, 256, 97, 57, 3, "ZobButtonDelete", 7,
         ArtKind::Strip},
        {"Menu/Common/ZobButtonView.dds", 128, 256, 97, 57, 3, "ZobButtonView", 7, ArtKind::Strip},
        {"Menu/Common/ZobButtonHire.dds", 128, 256, 97, 57, 3, "ZobButtonHire", 8, ArtKind::Strip},
        {"Menu/Common/ZobButtonFire.dds", 128, 256, 97, 57, 3, "ZobButtonFire", 8, ArtKind::Strip},
        {"Menu/Common/ButtonRide.dds", 128, 256, 97, 57, 3, "ButtonRide", 8, ArtKind::Strip},
        // Panels: the cell is the rectangle the kit's uv values select.
        {"Menu/Common/ZobPanelGenericLarge.dds", 1024, 1024, 913, 567, 1, "ZobPanelGenericLarge",
         28, ArtKind::TextPanel},
        {"Menu/Common/ZobPanelGenericLargeHeader.dds", 1024, 1024, 913, 586, 1,
         "ZobPanelGenericLargeHeader", 28, ArtKind::TextPanel},
        {"Menu/MidwaySelector/ZobPanelMidwaySelector.dds", 1024, 1024, 905, 572, 1,
         "ZobPanelMidwaySelector", 28, ArtKind::TextPanel},
        {"Menu/Common/ZobPanelGeneric.dds", 1024, 512, 574, 426, 1, "ZobPanelGeneric", 24,
         ArtKind::TextPanel},
        {"Menu/Common/ZobPanelNewCareer.dds", 1024, 512, 574, 426, 1, "ZobPanelNewCareer", 24,
         ArtKind::TextPanel},
        {"Menu/Common/ZOBLogoAnimSmall.dds", 512, 512, 257, 144, 2, "ZOBLogoAnimSmall", 16,
         ArtKind::Strip},
        // The body in rows 0-417, the three lights frames of 102 rows from row 419.
        {"Menu/InGame/InGamePanel.dds", 512, 1024, 377, 102, 3, "InGamePanel", 12, ArtKind::InGame,
         419},
        {"Menu/MouseCursors.dds", 32, 128, 32, 32, 4, "", 0, ArtKind::Cursor},
        // The front end's backgrounds, the difficulty buttons and the confirmation's buttons.
        {"Menu/Common/ZobPurpleBackground.dds", 1024, 1024, 1024, 768, 1, "ZobPurpleBackground", 40,
         ArtKind::Screen, 0, kArtBackdropFill},
        {"Menu/BackgroundGeneric1.dds", 1024, 1024, 1024, 768, 1, "BackgroundGeneric1", 40,
         ArtKind::Screen, 0, 0xFF6E5A28u},
        {"Menu/NewCareer/buttonEasy.dds", 128, 256, 115, 44, 3, "buttonEasy", 10, ArtKind::Strip},
        {"Menu/NewCareer/buttonMedium.dds", 128, 128, 115, 40, 3, "buttonMedium", 10,
         ArtKind::Strip},
        {"Menu/NewCareer/buttonHard.dds", 128, 256, 115, 43, 3, "buttonHard", 10, ArtKind::Strip},
        {"Menu/ConfirmExit/button_ok.dds", 128, 256, 97, 57, 3, "button_ok", 10, ArtKind::Strip},
        {"Menu/ConfirmExit/button_cancel.dds", 256, 256, 134, 56, 3, "button_cancel", 10,
         ArtKind::Strip},
        // The reports: the list's highlight bar, and the stand-alone power list's own panel and
        // buttons (its Up and Down share the common buttons' titles, so their bytes too).
        {"Highlight.dds", 64, 32, 64, 32, 1, "", 0, ArtKind::Panel},
        {"Menu/HUD/PanelGenericLarge.dds", 1024, 1024, 913, 567, 1, "PanelGenericLarge", 24,
         ArtKind::TextPanel},
        {"Menu/EquipResource/ButtonOK.dds", 128, 256, 97, 57, 3, "ButtonOK", 8, ArtKind::Strip},
        {"Menu/EquipResource/ButtonUp.dds", 128, 256, 97, 57, 3, "ButtonUp", 8, ArtKind::Strip},
        {"Menu/EquipResource/ButtonDown.dds", 128, 256, 97, 57, 3, "ButtonDown", 8, ArtKind::Strip},
        // The options pages: the shared panel (uv 0.5625 x 0.875) and the two tabs (the button's
        // cell, the picture's uv); their background is the front end's, above.
        {"Menu/Common/ZobPanelOptions.dds", 1024, 512, 576, 448, 1, "ZobPanelOptions", 24,
         ArtKind::TextPanel},
        {"Menu/Options/button_video.dds", 128, 512, 121, 83, 3, "button_video", 8, ArtKind::Strip},
        {"Menu/Options/button_audio.dds", 128, 512, 115, 80, 3, "button_audio", 8, ArtKind::Strip},
        // The fixed load screen: its backdrop and its two buttons.
        {"Menu/LoadGame/BackgroundLoadGame.dds", 1024, 1024, 1024, 768, 1, "BackgroundLoadGame", 40,
         ArtKind::Screen, 0, 0xFF28606Eu},
        {"Menu/LoadGame/buttonLoad.dds", 256, 256, 198, 58, 3, "buttonLoad", 10, ArtKind::Strip},
        {"Menu/LoadGame/buttonCancel.dds", 256, 256, 134, 56, 3, "buttonCancel", 10,
         ArtKind::Strip},
        // The venue selector's lock, drawn 96 x 96 over a venue's thumbnail.
        {"Menu/MidwaySelector/LockedIcon.dds", 128, 128, 96, 96, 1, "LockedIcon", 10,
         ArtKind::Panel},
        // The build catalogue: its four category strips, its lock (the venue selector's row again,
        // so the same bytes) and the money icon over a type the cash cannot cover.
        {"Menu/EquipResource/ButtonFood.dds", 256, 128, 133, 25, 3, "ButtonFood", 7,
         ArtKind::Strip},
        {"Menu/EquipResource/ButtonGOC.dds", 256, 128, 145, 25, 3, "ButtonGOC", 7, ArtKind::Strip},
        {"Menu/EquipResource/ButtonRides.dds", 64, 128, 51, 26, 3, "ButtonRides", 4,
         ArtKind::Strip},
        {"Menu/EquipResource/ButtonUtility.dds", 256, 128, 146, 31, 3, "ButtonUtility", 7,
         ArtKind::Strip},
        {"Menu/EquipResource/LockedIcon.dds", 128, 128, 96, 96, 1, "LockedIcon", 10,
         ArtKind::Panel},
        {"Menu/Common/LockedIconMoney.dds", 128, 128, 96, 96, 1, "$", 24, ArtKind::Panel},
        // The in-game HUD: its backdrop across the top, its four buttons and the clock, in the one
        // folder the reports' panel shares (the HUD names it "Menu\Hud\...").
        {"Menu/HUD/ZobHudBackground.dds", 1024, 256, 1024, 178, 1, "", 0, ArtKind::Panel},
        {"Menu/HUD/ButtonBusinessReport.dds", 128, 256, 93, 49, 3, "ButtonBusinessReport", 5,
         ArtKind::Strip},
        {"Menu/HUD/ButtonFairReport.dds", 128, 256, 93, 59, 3, "ButtonFairReport", 7,
         ArtKind::Strip},
        {"Menu/HUD/ButtonManage.dds", 128, 256, 70, 68, 3, "ButtonManage", 5, ArtKind::Strip},
        {"Menu/HUD/ButtonHelp.dds", 64, 256, 63, 52, 3, "ButtonHelp", 5, ArtKind::Strip},
        {"Menu/HUD/ZobTimeOfDayDisc.dds", 64, 64, 56, 56, 1, "", 0, ArtKind::Panel},
        {"Menu/HUD/ZobTimeOfDayIconFrame.dds", 128, 128, 104, 87, 1, "", 0, ArtKind::Panel},
        // The front end's full-screen pictures: 1024 x 768 in the top of a 1024 x 1024 texture.
        {"Menu/QuenvarSplash.dds", 1024, 1024, 1024, 768, 1, "QuenvarSplash", 40, ArtKind::Screen,
         0, 0xFF2848A0u},
        {"Menu/TolvaneSplash.dds", 1024, 1024, 1024, 768, 1, "TolvaneSplash", 40, ArtKind::Screen,
         0, 0xFF20905Cu},
        {"Menu/EsrbSplash.dds", 1024, 1024, 1024, 768, 1, "EsrbSplash", 40, ArtKind::Screen, 0,
         0xFFA09828u},
        {"Menu/BrightfairSplash.dds", 1024, 1024, 1024, 768, 1, "BrightfairSplash", 40,
         ArtKind::Screen, 0, 0xFFA8502Cu},
        // Drawn over the main menu's slides, which show through between its bands.
        {"Menu/Common/ZobMainMenu.dds", 1024, 1024, 1024, 768, 1, "ZobMainMenu", 28,
         ArtKind::Overlay, 0, 0xFF301040u},
        // The main menu's buttons: three 150 x 48 frames each.
        {"Menu/MainMenu/button_sandbox.dds", 256, 256, 150, 48, 3, "button_sandbox", 10,
         ArtKind::Strip},
        {"Menu/MainMenu/button_careermode.dds", 256, 256, 150, 48, 3, "button_careermode", 10,
         ArtKind::Strip},
        {"Menu/MainMenu/button_options.dds", 256, 256, 150, 48, 3, "button_options", 10,
         ArtKind::Strip},
        {"Menu/MainMenu/button_help.dds", 256, 256, 150, 48, 3, "button_help", 10, ArtKind::Strip},
        {"Menu/MainMenu/button_quit.dds", 256, 256, 150, 48, 3, "button_quit", 10, ArtKind::Strip},
        {"Menu/MainMenu/button_credits.dds", 256, 256, 150, 48, 3, "button_credits", 10,
         ArtKind::Strip},
        {"Menu/Common/ZobLogoAnim.dds", 512, 1024, 483, 272, 2, "ZobLogoAnim", 28, ArtKind::Strip},
        {"Menu/NewCareer/button_start.dds", 128, 256, 119, 63, 3, "button_start", 8,
         ArtKind::Strip},
    };
    return s_rows;
}

bool ArtPaint(const ArtRow& row, GenImage* out, std::string* error) {
    if (row.cellWidth <= 2 * kBorder + 4 || row.cellHeight <= 2 * kBorder + 4 ||
        row.cellWidth > row.texWidth ||
        uint64_t(row.top) + uint64_t(row.frames) * row.cellHeight > row.texHeight ||
        (row.kind == ArtKind::InGame &&
         (row.top <= kArtInGamePanelHeight || row.texWidth < kArtInGamePanelWidth))) {
        *error = "the frames do not fit the texture";
        return false;
    }
    GenFont font;
    const bool captioned = row.caption && row.caption[0];
    if (captioned && !RenderCaptionFont(row.caption, row.points, &font, error)) return false;
    *out = GenImage(row.texWidth, row.texHeight); // transparent black
    if (row.kind == ArtKind::Overlay) {
        if (row.cellHeight < 2 * kArtOverlayBand + 8) {
            *error = "the frames do not fit the texture";
            return false;
        }
        FillBox(out, 0, row.cellWidth, kArtOverlayBand, row.fill);
        FillBox(out, row.cellHeight - kArtOverlayBand, row.cellWidth, kArtOverlayBand, row.fill);
        if (captioned) {
            const ArtRow band = {row.file,      row.texWidth,    row.texHeight,
                                 row.cellWidth, kArtOverlayBand, 1,
                                 row.caption,   row.points,      ArtKind::Panel};
            DrawCaption(out, band, 0, font);
        }
        return true;
    }
    if (row.kind == ArtKind::InGame) {
        FillBox(out, 0, kArtInGamePanelWidth, kArtInGamePanelHeight, kArtPanelFill);
        if (captioned) {
            const ArtRow body = {
                row.file, row.texWidth, row.texHeight, kArtInGamePanelWidth, kArtInGamePanelHeight,
                1,        row.caption,  row.points,    ArtKind::TextPanel};
            DrawCaption(out, body, 0, font);
        }
    }
    for (uint32_t frame = 0; frame < row.frames; ++frame) {
        const uint32_t fill = ArtFrameFill(row, frame);
        if (!fill) continue;
        if (row.kind == ArtKind::Cursor) {
            DrawArrow(out, row, frame, fill);
            continue;
        }
        FillFrame(out, row, frame, fill);
        if (captioned && row.kind == ArtKind::Card)
            DrawCardCaption(out, row, font);
        else if (captioned && (row.kind != ArtKind::CheckBox || frame >= 4))
            DrawCaption(out, row, frame, font);
    }
    return true;
}

bool ArtCheckTitles(const std::vector<ArtRow>& rows, const std::vector<std::vector<uint8_t>>& bytes,
                    std::string* error) {
    std::map<std::string, size_t> first;
    for (size_t i = 0; i < rows.size() && i < bytes.size(); ++i) {
        const std::string title = LowerTitle(rows[i].file);
        auto found = first.find(title);
        if (found == first.end()) {
            first[title] = i;
        } else if (bytes[found->second] != bytes[i]) {
            *error = std::string(rows[i].file) + ": another image has the title \"" + title + "\"";
            return false;
        }
    }
    return true;
}

bool ArtWriteAll(const std::vector<ArtRow>& rows, const std::string& dataFolder,
                 std::string* error) {
    std::vector<std::vector<uint8_t>> files;
    for (const ArtRow& row : rows) {
        GenImage img;
        if (!ArtPaint(row, &img, error)) {
            *error = std::string(row.file) + ": " + *error;
            return false;
        }
        // One level: a smaller level would blend neighbouring frames.
        files.push_back(GenDdsBytes(GenDds::Argb32, GenChain{img}));
    }
    if (!ArtCheckTitles(rows, files, error)) return false;
    for (size_t i = 0; i < rows.size(); ++i) {
        const std::string path = dataFolder + rows[i].file;
        const std::string dir = path.substr(0, path.find_last_of('/') + 1);
        if (DirCreatePath(dir.c_str()) != 1 || !GenWriteFile(path, files[i])) {
            *error = "cannot write " + path;
            return false;
        }
    }
    return true;
}

// ---- venue thumbnails ----

namespace {
// The picture name of a "texFileName" value, "/"-separated; false for anything that is no ".dds"
// file inside the data folder (absolute, "..", a drive, control characters, too long).
bool CleanPictureName(std::string value, std::string* out) {
    const size_t v0 = value.find_first_not_of(" \t");
    const size_t v1 = value.find_last_not_of(" \t\r");
    if (v0 == std::string::npos || v1 == std::string::npos || v1 < v0) return false;
    value = value.substr(v0, v1 - v0 + 1);
    std::replace(value.begin(), value.end(), '\\', '/');
    std::string lower = value;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    const bool dds = lower.size() > 4 && lower.compare(lower.size() - 4, 4, ".dds") == 0;
    const bool control = std::any_of(value.begin(), value.end(),
                                     [](unsigned char c) { return c < 0x20 || c == 0x7F; });
    if (!dds || control || value.size() > 260 || value[0] == '/' ||
        value.find("..") != std::string::npos || value.find(':') != std::string::npos)
        return false;
    *out = value;
    return true;
}
} // namespace

std::vector<std::string> ArtVenueThumbnailFiles(const std::string& venueIni) {
    std::vector<std::string> files;
    size_t at = 0;
    while (at < venueIni.size()) {
        size_t end = venueIni.find('\n', at);
        if (end == std::string::npos) end = venueIni.size();
        std::string line = venueIni.substr(at, end - at);
        at = end + 1;
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos) continue;
        line = line.substr(first);
        static const char kKey[] = "texFileName";
        if (line.compare(0, sizeof kKey - 1, kKey) != 0) continue;
        size_t eq = line.find_first_not_of(" \t", sizeof kKey - 1);
        if (eq == std::string::npos || line[eq] != '=') continue;
        std::string value;
        if (!CleanPictureName(line.substr(eq + 1), &value)) continue;
        if (std::find(files.begin(), files.end(), value) == files.end()) files.push_back(value);
    }
    return files;
}

std::vector<ArtRow> ArtVenueThumbnailRows(const std::vector<std::string>& files) {
    std::vector<ArtRow> rows;
    for (const std::string& file : files) {
        // The title follows the last "/"; a name without one is all title.
        const size_t slash = file.find_last_of('/');
        const size_t title = slash == std::string::npos ? 0 : slash + 1;
        rows.push_back({file.c_str(), 128, 128, 128, kArtThumbnailRows, 1, file.c_str() + title, 10,
                        ArtKind::Panel});
    }
    return rows;
}

// ---- attraction type cards ----

uint32_t ArtCategoryFill(int32_t attrType) {
    switch (attrType) {
        case 0: return 0xFFB8482Cu; // food and drink: tomato
        case 2: return 0xFF2C5CC0u; // rides: blue
        case 3: return 0xFF8438ACu; // games: purple
        case 4: return 0xFF2C8478u; // utilities: teal
        default: return 0xFF6E6450u;
    }
}

std::vector<ArtTypeCard> ArtTypeCards(const AttrInfoList& list) {
    std::vector<ArtTypeCard> cards;
    std::map<std::string, size_t> byTitle;
    for (int i = 0; i < list.Count(); ++i) {
        const AttrInfo* type = list.Get(i);
        std::string file;
        if (!CleanPictureName(type->texFileName, &file)) continue;
        if (std::any_of(cards.begin(), cards.end(),
                        [&](const ArtTypeCard& c) { return c.file == file; }))
            continue;
        const std::string title = LowerTitle(file);
        auto first = byTitle.find(title);
        if (first != byTitle.end()) {
            ArtTypeCard same = cards[first->second];
            same.file = file;
            cards.push_back(same);
            continue;
        }
        std::string caption;
        for (size_t c = 0; c < std::size(type->name) && type->name[c]; ++c)
            caption += type->name[c] < 0x100 && type->name[c] >= 0x20 ? char(type->name[c]) : '?';
        byTitle[title] = cards.size();
        cards.push_back({file, caption, ArtCategoryFill(type->attrType)});
    }
    return cards;
}

std::vector<ArtRow> ArtTypeCardRows(const std::vector<ArtTypeCard>& cards) {
    std::vector<ArtRow> rows;
    for (const ArtTypeCard& card : cards)
        rows.push_back({card.file.c_str(), 128, 128, 128, kArtThumbnailRows, 1,
                        card.caption.c_str(), kArtCardPoints, ArtKind::Card, 0, card.fill});
    return rows;
}

// ---- slide-show series ----

namespace {
constexpr int kSlideCaptionPoints = 28;
constexpr int kSlideCaptionMargin = 32;
// Below the band that the main menu's frame draws across the top of its slides.
constexpr int kSlideCaptionTop = int(kArtOverlayBand) + 16;

// The file title of a slide as its caption: "SlideShow 00".
std::string SlideCaption(const SlideSeries& series, uint32_t index) {
    std::string base = series.base;
    base = base.substr(base.find_last_of('/') + 1);
    char number[16];
    std::snprintf(number, sizeof number, " %02u", index % 100u);
    return base + number;
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error) {
    const std::string dir = path.substr(0, path.find_last_of('/') + 1);
    if (DirCreatePath(dir.c_str()) != 1 || !GenWriteFile(path, bytes)) {
        *error = "cannot write " + path;
        return false;
    }
    return true;
}
} // namespace

const std::vector<SlideSeries>& SlideTable() {
    // Nine colours far apart, so that every slide and every halfway mix tells itself apart.
    static const std::vector<SlideSeries> s_series = {
        {"Menu/Slides/SlideShow", 1024, 1024, 768, 3, {0xFFB03030u, 0xFF30A050u, 0xFF3050C0u}},
        {"Menu/Help/ZobHelp", 1024, 512, 512, 3, {0xFFC0A030u, 0xFF8040B0u, 0xFF30A0A0u}},
        {"Menu/Credits/ZobCredits", 1024, 512, 512, 3, {0xFFD07020u, 0xFF60B0E0u, 0xFF909090u}},
    };
    return s_series;
}

std::string SlideFile(const SlideSeries& series, uint32_t index) {
    char number[16];
    std::snprintf(number, sizeof number, "%02u.dds", index % 100u);
    return std::string(series.base) + number;
}

bool SlidePaint(const SlideSeries& series, uint32_t index, GenImage* out, std::string* error) {
    if (index >= series.count || series.count > kSlideMaxPerSeries ||
        series.pictureHeight > series.height) {
        *error = "no such slide";
        return false;
    }
    const std::string caption = SlideCaption(series, index);
    GenFont font;
    if (!RenderCaptionFont(caption.c_str(), kSlideCaptionPoints, &font, error)) return false;
    *out = GenImage(series.width, series.height);
    for (uint32_t y = 0; y < series.height; ++y)
        for (uint32_t x = 0; x < series.width; ++x)
            out->Set(x, y, y < series.pictureHeight ? series.fills[index] : 0xFF000000u);
    DrawText(out, font, caption.c_str(), kCaptionColour, kSlideCaptionMargin, kSlideCaptionTop, 0,
             0, int(series.width), int(series.pictureHeight), -1, -1);
    return true;
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
