// The base of every 2D control a menu places on the screen: the fields all controls share, the
// one keyboard focus, the capture, directional navigation between sibling controls, the
// press/release/click protocol reported as control events, and the debug outline.
#pragma once

#include "engine/EntBase.h"

#include <cstdint>

class Font;

// Control event codes carried by event 27 (control id, code).
enum : int32_t {
    CTL3_EVENT = 27,
    CTL3_CLICK = 0,
    CTL3_PRESS = 1,
    CTL3_RELEASE = 2,
    CTL3_FOCUS = 3,
};

enum : int32_t {
    CTL3_NORMAL = 0,
    CTL3_FOCUSED = 1,
    CTL3_PRESSED = 2,
};

enum { CTL3_LABEL_MAX = 255 };

struct Ctl3Rect {
    float left, top, right, bottom;
};

class Ctl3Base : public ENTBASE {
  public:
    ~Ctl3Base() override;
    // ---- the entity operations ----
    int Create(EntNode* node) override;
    int Start() override;    // 0
    int Shutdown() override; // Destroy
    int Destroy() override;
    int Update(float seconds) override; // advances the focus highlight by the frame time
    int DrawPre() override;             // 1: the control and its children are drawn
    int Draw() override;                // the debug outline
    int VarsChanged() override;
    int OnMessage(const SlEvent* event) override; // directional navigation
    void SetPos(const VECTOR3* pos) override;

    // ---- the control's own operations ----
    virtual void SetPos2D(float x, float y);
    virtual void SetFont(Font* newFont);
    // The user word and the control itself; 1.
    virtual int GetUserWord(intptr_t* word, Ctl3Base** control);
    virtual void GainFocus();
    virtual void LoseFocus();
    virtual void CaptureReleased();
    virtual void SetNavLinks(Ctl3Base* up, Ctl3Base* down, Ctl3Base* left, Ctl3Base* right);
    virtual void SetTextW(const char16_t* text);
    virtual void SetText(const char* text);
    virtual void Press();
    virtual void Release();

    // ---- fields ----
    intptr_t userWord = 0; // pointer-sized: a custom control hands it the menu
    int32_t id = -1;
    int32_t state = CTL3_NORMAL;
    uint8_t visible = 1;
    float height = 0.1f;
    float width = 0.0f;
    float horizScale = 1.0f;
    float vertScale = 1.0f;
    float italic = 0.0f;
    int32_t horizAlign = 0;
    int32_t vertAlign = 0;
    VECTOR3 pos = {0, 0, 0};
    Font* font = nullptr; // shared; SetFont takes a reference, released with the control
    uint8_t enabled = 1;
    Ctl3Rect rect = {0, 0, 0, 0};
    Ctl3Base* navLinks[4] = {}; // up, down, left, right
    char16_t label[CTL3_LABEL_MAX + 1] = {};
    const char16_t* liveText = nullptr;
    float timer = 0.0f;
    int32_t reservedKey = 0; // no setter: never matches
    uint32_t colour = 0xFFFFFFFFu;
    uint8_t fadeWithParent = 1;
    uint8_t checked = 0;
    int32_t radioGroup = -1;

  private:
    Font* heldFont = nullptr; // the reference SetFont took
};

// What a menu offers its controls: its alpha, which their colours fade with, and a note of the
// child that took the focus, so that the menu can give it back when it is made active again.
class Ctl3AlphaSource {
  public:
    virtual ~Ctl3AlphaSource() = default;
    virtual float GetMenuAlpha() = 0;
    virtual void ChildFocused(int32_t) {}
};

// The parent's alpha when the parent is a menu, else 1.0.
float Ctl3ParentAlpha(Ctl3Base* control);
// The colour with its alpha multiplied by the parent's alpha (when the control fades with it).
uint32_t Ctl3FadedColour(Ctl3Base* control, uint32_t argb);

// ---- the focus, the capture and navigation ----
// False when the control is the focus already; else the old focus loses it, the new one gains
// it (event 27, id, 3), true.
bool Ctl3SetFocus(Ctl3Base* control);
Ctl3Base* Ctl3GetFocus();
bool Ctl3IsFocused(const Ctl3Base* control);
// The previous holder gets CaptureReleased.
void Ctl3SetCapture(Ctl3Base* control);
bool Ctl3HasCapture(const Ctl3Base* control);
Ctl3Base* Ctl3GetCapture();
void Ctl3ReleaseCapture();
// True when nothing holds the capture or the control does.
bool Ctl3CaptureAllows(const Ctl3Base* control);
void Ctl3SetNavEnabled(bool on);
bool Ctl3NavEnabled();

// ---- checks, radio groups, flags, geometry ----
void Ctl3ClearRadioGroup(Ctl3Base* control);
void Ctl3SetChecked(Ctl3Base* control, bool on);
void Ctl3SetEnabled(Ctl3Base* control, bool on);
void Ctl3SetVisible(Ctl3Base* control, bool on);
// Shown and clickable together, or neither: a control that is there or is not.
void Ctl3SetLive(Ctl3Base* control, bool on);
// left <= x <= right and top <= y <= bottom (NaN is never inside).
bool Ctl3HitTest(const Ctl3Base* control, float x, float y);
// Where the pointer is, in menu units; false before the cursor has heard any move.
bool Ctl3PointerAt(float* x, float* y);
// A press over a control that heard no move onto it (made or shown under a still pointer): the
// control takes the hover a move would have given it (the focus, state 1 from 0), and true. False,
// changing nothing, when the pointer is elsewhere or not known.
bool Ctl3HoverAtPress(Ctl3Base* control);
Font* Ctl3DebugFont();

// ---- the interface's sounds and rumble ----
enum { CTL3_SOUND_COUNT = 5, CTL3_SOUND_NAVIGATE = 3 };
// Nothing loads the sounds: the interface is silent.
void Ctl3PlaySound(int index);
void Ctl3RumbleRight();

// ---- the data folder the controls load their images from ----
// The application sets it at start-up ("Data/" in the program folder); "" until then.
void Ctl3SetDataFolder(const char* folder);
const char* Ctl3DataFolder();
// Data folder + name; the slot, or -1 when the name is empty or the texture does not load.
int Ctl3LoadTexture(const char* name);
