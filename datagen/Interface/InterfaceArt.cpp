// The interface art's painter: a row of the table made into its image and written out, and the
// text drawing the other products share.
#include "datagen/Interface/InterfaceArt.h"
#include "datagen/Interface/InterfaceArtTools.h"

#include "datagen/Fonts/GenFont.h"
#include "engine/Dirs.h"
#include "engine/MathConst.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <map>

namespace {

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

// The width of the text's ink: from the first glyph's left edge to the last one's right edge,
// so that a large caption is centred by its letters rather than by its bearings.
int InkWidth(const AbcMetrics& m, const char* text) {
    if (!*text) return 0;
    const AbcRecord& last = Glyph(m, text[std::strlen(text) - 1]);
    return TextWidth(m, text) - Glyph(m, text[0]).a - Advance(last) + last.a + last.b;
}

// The caption's glyphs centred in the frame, inside the border; texel (4, 4) is left alone. A
// panel the screens write on has it along its bottom edge instead, in its border's colour, clear
// of the middle where the screens' text goes. A pressed frame shows it one texel down and right,
// as a button pushed in.
void DrawCaption(GenImage* img, const ArtRow& row, uint32_t frame, const GenFont& font) {
    const int cellH = int(font.metrics.cellHeight);
    const int frameTop = int(ArtFrameTop(row, frame));
    const int pushed = row.kind == ArtKind::Strip && frame % 3 == 2 ? 1 : 0;
    const int penX = (int(row.cellWidth) - InkWidth(font.metrics, row.caption)) / 2 -
                     Glyph(font.metrics, row.caption[0]).a + pushed;
    const bool written = row.kind == ArtKind::TextPanel;
    const int top = frameTop + pushed +
                    (written ? int(row.cellHeight) - int(kBorder) - 4 - cellH
                             : (int(row.cellHeight) - cellH) / 2);
    const uint32_t colour = written ? Lighter(ArtFrameFill(row, frame)) : kArtCaptionColour;
    ArtDrawText(img, font, row.caption, colour, penX, top, int(kBorder), frameTop + int(kBorder),
                int(row.cellWidth - kBorder), frameTop + int(row.cellHeight - kBorder), 4,
                frameTop + 4);
}

// A clock face in the middle of the frame: a lighter disc with twelve hour marks around its rim,
// the quarters longer, so the HUD's clock reads against a dial.
void DrawDial(GenImage* img, const ArtRow& row) {
    const float cx = float(row.cellWidth) / 2.0f, cy = float(row.cellHeight) / 2.0f;
    const float radius = std::min(cx, cy) - 4.0f;
    const uint32_t face = Lighter(Lighter(kArtPanelFill)), mark = 0xFF202020u;
    for (uint32_t y = kBorder; y + kBorder < row.cellHeight; ++y)
        for (uint32_t x = kBorder; x + kBorder < row.cellWidth; ++x) {
            const float dx = float(x) + 0.5f - cx, dy = float(y) + 0.5f - cy;
            const float d = std::sqrt(dx * dx + dy * dy);
            if (d > radius) continue;
            uint32_t texel = d > radius - 1.5f ? mark : face;
            // Hour marks: within half a texel of one of the twelve spokes, near the rim.
            const float hour = std::atan2(dx, -dy) / kTwoPi * 12.0f;
            const float off = std::fabs(hour - std::round(hour)) * (kTwoPi / 12.0f) * d;
            const bool quarter = int(std::lround(hour + 12.0f)) % 3 == 0;
            if (off < 0.9f && d > radius - (quarter ? 8.0f : 5.0f)) texel = mark;
            if (d < 2.0f) texel = mark;
            img->Set(x, y, texel);
        }
}

// A card's caption: its lines centred one under another in the middle of the frame, inside the
// border; texel (4, 4) is left alone.
void DrawCardCaption(GenImage* img, const ArtRow& row, const GenFont& font) {
    constexpr int kMargin = 4;
    const int inner = int(row.cellWidth) - 2 * int(kBorder) - 2 * kMargin;
    const std::vector<std::string> lines = ArtWrapCaption(font.metrics, row.caption, inner);
    const int lineH = int(font.metrics.cellHeight);
    const int frameTop = int(ArtFrameTop(row, 0));
    int top = frameTop + (int(row.cellHeight) - lineH * int(lines.size())) / 2;
    top = std::max(top, frameTop + int(kBorder));
    for (const std::string& line : lines) {
        const int penX = (int(row.cellWidth) - TextWidth(font.metrics, line.c_str())) / 2;
        ArtDrawText(img, font, line.c_str(), kArtCaptionColour, penX, top, int(kBorder),
                    frameTop + int(kBorder), int(row.cellWidth - kBorder),
                    frameTop + int(row.cellHeight - kBorder), 4, frameTop + 4);
        top += lineH;
    }
}

// The HUD draws its clock's frame over the dial, both centred on one point: the frame is open in
// a circle a texel inside the dial's 56 x 56, with a lighter rim, so the dial shows through.
void OpenRing(GenImage* img, const ArtRow& row) {
    constexpr float kDialRadius = 27.0f;
    const float cx = float(row.cellWidth) / 2.0f, cy = float(row.cellHeight) / 2.0f;
    for (uint32_t y = 0; y < row.cellHeight; ++y)
        for (uint32_t x = 0; x < row.cellWidth; ++x) {
            const float dx = float(x) + 0.5f - cx, dy = float(y) + 0.5f - cy;
            const float d = std::sqrt(dx * dx + dy * dy);
            if (d < kDialRadius)
                img->Set(x, y, 0u);
            else if (d < kDialRadius + 2.0f)
                img->Set(x, y, Lighter(kArtPanelFill));
        }
}

// A padlock in the middle of the frame: a shackle arch over a body with a keyhole.
void DrawLock(GenImage* img, const ArtRow& row) {
    const float cx = float(row.cellWidth) / 2.0f, unit = float(row.cellHeight) / 96.0f;
    const float archY = 42.0f * unit, outer = 20.0f * unit, inner = 12.0f * unit;
    const uint32_t metal = 0xFFD8B040u, shade = 0xFF6A5010u;
    for (uint32_t y = kBorder; y + kBorder < row.cellHeight; ++y)
        for (uint32_t x = kBorder; x + kBorder < row.cellWidth; ++x) {
            const float dx = float(x) + 0.5f - cx, fy = float(y) + 0.5f;
            const float d = std::sqrt(dx * dx + (fy - archY) * (fy - archY));
            const bool arch = fy <= archY && d <= outer && d >= inner;
            const bool legs =
                fy > archY && fy < 48.0f * unit && std::fabs(dx) <= outer && std::fabs(dx) >= inner;
            const bool body =
                fy >= 46.0f * unit && fy <= 80.0f * unit && std::fabs(dx) <= 28.0f * unit;
            const bool hole =
                (std::sqrt(dx * dx + (fy - 58.0f * unit) * (fy - 58.0f * unit)) <= 5.0f * unit) ||
                (std::fabs(dx) <= 2.0f * unit && fy >= 58.0f * unit && fy <= 70.0f * unit);
            if (body)
                img->Set(x, y, hole ? shade : metal);
            else if (arch || legs)
                img->Set(x, y, Lighter(metal));
        }
}

bool RenderCaptionFont(const char* text, int points, GenFont* font, std::string* error) {
    return ArtRenderFaceFont(kArtFace, text, points, font, error);
}

// The caption's font at the largest size up to `points` at which it fits `width` x `height`, so
// that a long word on a small button stays whole and readable; 6 points at the least.
bool FitCaptionFont(const char* text, int points, int width, int height, GenFont* font,
                    std::string* error) {
    for (int p = points;; --p) {
        if (!RenderCaptionFont(text, p, font, error)) return false;
        const bool fits =
            TextWidth(font->metrics, text) <= width && int(font->metrics.cellHeight) <= height;
        if (fits || p <= 6) return true;
    }
}
} // namespace

// The text's glyphs with the pen at (penX, top), blended in `colour`, kept inside the box
// [x0, x1) x [y0, y1); texel (keepX, keepY) is left alone.
void ArtDrawText(GenImage* img, const GenFont& font, const char* text, uint32_t colour, int penX,
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

// The caption broken at blanks into lines no wider than `width`; a word wider than that stands on
// a line of its own (and is clipped where it is drawn).
std::vector<std::string> ArtWrapCaption(const AbcMetrics& m, const std::string& text, int width) {
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

bool ArtRenderFaceFont(const char* face, const std::string& text, int points, GenFont* font,
                       std::string* error) {
    std::vector<char16_t> codes;
    for (const char c : text)
        codes.push_back(char16_t((unsigned char)c));
    return GenRenderFont(face, points, codes, font, error);
}

std::string ArtLowerTitle(const std::string& path) {
    std::string title = path.substr(path.find_last_of("/\\") + 1);
    title = title.substr(0, title.find('.'));
    std::transform(title.begin(), title.end(), title.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return title;
}

uint32_t ArtFrameTop(const ArtRow& row, uint32_t frame) {
    return row.top + frame * row.cellHeight;
}

uint32_t ArtFrameFill(const ArtRow& row, uint32_t frame) {
    switch (row.kind) {
        case ArtKind::CheckBox: return frame % 4 == 3 ? 0u : kArtStateFill[(frame % 4) % 3];
        case ArtKind::Panel:
        case ArtKind::Dial:
        case ArtKind::Lock:
        case ArtKind::Ring:
        case ArtKind::TextPanel: return kArtPanelFill;
        case ArtKind::Cursor: return kArtCursorFill[frame % 4];
        case ArtKind::Screen:
        case ArtKind::Overlay:
        case ArtKind::Card: return row.fill;
        case ArtKind::Logo: return frame % 2 ? Blend(row.fill, 0xFFFFFFFFu, 40) : row.fill;
        default: return kArtStateFill[frame % 3];
    }
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
    // Cards wrap their caption; everything else keeps it on one line inside the border.
    const uint32_t roomHeight = row.kind == ArtKind::Overlay ? kArtOverlayBand : row.cellHeight;
    if (captioned && row.kind == ArtKind::Card &&
        !RenderCaptionFont(row.caption, row.points, &font, error))
        return false;
    if (captioned && row.kind != ArtKind::Card &&
        !FitCaptionFont(row.caption, row.points, int(row.cellWidth) - 2 * int(kBorder) - 4,
                        int(roomHeight) - 2 * int(kBorder), &font, error))
        return false;
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
        if (row.kind == ArtKind::Dial) DrawDial(out, row);
        if (row.kind == ArtKind::Lock) DrawLock(out, row);
        if (row.kind == ArtKind::Ring) OpenRing(out, row);
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
        const std::string title = ArtLowerTitle(rows[i].file);
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
