// The control base: defaults, navigation, the press/release/click protocol and the debug
// outline.
#include "ui/Ctl3Base.h"

#include "I3d/Font.h"
#include "I3d/Primitives.h"
#include "engine/FrameClock.h"
#include "engine/Input/SlInput.h"
#include "engine/WideFormat.h"
#include "ui/Ctl3Draw.h"
#include "ui/Ctl3State.h"
#include "ui/MouseCursor1.h"

#include <cstring>

namespace {
constexpr uint32_t kDebugGreen = 0xFF00FF00u;
constexpr float kHighlightSeconds = 0.5f;

void Post(const Ctl3Base* control, int32_t code) {
    SlPostEvent(CTL3_EVENT, control->id, code);
}
} // namespace

int Ctl3Base::Create(EntNode*) {
    SetName("Unnamed");
    g_ctl3Highlight.left.SetTime(kHighlightSeconds);
    g_ctl3Highlight.top.SetTime(kHighlightSeconds);
    g_ctl3Highlight.right.SetTime(kHighlightSeconds);
    g_ctl3Highlight.bottom.SetTime(kHighlightSeconds);
    return 1;
}

int Ctl3Base::Start() {
    return 0;
}

int Ctl3Base::Shutdown() {
    return Destroy();
}

// Nothing may keep pointing at a destroyed control: the focus, the capture (which the next Press
// would call into) and the siblings' navigation links (the next arrow would focus it).
int Ctl3Base::Destroy() {
    if (Ctl3IsFocused(this)) {
        LoseFocus();
        Ctl3ForgetFocus();
    }
    if (Ctl3HasCapture(this)) Ctl3ReleaseCapture();
    if (node && node->parent) {
        for (EntNode* n = node->parent->firstChild; n; n = n->next) {
            auto* sibling = dynamic_cast<Ctl3Base*>(n->object);
            if (!sibling || n->deleteCount != 0) continue;
            for (Ctl3Base*& link : sibling->navLinks)
                if (link == this) link = nullptr;
        }
    }
    ENTBASE::Destroy();
    return 1;
}

int Ctl3Base::Update(float) {
    if (g_ctl3Highlight.update) {
        g_ctl3Highlight.left.Update(g_frameSeconds);
        g_ctl3Highlight.top.Update(g_frameSeconds);
        g_ctl3Highlight.right.Update(g_frameSeconds);
        g_ctl3Highlight.bottom.Update(g_frameSeconds);
    }
    return 1;
}

int Ctl3Base::DrawPre() {
    return 1;
}

int Ctl3Base::Draw() {
    Ctl3Set2DStates(-1, kDebugGreen);
    float ax = pos.x, ay = pos.y;
    if (rect.right - rect.left > 0 && rect.bottom - rect.top > 0) {
        I3dDrawQuadOutline(rect.left, rect.top, rect.right, rect.bottom, 0);
        ax = (rect.left + rect.right) * 0.5f;
        ay = (rect.top + rect.bottom) * 0.5f;
    }
    I3dDrawQuad(pos.x - 3, pos.y - 3, pos.x + 3, pos.y + 3, 0);
    if (Font* debug = Ctl3DebugFont()) {
        const uint32_t keep = debug->colour;
        debug->colour = kDebugGreen;
        FontPrint(debug, ax, ay, name);
        debug->colour = keep;
    }
    return 1;
}

int Ctl3Base::VarsChanged() {
    return 1;
}

int Ctl3Base::OnMessage(const SlEvent* event) {
    if (!event) return 1;
    switch (event->type) {
        case SL_MENUUP:
        case SL_MENUDOWN:
        case SL_MENULEFT:
        case SL_MENURIGHT: {
            Ctl3Base* link = navLinks[(event->type - SL_MENUUP) / 2];
            if (!Ctl3NavEnabled() || !Ctl3IsFocused(this) || !Ctl3CaptureAllows(this) || !link)
                return 1;
            Ctl3PlaySound(CTL3_SOUND_NAVIGATE);
            Ctl3SetFocus(link);
            // Nobody acts on type 1: no other control moves the focus again in this walk. The
            // walk's events are the application's own, never constants.
            const_cast<SlEvent*>(event)->type = 1;
            return 0;
        }
        case SL_KEYDOWN:
            // The reserved key has no setter; 0 stands for none.
            if (enabled && reservedKey != 0 && event->a == reservedKey) return 0;
            return 1;
        default: return 1;
    }
}

void Ctl3Base::SetPos(const VECTOR3* p) {
    if (p) pos = *p;
}

void Ctl3Base::SetPos2D(float x, float y) {
    pos = {x, y, 0};
}

// The control holds a reference of its own: the menus find their fonts by title, and whoever
// loaded a font (the game object holds most of them) may let it go while the control lives.
void Ctl3Base::SetFont(Font* newFont) {
    if (newFont) ++newFont->refCount;
    if (heldFont) SharedObjRelease(heldFont);
    heldFont = newFont;
    font = newFont;
}

Ctl3Base::~Ctl3Base() {
    if (heldFont) SharedObjRelease(heldFont);
}

int Ctl3Base::GetUserWord(intptr_t* word, Ctl3Base** control) {
    if (word) *word = userWord;
    if (control) *control = this;
    return 1;
}

void Ctl3Base::GainFocus() {
    state = CTL3_FOCUSED;
    Post(this, CTL3_FOCUS);
}

void Ctl3Base::LoseFocus() {
    state = CTL3_NORMAL;
}

void Ctl3Base::CaptureReleased() {}

void Ctl3Base::SetNavLinks(Ctl3Base* up, Ctl3Base* down, Ctl3Base* left, Ctl3Base* right) {
    navLinks[0] = up;
    navLinks[1] = down;
    navLinks[2] = left;
    navLinks[3] = right;
}

void Ctl3Base::SetTextW(const char16_t* text) {
    if (!text) text = u"";
    size_t n = 0;
    while (n < CTL3_LABEL_MAX && text[n])
        ++n;
    std::memcpy(label, text, n * sizeof(char16_t));
    label[n] = 0;
    // The name keeps the low byte of each unit, as a narrow copy does.
    char narrow[NAME_LEN_MAX] = {};
    for (size_t i = 0; i < n && i < NAME_LEN_MAX - 1; ++i)
        narrow[i] = char(text[i] & 0xFF);
    SetName(narrow);
}

void Ctl3Base::SetText(const char* text) {
    char16_t wide[CTL3_LABEL_MAX + 1];
    WideFromNarrow(text ? text : "", wide, CTL3_LABEL_MAX + 1);
    SetTextW(wide);
}

void Ctl3Base::Press() {
    if (!Ctl3IsFocused(this)) Ctl3SetFocus(this);
    state = CTL3_PRESSED;
    Post(this, CTL3_PRESS);
    if (Ctl3Base* held = Ctl3GetCapture()) {
        Ctl3ReleaseCapture();
        held->CaptureReleased();
    }
}

void Ctl3Base::Release() {
    const bool wasPressed = state == CTL3_PRESSED;
    if (!Ctl3IsFocused(this)) Ctl3SetFocus(this);
    Post(this, CTL3_RELEASE);
    if (wasPressed) Post(this, CTL3_CLICK);
    state = CTL3_FOCUSED;
}

// ---- non-virtual operations ----

float Ctl3ParentAlpha(Ctl3Base* control) {
    ENTBASE* parent = control ? EntGetParent(control) : nullptr;
    auto* menu = dynamic_cast<Ctl3AlphaSource*>(parent);
    return menu ? menu->GetMenuAlpha() : 1.0f;
}

uint32_t Ctl3FadedColour(Ctl3Base* control, uint32_t argb) {
    if (!control || !control->fadeWithParent) return argb;
    float alpha = float(argb >> 24) * Ctl3ParentAlpha(control);
    if (!(alpha > 0.0f)) alpha = 0.0f; // NaN too
    if (alpha > 255.0f) alpha = 255.0f;
    return (argb & 0x00FFFFFFu) | (uint32_t(alpha) << 24);
}

void Ctl3ClearRadioGroup(Ctl3Base* control) {
    if (!control || control->radioGroup < 0) return;
    EntNode* parent = control->node ? control->node->parent : nullptr;
    if (!parent) {
        control->checked = 0;
        return;
    }
    for (EntNode* n = parent->firstChild; n; n = n->next) {
        auto* sibling = dynamic_cast<Ctl3Base*>(n->object);
        if (sibling && n->deleteCount == 0 && sibling->radioGroup == control->radioGroup)
            sibling->checked = 0;
    }
}

void Ctl3SetChecked(Ctl3Base* control, bool on) {
    if (!control) return;
    if (on) Ctl3ClearRadioGroup(control);
    control->checked = on ? 1 : 0;
}

void Ctl3SetEnabled(Ctl3Base* control, bool on) {
    if (control) control->enabled = on ? 1 : 0;
}

void Ctl3SetVisible(Ctl3Base* control, bool on) {
    if (control) control->visible = on ? 1 : 0;
}

void Ctl3SetLive(Ctl3Base* control, bool on) {
    Ctl3SetEnabled(control, on);
    Ctl3SetVisible(control, on);
}

bool Ctl3HitTest(const Ctl3Base* control, float x, float y) {
    if (!control) return false;
    const Ctl3Rect& r = control->rect;
    return r.left <= x && x <= r.right && r.top <= y && y <= r.bottom;
}

bool Ctl3PointerAt(float* x, float* y) {
    if (!MouseCursorPointerKnown()) return false;
    MouseCursorPointer(x, y);
    return true;
}

bool Ctl3HoverAtPress(Ctl3Base* control) {
    float x = 0.0f, y = 0.0f;
    if (!control || !Ctl3PointerAt(&x, &y) || !Ctl3HitTest(control, x, y)) return false;
    if (control->state == CTL3_NORMAL) {
        Ctl3SetFocus(control);
        control->state = CTL3_FOCUSED;
    }
    return true;
}
