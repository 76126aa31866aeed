// What all controls share process-wide: the focus, the capture, the navigation switch, the focus
// highlight, the interface sounds, the rumble switch and the data folder.
#include "ui/Ctl3State.h"

#include "I3d/Primitives.h"
#include "I3d/Textures.h"
#include "engine/Ent3d/Ent3dBase.h"
#include "engine/Input/SlInput.h"
#include "engine/Sound/Sound.h"
#include "ui/Ctl3Base.h"
#include "ui/Ctl3Draw.h"

#include <cstdio>
#include <string>

namespace {
Ctl3Base* s_focus = nullptr;
Ctl3Base* s_capture = nullptr;
bool s_navEnabled = true;
SndBuffer* s_sounds[CTL3_SOUND_COUNT] = {};
bool s_rumble = true;
std::string s_dataFolder;
} // namespace

Ctl3Highlight g_ctl3Highlight;

void Ctl3HighlightSetTarget(float left, float top, float right, float bottom) {
    g_ctl3Highlight.left.SetTarget(left);
    g_ctl3Highlight.top.SetTarget(top);
    g_ctl3Highlight.right.SetTarget(right);
    g_ctl3Highlight.bottom.SetTarget(bottom);
}

void Ctl3HighlightDraw() {
    const Ctl3Highlight& h = g_ctl3Highlight;
    Ctl3Set2DStates(-1, h.colour);
    I3dDrawQuad(h.left.value, h.bottom.value - 2.0f, h.right.value, h.bottom.value, 0.0f);
}

// ---- focus ----

bool Ctl3SetFocus(Ctl3Base* control) {
    if (control == s_focus) return false;
    Ctl3Base* old = s_focus;
    s_focus = control;
    if (old) old->LoseFocus();
    if (control) {
        control->GainFocus();
        // The menu keeps the id: when a screen it opened closes, its focus comes back.
        if (auto* menu = dynamic_cast<Ctl3AlphaSource*>(EntGetParent(control)))
            menu->ChildFocused(control->id);
    }
    return true;
}

Ctl3Base* Ctl3GetFocus() {
    return s_focus;
}

bool Ctl3IsFocused(const Ctl3Base* control) {
    return control && control == s_focus;
}

void Ctl3ForgetFocus() {
    s_focus = nullptr;
}

// ---- capture ----

void Ctl3SetCapture(Ctl3Base* control) {
    Ctl3Base* old = s_capture;
    s_capture = control;
    // The holder taking the capture again is not told it lost it: that would end its own
    // editing at once.
    if (old && old != control) old->CaptureReleased();
}

bool Ctl3HasCapture(const Ctl3Base* control) {
    return control && control == s_capture;
}

Ctl3Base* Ctl3GetCapture() {
    return s_capture;
}

void Ctl3ReleaseCapture() {
    s_capture = nullptr;
}

bool Ctl3CaptureAllows(const Ctl3Base* control) {
    return !s_capture || s_capture == control;
}

void Ctl3SetNavEnabled(bool on) {
    s_navEnabled = on;
}

bool Ctl3NavEnabled() {
    return s_navEnabled;
}

// ---- sounds and rumble ----

void Ctl3PlaySound(int index) {
    if (index < 0 || index >= CTL3_SOUND_COUNT || !s_sounds[index]) return;
    SndPlay(2, s_sounds[index], 1, 1.0f, 0, 1.0f);
}

static void Rumble(float left, float right) {
    const int pad = SlGetActivePad();
    if (s_rumble && pad >= 0) SlRumblePulse(pad, left, right, 0.05f);
}

void Ctl3RumbleRight() {
    Rumble(0.0f, 1.0f);
}

// ---- the debug font and the data folder ----

Font* Ctl3DebugFont() {
    return Ent3dGetDebugFont();
}

void Ctl3SetDataFolder(const char* folder) {
    s_dataFolder = folder ? folder : "";
}

const char* Ctl3DataFolder() {
    return s_dataFolder.c_str();
}

int Ctl3LoadTexture(const char* name) {
    if (!name || !name[0]) return -1;
    return I3dTexLoad((s_dataFolder + name).c_str(), nullptr, 1);
}
