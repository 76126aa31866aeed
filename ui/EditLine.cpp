// The edit line: editing input, the caret operations, the blink and the drawing.
#include "ui/EditLine.h"

#include "I3d/Font.h"
#include "I3d/Primitives.h"
#include "engine/DebugLog.h"
#include "engine/FrameClock.h"
#include "engine/Input/SlInput.h"
#include "engine/Input/SlScanCodes.h"
#include "engine/PropDb.h"
#include "engine/Utf8.h"
#include "ui/Ctl3Draw.h"
#include "ui/Ctl3TextStyle.h"
#include "ui/UiClass.h"

#include <cmath>
#include <cstring>

namespace {
constexpr float kDefaultWidth = 400.0f;
constexpr uint32_t kRefusedNoteMs = 3000;
constexpr char16_t kRefusedNote[] = u"The font cannot show that letter.";

// Copies UTF-8 as Latin-1, at most `room` - 1 letters, and terminates; the length copied. A
// letter outside Latin-1 becomes '?'; a byte that starts no valid sequence is taken as the
// Latin-1 letter it is, as older texts were.
int32_t CopyCut(char* out, size_t room, const char* in) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(in);
    const size_t total = in ? std::strlen(in) : 0;
    size_t n = 0;
    for (size_t i = 0; i < total && n + 1 < room;) {
        int length = 0;
        uint32_t code = Utf8DecodeOne(bytes + i, total - i, &length);
        if (length == 0) {
            code = bytes[i];
            length = 1;
        }
        out[n++] = char(code <= 0xFF ? code : '?');
        i += size_t(length);
    }
    out[n] = '\0';
    return int32_t(n);
}

// Printable ASCII always; a Latin-1 letter when the font has it (any, without a font yet).
bool Typable(const Font* font, intptr_t code) {
    if (code >= 32 && code <= 126) return true;
    if (code < 0xA0 || code > 0xFF) return false;
    return !font || !FontIsLoaded(font) || FontHasGlyph(font, char16_t(code));
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
    // The line height at the field's own vertical scale, as its text is drawn (the font's plain
    // line height while the scale is 1); "height" without a font.
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

const char* EditLine::Text() const {
    size_t n = 0;
    for (const char* p = text; *p && n + 2 < sizeof m_utf8; ++p) {
        const auto c = (unsigned char)*p;
        if (c < 0x80) {
            m_utf8[n++] = char(c);
        } else {
            m_utf8[n++] = char(0xC0 | (c >> 6));
            m_utf8[n++] = char(0x80 | (c & 0x3F));
        }
    }
    m_utf8[n] = '\0';
    return m_utf8;
}

const char16_t* EditLine::RefusedNote() const {
    return refusedNoteMs > 0 ? kRefusedNote : nullptr;
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
    const size_t n = strnlen(backup, size_t(maxLength) - 1); // both Latin-1
    std::memcpy(text, backup, n);
    text[n] = '\0';
    length = int32_t(n);
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
            if (Ctl3IsFocused(this) && event->a >= 32 && event->a != 127) {
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
        case DIK_ESCAPE: EndEditing(); break;
        case DIK_BACK: Backspace(); break;
        case DIK_NUMPAD7:
        case DIK_HOME: CaretHome(); break;
        case DIK_NUMPAD4:
        case DIK_LEFT: CaretLeft(); break;
        case DIK_NUMPAD6:
        case DIK_RIGHT: CaretRight(); break;
        case DIK_NUMPAD1:
        case DIK_END: CaretEnd(); break;
        case DIK_NUMPAD0:
        case DIK_INSERT: ToggleOverwrite(); break;
        case DIK_DECIMAL:
        case DIK_DELETE: DeleteAtCaret(); break;
        default: break;
    }
}

void EditLine::Type(intptr_t code) {
    // Names become file names: control characters are never reported. A letter the font cannot
    // show would be a name the player cannot read: refused, and the field says so.
    if (code < 32 || code == 127 || (code >= 0x80 && code < 0xA0)) return;
    if (!Typable(font, code)) {
        DbgPrintf(DBG_GENERAL, "EditLine: U+%04X cannot be shown by the font; not typed\n",
                  unsigned(code));
        refusedNoteMs = kRefusedNoteMs;
        return;
    }
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
    if (ms > 0.0f && ms < 4.0e9f) {
        blinkMs += uint32_t(ms);
        refusedNoteMs = refusedNoteMs > uint32_t(ms) ? refusedNoteMs - uint32_t(ms) : 0;
    }
    return Ctl3Base::Update(seconds);
}

int EditLine::DrawPre() {
    if (!visible || !font || !std::isfinite(pos.x) || !std::isfinite(pos.y)) return 1;
    Layout();
    // The box shows whether or not the field has the focus (without it the field read as a
    // label): dimmer while another control has it.
    {
        const bool lit = Editing() || state == CTL3_FOCUSED;
        const uint32_t colour = lit ? EDIT_LINE_BOX_COLOUR : EDIT_LINE_BOX_COLOUR_IDLE;
        Ctl3Set2DStates(backgroundSlot, Ctl3FadedColour(this, colour));
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
    if (const char16_t* note = RefusedNote())
        FontDraw(font, box.left + kEditLineInset, box.bottom, note);
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
