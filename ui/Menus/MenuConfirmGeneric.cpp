// The generic confirmation and its opener.
#include "ui/Menus/MenuConfirmGeneric.h"

#include "I3d/Font.h"
#include "engine/Input/SlInput.h"
#include "engine/PropDb.h"
#include "engine/WorldClass.h"
#include "ui/GraphicButton.h"
#include "ui/MenuKit.h"
#include "ui/StaticText.h"

#include <cstdio>

namespace {
enum : int32_t { kYes = 0, kNo = 1, kPrompt = 2 };
constexpr const char* kScript = "Menu\\ConfirmExit\\MenuConfirmGeneric.lua";

GraphicButton* Picture(int32_t id, const char* name, float x, float y, const char* texture,
                       int32_t right, int32_t bottom, ENTBASE* menu) {
    auto* b = dynamic_cast<GraphicButton*>(EntCreateChild("GraphicButton", menu));
    if (!b) return nullptr;
    b->id = id;
    b->SetPos2D(x, y);
    b->SetText(name);
    b->colour = 0xFFFFFFFFu;
    b->image.left = 0;
    b->image.top = 0;
    b->image.right = right;
    b->image.bottom = bottom;
    std::snprintf(b->image.textureName, sizeof b->image.textureName, "%s", texture);
    b->Start();
    return b;
}
} // namespace

int MenuConfirmGeneric::Create(EntNode* n) {
    MenuCreateConcrete(this, n, MenuNames{}, kScript);
    MenuKitPanel(512.0f, 399.0f, this);
    Picture(kYes, "Yes", 583.0f, 533.0f, "Menu\\ConfirmExit\\button_ok.dds", 96, 56, this);
    Picture(kNo, "No", 332.0f, 533.0f, "Menu\\ConfirmExit\\button_cancel.dds", 133, 55, this);
    if (auto* t = dynamic_cast<StaticText*>(EntCreateChild("StaticText", this))) {
        t->id = kPrompt;
        t->SetPos2D(512.0f, 400.0f);
        t->SetText("Prompt");
        t->SetFont(FontFind("Georgia_20"));
        t->horizAlign = 1;
        t->Start();
    }
    LinkCtlNav(kYes, kYes, kYes, kNo, kNo);
    LinkCtlNav(kNo, kNo, kNo, kYes, kYes);
    MenuFinishConcrete(this, "ConfirmExit");
    FocusCtl(kNo);
    return 1;
}

void MenuConfirmGeneric::SetOpenArgs(const MenuOpenArgs& args) {
    size_t n = 0;
    for (const char16_t* p = args.texts[0]; p && *p && n + 1 < MENU_CONFIRM_PROMPT_MAX; ++p)
        prompt[n++] = *p;
    prompt[n] = 0;
}

int MenuConfirmGeneric::Start() {
    if (Ctl3Base* t = FindCtl(kPrompt)) t->SetTextW(prompt);
    return Menu3Base::Start();
}

int MenuConfirmGeneric::OnMessage(const SlEvent* event) {
    if (!active) return 2;
    if (!event) return 1;
    if (event->type == SL_KEYDOWN || event->type == SL_PADSTART || event->type == SL_MENUSELECT)
        return 0;
    if (event->type != CTL3_EVENT || event->b != CTL3_CLICK) return 1;
    if (event->a != kYes && event->a != kNo) return 1;
    // An empty or unknown class opens nothing, and the box stays.
    return SpawnChoice(event->a == kYes ? 0 : 1) ? 0 : 1;
}

MenuConfirmGeneric* MenuConfirmGenericOpen(ENTBASE* parent, const char* yesClass,
                                           const char* noClass, const char16_t* prompt) {
    MenuOpenArgs args;
    args.texts[0] = prompt;
    Menu3Base* made = MenuOpen("MenuConfirmGeneric", parent, &args);
    auto* box = dynamic_cast<MenuConfirmGeneric*>(made);
    if (!box) {
        if (made) EntDestroyTree(made);
        return nullptr;
    }
    // Read only when an answer is clicked, so they may follow the start.
    box->SetAltClass(yesClass);
    box->SetNextClass(noClass);
    return box;
}

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "MenuConfirmGeneric");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(MenuConfirmGeneric, name), 32);
    }
    return &s_db;
}

const WorldClassDef kClass = {"MenuConfirmGeneric", Db, WorldMake<MenuConfirmGeneric>, nullptr};
} // namespace

intptr_t EcMenuConfirmGenericProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
