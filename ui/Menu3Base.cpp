// The menu base: creation, input, drawing, the fade-out and the end of a menu.
#include "ui/Menu3Base.h"

#include "engine/FrameClock.h"
#include "engine/Input/SlInput.h"
#include "engine/Script/ScriptMgr.h"

#include <cstdio>

int Menu3Base::Create(EntNode*) {
    active = 1;
    shown = 1;
    fadeTime = 0.0f;
    fadeTimer = 0.0f;
    alpha = 1.0f;
    altClass[0] = '\0';
    nextClass[0] = '\0';
    // Input still queued belongs to the screen before this one.
    SlEventQueueClear();
    Ctl3SetNavEnabled(true);
    SetName("Menu3Base");
    return 1;
}

int Menu3Base::Shutdown() {
    active = 0;
    if (fadeTime != 0.0f) {
        fadeTimer = fadeTime;
        m_fading = true;
        return 1;
    }
    EntDestroyTree(this);
    return 1;
}

int Menu3Base::Destroy() {
    EntTreeNotifyRemoved(EntGetRoot(this), this);
    if (script) script->Release();
    script = nullptr;
    ENTBASE::Destroy();
    return 1;
}

int Menu3Base::Update(float) {
    if (!m_fading) return 1;
    fadeTimer -= g_frameSeconds;
    if (fadeTimer > 0.0f) return 1;
    EntDestroyTree(this);
    return 0;
}

int Menu3Base::DrawPre() {
    return shown;
}

int Menu3Base::VarsChanged() {
    return 0;
}

int Menu3Base::OnMessage(const SlEvent* event) {
    if (!active) return 2;
    return OnActiveMessage(event);
}

void Menu3Base::SetPos(const VECTOR3*) {}

void Menu3Base::SetActive() {
    active = 1;
    // A menu that never gave any control the focus (the HUD) keeps it that way.
    if (GetSavedFocusId() < 0) return;
    Ctl3Base* focus = Ctl3GetFocus();
    if (focus && EntGetParent(focus) == this) return;
    RestoreFocus(FindCtl(0));
}

void Menu3Base::ClearActive() {
    active = 0;
}

int Menu3Base::IsActive() {
    return active;
}

void Menu3Base::Show() {
    shown = 1;
}

void Menu3Base::Hide() {
    shown = 0;
}

int Menu3Base::OnActiveMessage(const SlEvent*) {
    return 1;
}

void Menu3Base::SaveFocusId(int32_t id) {
    m_savedFocusId = id;
}

int32_t Menu3Base::GetSavedFocusId() {
    return m_savedFocusId;
}

void Menu3Base::ChildFocused(int32_t id) {
    // Ids below 0 are shared by many controls (pictures, texts): they cannot be found again.
    if (id >= 0) SaveFocusId(id);
}

void Menu3Base::SetOpenArgs(const MenuOpenArgs&) {}

void Menu3Base::SetAltClass(const char* className) {
    std::snprintf(altClass, sizeof altClass, "%s", className ? className : "");
}

void Menu3Base::SetNextClass(const char* className) {
    std::snprintf(nextClass, sizeof nextClass, "%s", className ? className : "");
}

// ---- opening the next menu ----

static ENTBASE* SpawnInPlace(Menu3Base* menu, const char* className) {
    ENTBASE* made = EntCreateChild(className, EntGetParent(menu));
    if (!made) return nullptr;
    made->Start();
    EntDestroyTree(menu);
    return made;
}

ENTBASE* Menu3Base::SpawnChildClass() {
    return SpawnInPlace(this, nextClass);
}

ENTBASE* Menu3Base::SpawnChoice(int32_t index) {
    if (index == 0) return SpawnInPlace(this, altClass);
    if (index == 1) return SpawnInPlace(this, nextClass);
    return nullptr;
}
