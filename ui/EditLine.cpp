// The edit line: editing input, the caret operations, the blink and the drawing.
#include "ui/EditLine.h"

#include "I3d/Font.h"
#include "I3d/Primitives.h"
#include "engine/FrameClock.h"
#include "engine/Input/SlInput.h"
#include "engine/PropDb.h"
#include "ui/Ctl3Draw.h"
#include "ui/Ctl3TextStyle.h"
#include "ui/UiClass.h"

#include <cmath>
#include <cstring>

namespace {
constexpr float kDefaultWidth = 400.0f;

// Copies at most `room` - 1 bytes and terminates; the length copied.
int32_t CopyCut(char* out, size_t room, const char* in) {
    size_t n = 0;
    while (in && n + 1 < room && in[n])
        ++n;
    if (n) std::memcpy(out, in, n);
    out[n] = '\0';
    return int32_t(n);
}

float Width(const Font* font, const char* text) {
    return font ? FontTextWidth(font, text) : 0.0f;
}
} // namespace

int EditLine::Create(EntNode* n) {
    Ctl3Base::Create(n);
    width = kDefaultWidth;
    return 1;
}

int EditLine::Start() {
    Layout();
    return Ctl3Base::Start();
}

int EditLine::VarsChanged() {
    Layout();
    return 1;
}

void EditLine::Layout() {
    char before[EDIT_LINE_TEXT_MAX];
    const int32_t at = caret < 0 ? 0 : caret > length ? length : caret;
    std::memcpy(before, text, size_t(at));
    before[at] = '\0';
    if (font) Ctl3StyleFont(this, horizAlign, vertAlign);
    caretX = Width(font, before);
    const float lineHeight = font ? Ctl3LineHeight(this) : height;
    box = {pos.x, pos.y, pos.x + width, pos.y + lineHeight};
    rect = box;
}

// ---- text ----

void EditLine::SetText(const char* newText) {
    // Both copies are cut to their buffers: a caller or a script may hand anything.
    length = CopyCut(text, size_t(maxLength), newText);
    CopyCut(backup, sizeof backup, newText);
    caret = length;
    rightMargin = Width(font, "W");
    overwrite = 0;
    blinkMs = 0;
    Layout();
}

void EditLine::SetTextW(const char16_t* wide) {
    char narrow[EDIT_LINE_BACKUP_MAX];
    size_t n = 0;
    while (wide && n + 1 < sizeof narrow && wide[n]) {
        narrow[n] = wide[n] < 0x100 ? char(wide[n]) : '?';
        ++n;
    }
    narrow[n] = '\0';
    SetText(narrow);
}

void EditLine::Clear() {
    text[0] = '\0';
    length = caret = 0;
}

void EditLine::SetMaxLength(int32_t limit) {
    maxLength = limit < 2 ? 2 : limit > EDIT_LINE_TEXT_MAX ? EDIT_LINE_TEXT_MAX : limit;
    if (length > maxLength - 1) {
        length = maxLength - 1;
        text[length] = '\0';
    }
    if (caret > length) caret = length;
}

// ---- the caret operations ----

void EditLine::CaretHome() {
    caret = 0;
}

void EditLine::CaretLeft() {
    if (caret > 0) --caret;
}

void EditLine::CaretRight() {
    if (caret < length) ++caret;
}

void EditLine::CaretEnd() {
    caret = length;
}

void EditLine::ToggleOverwrite() {
    overwrite = !overwrite;
}

void EditLine::DeleteAtCaret() {
    if (caret < 0 || caret >= length) return;
    std::memmove(text + caret, text + caret + 1, size_t(length - caret)); // the terminator too
    --length;
}

void EditLine::Backspace() {
    if (caret <= 0) return;
    --caret;
    DeleteAtCaret();
}

// ---- pressing and the capture ----

void EditLine::Press() {
    Ctl3Base::Press();
    Ctl3SetCapture(this);
}

void EditLine::Release() {
    Ctl3Base::Release();
}

void EditLine::CaptureReleased() {
    if (length != 0) return;
    length = CopyCut(text, size_t(maxLength), backup);
    caret = length;
}

void EditLine::EndEditing() {
    state = CTL3_FOCUSED;
    Ctl3ReleaseCapture();
}

// ---- input ----

int EditLine::OnMessage(const SlEvent* event) {
    if (!event) return 1;
    if (Editing()) {
        EditInput(event);
        return 1;
    }
    if (Ctl3Base::OnMessage(event) == 0) return 0;
    if (!enabled) return 1;
    switch (event->type) {
        case SL_MOUSEPOS:
            hovered = Ctl3HitTest(this, SlUnpackFloat(event->a), SlUnpackFloat(event->b));
            if (!hovered) {
                state = CTL3_NORMAL;
            } else if (state == CTL3_NORMAL) {
                Ctl3SetFocus(this);
                state = CTL3_FOCUSED;
            }
            break;
        case SL_MOUSE0DOWN:
            // Not only after a move: a field made under a still pointer takes the click too.
            if (state != CTL3_PRESSED && Ctl3HoverAtPress(this)) hovered = 1;
            if (state == CTL3_FOCUSED) {
                Press();
                length = int32_t(std::strlen(text));
            }
            break;
        case SL_MOUSE0UP:
            if (hovered)
                Release();
            else
                state = CTL3_NORMAL;
            break;
        case SL_MENUSELECT:
            if (Ctl3NavEnabled() && Ctl3IsFocused(this)) Press();
            break;
        case SL_MENUSELECT + 1:
            if (Ctl3NavEnabled() && Ctl3IsFocused(this)) Release();
            break;
        case SL_CHAR:
            // Typing into the highlighted field starts editing at the end of its text, as a
            // press would, and the character is not lost.
            if (Ctl3IsFocused(this) && event->a >= 32 && event->a <= 126) {
                Press();
                length = int32_t(std::strlen(text));
                caret = length;
                Type(event->a);
            }
            break;
        default: break;
    }
    return 1;
}

void EditLine::EditInput(const SlEvent* event) {
    switch (event->type) {
        case SL_KEYDOWN: KeyDown(event->a); break;
        case SL_CHAR: Type(event->a); break;
        case SL_MENUSELECT:
            EndEditing();
            CaptureReleased();
            break;
        default: break;
    }
}

void EditLine::KeyDown(intptr_t scanCode) {
    switch (scanCode) {
        case 1: EndEditing(); break;
        case 14: Backspace(); break;
        case 71:
        case 199: CaretHome(); break;
        case 75:
        case 203: CaretLeft(); break;
        case 77:
        case 205: CaretRight(); break;
        case 79:
        case 207: CaretEnd(); break;
        case 82:
        case 210: ToggleOverwrite(); break;
        case 83:
        case 211: DeleteAtCaret(); break;
        default: break;
    }
}

void EditLine::Type(intptr_t code) {
    // Names become file names: plain printable ASCII only, and nothing else is even reported.
    if (code < 32 || code > 126) return;
    const bool fits = Width(font, text) <= width - rightMargin;
    const bool leadingBlank = code == ' ' && caret == 0 && !allowLeadingBlank;
    if (fits && !leadingBlank && length < maxLength - 1) {
        if (caret < 0 || caret > length) caret = length;
        if (overwrite && caret < length) {
            text[caret] = char(code);
        } else {
            std::memmove(text + caret + 1, text + caret, size_t(length - caret + 1));
            text[caret] = char(code);
            ++length;
        }
        ++caret;
    }
    SlPostEvent(CTL3_EVENT, id, CTL3_CLICK);
}

// ---- frame and drawing ----

int EditLine::Update(float seconds) {
    const float ms = g_frameSeconds * 1000.0f + 0.5f;
    if (ms > 0.0f && ms < 4.0e9f) blinkMs += uint32_t(ms);
    return Ctl3Base::Update(seconds);
}

int EditLine::DrawPre() {
    if (!visible || !font || !std::isfinite(pos.x) || !std::isfinite(pos.y)) return 1;
    Layout();
    if (Editing() || state == CTL3_FOCUSED) {
        Ctl3Set2DStates(backgroundSlot, Ctl3FadedColour(this, EDIT_LINE_BOX_COLOUR));
        I3dDrawQuad(box.left, box.top, box.right, box.bottom, 0);
    }
    if (CaretShown()) {
        const float x = box.left + caretX + kEditLineInset;
        Ctl3Set2DStates(caretSlot, Ctl3FadedColour(this, EDIT_LINE_CARET_COLOUR));
        I3dDrawQuad(x, box.top, x + kEditLineCaretWidth, box.bottom, 0);
    }
    Ctl3StyleFont(this, horizAlign, vertAlign);
    font->colour = Ctl3FadedColour(this, EDIT_LINE_TEXT_COLOUR);
    FontPrint(font, pos.x + kEditLineInset, pos.y, text);
    return 1;
}

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "EditLine");
        Ctl3AddNamePos(&s_db);
        Ctl3AddTextLayout(&s_db);
    }
    return &s_db;
}

const WorldClassDef kClass = {"EditLine", Db, WorldMake<EditLine>, nullptr};
} // namespace

intptr_t EcEditLineProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
