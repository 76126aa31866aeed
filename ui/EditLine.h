// The one-line text field of the menus (profile names, save names). A press starts editing: the
// field takes the capture and hears raw key downs and characters until Enter or Escape. It takes
// printable ASCII and the Latin-1 letters its font can show; any other typed character is
// refused with a note under the field.
#pragma once

#include "engine/EntTree.h"
#include "ui/Ctl3Base.h"

#include <cstdint>

// The text holds at most the maximum length minus 1 characters; the backup at most 255.
enum { EDIT_LINE_TEXT_MAX = 256, EDIT_LINE_BACKUP_MAX = 256 };

enum : uint32_t {
    EDIT_LINE_TEXT_COLOUR = 0xFFF0F000u,
    EDIT_LINE_BOX_COLOUR = 0x60FFFFFFu,
    EDIT_LINE_BOX_COLOUR_IDLE = 0x38000000u, // a darker box while another control has the focus
    EDIT_LINE_CARET_COLOUR = 0xFFFFFFFFu,
};

// Where the caret and the text sit inside the box.
inline constexpr float kEditLineInset = 5.0f;
inline constexpr float kEditLineCaretWidth = 1.5f;
// The caret shows while this bit of the blink clock is set: 512 ms on, 512 ms off.
inline constexpr uint32_t kEditLineBlinkBit = 1u << 9;

class EditLine : public Ctl3Base {
  public:
    int Create(EntNode* node) override;
    int Start() override;
    int Update(float seconds) override; // the blink clock runs on the frame time
    int DrawPre() override;
    int VarsChanged() override;
    int OnMessage(const SlEvent* event) override;
    void SetText(const char* text) override;
    void SetTextW(const char16_t* text) override;
    void Press() override; // then takes the capture: editing
    void Release() override;
    void CaptureReleased() override; // an empty text gets the backup back

    void Clear();
    // The limit including the terminator, held to 2..256; a longer text is cut to it.
    void SetMaxLength(int32_t limit);
    bool Editing() const { return Ctl3HasCapture(this); }
    bool CaretShown() const { return Editing() && (blinkMs & kEditLineBlinkBit) != 0; }
    // The text as UTF-8 (file names are UTF-8); `text` holds it one byte per letter, Latin-1,
    // as the fonts draw it.
    const char* Text() const;
    // The note shown under the field for a while after a typed letter the font cannot show
    // was refused; null when none is shown.
    const char16_t* RefusedNote() const;

    // ---- the caret operations ----
    void CaretHome();
    void CaretLeft();
    void CaretRight();
    void CaretEnd();
    void ToggleOverwrite();
    void DeleteAtCaret();
    void Backspace();

    // The box from the position, the width and the font's line height; the caret's x.
    void Layout();

    int32_t backgroundSlot = -1;
    int32_t caretSlot = -1;
    Ctl3Rect box = {0, 0, 0, 0};
    int32_t length = 0;
    float caretX = 0.0f;
    int32_t caret = 0;
    char text[EDIT_LINE_TEXT_MAX] = {};
    char backup[EDIT_LINE_BACKUP_MAX] = {};
    int32_t overwrite = 0;
    int32_t maxLength = EDIT_LINE_TEXT_MAX;
    uint32_t blinkMs = 0;
    uint8_t allowLeadingBlank = 0;
    float rightMargin = 0.0f;
    uint8_t hovered = 0;
    uint32_t refusedNoteMs = 0; // how much longer the refusal note shows

  private:
    mutable char m_utf8[EDIT_LINE_TEXT_MAX * 2] = {};
    void EditInput(const SlEvent* event);
    void KeyDown(intptr_t scanCode);
    void Type(intptr_t code);
    void EndEditing();
};

intptr_t EcEditLineProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
