// The person panels' common part.
#include "ui/Menus/MenuInspectPerson.h"

#include "I3d/Font.h"
#include "engine/DebugLog.h"
#include "engine/Input/SlInput.h"
#include "engine/WideFormat.h"
#include "ui/Menus/MenuGameRunning.h"
#include "ui/StaticText.h"

namespace {
constexpr const char* kScript = "Menu\\MenuGameRunning.lua";
constexpr const char* kLineFont = "Georgia_14";
} // namespace

StaticText* MenuInspectPerson::AddLine(float down, int32_t id) {
    auto* line =
        dynamic_cast<StaticText*>(MenuAddText(int(inner.left), int(inner.top + down), -1, this));
    if (!line) return nullptr;
    line->id = id;
    line->SetFont(FontFind(kLineFont));
    return line;
}

void MenuInspectPerson::SetFitted(StaticText* text, const char16_t* value) {
    if (!text) return;
    text->SetTextW(value);
    text->horizScale = 1.0f;
    if (!text->font) return;
    // The font is shared: measured unscaled, its scale is set again by whatever draws next.
    FontSetScale(text->font, 1.0f, 1.0f);
    const float room = inner.right - text->pos.x;
    const float width = FontTextWidth(text->font, text->label);
    if (width > room && room > 0.0f) text->horizScale = room / width;
}

void MenuInspectPerson::CreatePanel(EntNode* node, float height, int32_t closeId, int32_t viewId) {
    MenuCreateConcrete(this, node, MenuNames{nullptr, 0, true}, kScript);
    m_closeId = closeId;
    m_viewId = viewId;
    MenuAddBackground(320.0f, height, INSPECT_TITLE, closeId, viewId, this, &inner);
    title = dynamic_cast<StaticText*>(FindCtl(INSPECT_TITLE));
}

void MenuInspectPerson::FinishPanel(const char* className) {
    SetName(className);
    DbgPrintf(DBG_GENERAL, "Menu: %s (%s)\n", GetName(), className);
    ClearActive();
    Hide();
}

void MenuInspectPerson::SetOpenArgs(const MenuOpenArgs& args) {
    m_hud = EntRef(args.returnMenu);
}

MenuGameRunning* MenuInspectPerson::Hud() const {
    return dynamic_cast<MenuGameRunning*>(m_hud.Get());
}

void MenuInspectPerson::Show(ENTBASE* entity) {
    if (entity && !Accepts(entity)) {
        DbgPrintf(DBG_GENERAL, "%s: cannot show %s\n", GetName(), entity->GetTypeName());
        entity = nullptr;
    }
    m_person = EntRef(entity);
    if (!entity) {
        ClearActive();
        Hide();
        return;
    }
    if (title) {
        char16_t name[40];
        WideFromNarrow(entity->GetName(), name, sizeof name / sizeof name[0]);
        title->SetTextW(name);
    }
    Refresh(entity);
    SetActive();
    Menu3Base::Show();
}

int MenuInspectPerson::Update(float seconds) {
    Menu3Base::Update(seconds);
    if (ENTBASE* person = Person()) Refresh(person);
    return 1;
}

int MenuInspectPerson::OnEntityRemoved(ENTBASE* gone) {
    if (gone && gone == m_person.Address()) Show(nullptr);
    return 1;
}

int MenuInspectPerson::OnMessage(const SlEvent* event) {
    if (!active) return 2;
    if (!event || event->type != CTL3_EVENT || event->b != CTL3_CLICK) return 1;
    if (event->a == m_closeId) {
        ClearActive();
        Hide();
        Ctl3SetFocus(nullptr);
        return 0;
    }
    ENTBASE* person = Person();
    if (event->a == m_viewId) {
        MenuAimMainCamera(EntGetRoot(this), person);
        return 1;
    }
    return person ? OnControl(int32_t(event->a), person) : 1;
}

int MenuInspectPerson::OnControl(int32_t, ENTBASE*) {
    return 1;
}
