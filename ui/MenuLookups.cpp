// The menu's operations on its controls: lookups by id and point, navigation links, the focus,
// checks, and the back key forwarded to a button.
#include "engine/Input/SlInput.h"
#include "ui/Menu3Base.h"

namespace {
// Each live control child in child order until `visit` answers true; that child, or null.
template <class F>
Ctl3Base* FirstChild(Menu3Base* menu, F visit) {
    if (!menu->node) return nullptr;
    for (EntNode* n = menu->node->firstChild; n; n = n->next) {
        if (n->deleteCount != 0) continue;
        auto* control = dynamic_cast<Ctl3Base*>(n->object);
        if (control && visit(control)) return control;
    }
    return nullptr;
}

constexpr int32_t kBackDown = 50;
constexpr int32_t kBackUp = 51;
} // namespace

Ctl3Base* Menu3Base::FindCtl(int32_t id) {
    return FirstChild(this, [id](Ctl3Base* c) { return c->id == id; });
}

bool Menu3Base::LinkCtlNav(int32_t id, int32_t up, int32_t down, int32_t left, int32_t right) {
    Ctl3Base* control = FindCtl(id);
    if (control) control->SetNavLinks(FindCtl(up), FindCtl(down), FindCtl(left), FindCtl(right));
    return true;
}

bool Menu3Base::FocusCtl(int32_t id) {
    Ctl3Base* control = FindCtl(id);
    Ctl3SetFocus(control);
    return control != nullptr;
}

void Menu3Base::RestoreFocus(Ctl3Base* defaultControl) {
    const int32_t id = GetSavedFocusId();
    Ctl3Base* control = id < 0 ? nullptr : FindCtl(id);
    Ctl3SetFocus(control ? control : defaultControl);
}

void Menu3Base::RememberFocus() {
    Ctl3Base* focus = Ctl3GetFocus();
    SaveFocusId(focus ? focus->id : -1);
}

int Menu3Base::ForwardToCtl(const SlEvent* event, int32_t id) {
    if (!event || (event->type != kBackDown && event->type != kBackUp)) return 0;
    Ctl3Base* control = FindCtl(id);
    if (!control) return 0;
    if (event->type == kBackDown)
        control->Press();
    else
        control->Release();
    return 1;
}

Ctl3Base* Menu3Base::CtlAtPoint(float x, float y) {
    return FirstChild(this, [x, y](Ctl3Base* c) { return Ctl3HitTest(c, x, y); });
}

Ctl3Base* Menu3Base::EnabledCtlAtPoint(float x, float y) {
    return FirstChild(this, [x, y](Ctl3Base* c) { return c->enabled && Ctl3HitTest(c, x, y); });
}

bool Menu3Base::SetCtlChecked(int32_t id, bool on) {
    Ctl3Base* control = FindCtl(id);
    if (control) Ctl3SetChecked(control, on);
    return control != nullptr;
}

int Menu3Base::GetCtlChecked(int32_t id) {
    Ctl3Base* control = FindCtl(id);
    return control ? control->checked : 0;
}
