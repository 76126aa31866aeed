// The reports' row walk, row tests and the power list's drawing.
#include "ui/Menus/MenuReportRows.h"

#include "I3d/Font.h"
#include "I3d/StatBar.h"
#include "engine/EntBase.h"
#include "engine/EntTree.h"
#include "engine/MathConst.h"
#include "engine/WideFormat.h"
#include "game/AttrInfo.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/Carny.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstring>
#include <vector>

// ---- the walk ----

int ReportCollect(ENTBASE* root, ReportMatch match, EntRef* out, int max) {
    if (!root || !root->node || !match || !out || max <= 0) return 0;
    int count = 0;
    // An explicit stack: a deep tree costs memory, not the call stack.
    std::vector<EntNode*> stack;
    stack.push_back(root->node);
    while (!stack.empty() && count < max) {
        EntNode* n = stack.back();
        stack.pop_back();
        if (!n || n->deleteCount || !n->object) continue;
        if (match(n->object)) out[count++] = EntRef(n->object);
        // Children go on in reverse, so the first child comes off first.
        const size_t mark = stack.size();
        for (EntNode* c = n->firstChild; c; c = c->next)
            stack.push_back(c);
        std::reverse(stack.begin() + std::ptrdiff_t(mark), stack.end());
    }
    return count;
}

void ReportForgetRow(EntRef* rows, int count, ENTBASE* gone) {
    if (!rows || !gone) return;
    for (int i = 0; i < count; ++i)
        if (rows[i].Address() == gone) rows[i] = EntRef();
}

// ---- the tests ----

AttrBase* ReportAttr(ENTBASE* entity) {
    if (!entity || std::strcmp(entity->GetTypeName(), "AttrBase") != 0) return nullptr;
    auto* attr = dynamic_cast<AttrBase*>(entity);
    return attr && attr->info ? attr : nullptr;
}

const AttrInfo* ReportAttrInfo(ENTBASE* entity) {
    AttrBase* attr = ReportAttr(entity);
    return attr ? attr->info : nullptr;
}

Carny* ReportCarny(ENTBASE* entity) {
    if (!entity || !EntIsType(entity, "Carny")) return nullptr;
    return dynamic_cast<Carny*>(entity);
}

bool ReportIsCarny(ENTBASE* entity) {
    return ReportCarny(entity) != nullptr;
}

bool ReportIsRide(ENTBASE* entity) {
    const AttrInfo* info = ReportAttrInfo(entity);
    return info && info->attrType < ATTR_TYPE_UNPICKABLE;
}

bool ReportIsPowered(ENTBASE* entity) {
    const AttrInfo* info = ReportAttrInfo(entity);
    return info && (info->conAtIdlePower != 0.0f || info->conAtPeakPower != 0.0f ||
                    info->maxPowerGen != 0.0f);
}

ReportPowerTotals ReportSumPower(const EntRef* rows, int count) {
    ReportPowerTotals sum;
    for (int i = 0; i < count; ++i) {
        const AttrInfo* info = ReportAttrInfo(rows[i].Get());
        if (!info) continue;
        sum.idle += info->conAtIdlePower;
        sum.peak += info->conAtPeakPower;
        sum.generated += info->maxPowerGen;
    }
    return sum;
}

// ---- drawing ----

uint32_t ReportBarColour(float phase) {
    const float swing = (std::sin(phase * kTwoPi) + 1.0f) * 0.5f * 0.1f + 0.35f;
    return (uint32_t(int(swing * 255.0f)) << 24) + 0xFFFFFFu;
}

int ReportWhole(float value) {
    if (!(std::fabs(value) < 2147483520.0f)) return 0;
    return int(value);
}

void ReportText(Font* font, float x, float y, uint32_t colour, const char16_t* text,
                float clipWidth) {
    if (!font || !text) return;
    FontSetScale(font, 1.0f, 1.0f);
    FontSetGlyphOffsetX(font, 0.0f);
    font->hAlign = 0;
    font->vAlign = 0;
    font->clipWidth = clipWidth;
    font->colour = colour;
    FontDraw(font, x, y, text);
}

void ReportSink::TextF(float x, float y, uint32_t colour, const char16_t* format, ...) {
    char16_t text[256];
    va_list args;
    va_start(args, format);
    const int n = WideFormatV(text, 256, format, args);
    va_end(args);
    if (n >= 0) Text(x, y, colour, text);
}

void ReportDrawSink::Text(float x, float y, uint32_t colour, const char16_t* text) {
    ReportText(font, x, y, colour, text);
}

void ReportDrawSink::TextUpTo(float x, float right, float y, uint32_t colour,
                              const char16_t* text) {
    if (!font || !text) return;
    // A column with no room left draws nothing rather than a text without a limit.
    const float room = right - x;
    if (!(room > 0.0f)) return;
    ReportText(font, x, y, colour, text, room);
    // The font is shared: the next text of any screen is drawn whole again.
    font->clipWidth = 0.0f;
}

void ReportDrawSink::Bar(const StatBar3Style& style) {
    StatBar3Draw(&style);
}

void ReportPowerCells(ReportSink& sink, const ReportPowerLayout& layout, const EntRef* rows,
                      int count, int first, int last, const ReportPowerTotals& totals) {
    const float* x = layout.columnX;
    constexpr uint32_t kWhite = 0xFFFFFFFFu, kYellow = 0xFFFFFF00u;
    sink.Text(x[0], layout.headerY, kWhite, u"Ride / Attraction");
    sink.Text(x[1], layout.headerY, kWhite, u"At Idle");
    sink.Text(x[2], layout.headerY, kWhite, u"At Max");
    sink.Text(x[3], layout.headerY, kWhite, u"Generation");
    sink.TextF(x[0], layout.viewingY, kWhite, u"Viewing %i-%i of %i", first + 1, last, count);
    sink.TextF(x[1], layout.viewingY, kWhite, u"%i", ReportWhole(totals.idle));
    sink.TextF(x[2], layout.viewingY, kWhite, u"%i", ReportWhole(totals.peak));
    sink.TextF(x[3], layout.viewingY, kWhite, u"%i", ReportWhole(totals.generated));
    for (int i = first; i < last && i < count; ++i) {
        const AttrInfo* info = ReportAttrInfo(rows[i].Get());
        if (!info) continue;
        const float y = layout.listTop + float(i - first) * layout.rowHeight;
        sink.Text(x[0], y, kYellow, info->name);
        if (info->conAtIdlePower > 0.0f) {
            sink.TextF(x[1], y, kYellow, u"%i", ReportWhole(info->conAtIdlePower));
            sink.TextF(x[2], y, kYellow, u"%i", ReportWhole(info->conAtPeakPower));
        } else {
            sink.Text(x[1], y, kYellow, u"-");
            sink.Text(x[2], y, kYellow, u"-");
        }
        if (info->maxPowerGen > 0.0f)
            sink.TextF(x[3], y, kYellow, u"%i", ReportWhole(info->maxPowerGen));
        else
            sink.Text(x[3], y, kYellow, u"-");
    }
}
