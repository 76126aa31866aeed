// What the list reports share of their rows: the walk that collects them from the entity tree,
// the tests of which entities a report lists, and the power list's drawing, which the power
// report and the stand-alone power list both show.
#pragma once

#include "engine/EntRef.h"

#include <cstdint>

struct StatBar3Style;
class AttrBase;
class AttrInfo;
class Carny;
class ENTBASE;
class Font;

using ReportMatch = bool (*)(ENTBASE* entity);

// Pre-order from `root` (an entity before its children, children in sibling order), skipping
// entities already marked for deletion; stops once `max` rows are held. Returns the count.
int ReportCollect(ENTBASE* root, ReportMatch match, EntRef* out, int max);

// Rows of an entity that is going are dropped from drawing (the row stays, empty).
void ReportForgetRow(EntRef* rows, int count, ENTBASE* gone);

// The attraction with its type record, or null: anything not of type "AttrBase", and an
// attraction whose type has no record, is no attraction to a report.
AttrBase* ReportAttr(ENTBASE* entity);
const AttrInfo* ReportAttrInfo(ENTBASE* entity);
Carny* ReportCarny(ENTBASE* entity);

bool ReportIsCarny(ENTBASE* entity);
// An attraction whose type is below the utilities.
bool ReportIsRide(ENTBASE* entity);
// An attraction that uses or makes power.
bool ReportIsPowered(ENTBASE* entity);

// The three power columns summed over the rows.
struct ReportPowerTotals {
    float idle = 0.0f, peak = 0.0f, generated = 0.0f;
};
ReportPowerTotals ReportSumPower(const EntRef* rows, int count);

// What a report's list is made of, cell by cell: the drawing goes to the screen, and the same
// cells can be read back as text.
class ReportSink {
  public:
    virtual ~ReportSink() = default;
    virtual void Text(float x, float y, uint32_t colour, const char16_t* text) = 0;
    // A cell of a column that ends at `right`: a text that would pass it is cut short with
    // "...". Sinks that only read the texts take it whole.
    virtual void TextUpTo(float x, float right, float y, uint32_t colour, const char16_t* text) {
        (void)right;
        Text(x, y, colour, text);
    }
    virtual void Bar(const StatBar3Style& style) = 0;
    // A wide printf-style text of at most 255 characters; nothing for a refused format.
    void TextF(float x, float y, uint32_t colour, const char16_t* format, ...);
};

// Draws the cells: texts in the small font (nothing without one), bars with the kernel's bar.
class ReportDrawSink : public ReportSink {
  public:
    explicit ReportDrawSink(Font* f) : font(f) {}
    void Text(float x, float y, uint32_t colour, const char16_t* text) override;
    void TextUpTo(float x, float right, float y, uint32_t colour, const char16_t* text) override;
    void Bar(const StatBar3Style& style) override;
    Font* font;
};

// Where the power list draws.
struct ReportPowerLayout {
    float headerY, viewingY, listTop, rowHeight;
    const float* columnX; // four
};
// The headers, rows first..last-1 (gone entities are skipped) and the "Viewing" line with the
// totals.
void ReportPowerCells(ReportSink& sink, const ReportPowerLayout& layout, const EntRef* rows,
                      int count, int first, int last, const ReportPowerTotals& totals);

// The small font, left-aligned, in the colour, at (x, y); nothing without a font or text.
void ReportText(Font* font, float x, float y, uint32_t colour, const char16_t* text,
                float clipWidth = 0.0f);
// The highlight bar's colour at the pulse phase (seconds): white, its alpha swinging between 89
// and 114 once a second.
uint32_t ReportBarColour(float phase);
// Whole numbers printed from floats: truncated toward zero, and a value no int holds as 0.
int ReportWhole(float value);
