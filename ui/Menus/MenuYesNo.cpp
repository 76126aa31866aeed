// The question box and its opener.
#include "ui/Menus/MenuYesNo.h"

#include "I3d/Font.h"
#include "engine/Input/SlInput.h"
#include "engine/PropDb.h"
#include "engine/WideFormat.h"
#include "engine/WorldClass.h"
#include "game/MtGameSave.h"
#include "ui/GraphicButton.h"
#include "ui/MenuKit.h"
#include "ui/Menus/CareerMenus.h"
#include "ui/StaticText.h"

namespace {
enum : int32_t { kOk = 0, kCancel = 1, kLine1 = 2 };
constexpr const char* kScript = "Menu\\ConfirmExit\\MenuConfirmExit.lua";

void CopyCut(char16_t* out, const char16_t* in) {
    size_t n = 0;
    while (in && n + 1 < MENU_YES_NO_TEXT_MAX && in[n]) {
        out[n] = in[n];
        ++n;
    }
    out[n] = 0;
}

StaticText* Line(int32_t id, float y, ENTBASE* menu) {
    auto* t = dynamic_cast<StaticText*>(EntCreateChild("StaticText", menu));
    if (!t) return nullptr;
    t->id = id;
    t->SetPos2D(512.0f, y);
    t->SetText("Line");
    t->SetFont(FontFind("Georgia_20"));
    t->horizAlign = 1;
    t->Start();
    return t;
}
} // namespace

int MenuYesNo::Create(EntNode* n) {
    MenuCreateConcrete(this, n, MenuNames{}, kScript);
    MenuKitBackground(nullptr, this);
    MenuKitAnimLogo(this);
    MenuKitPanel(512.0f, 380.0f, this);
    titleText = MenuKitText(u"TITLE", 512.0f, 220.0f, this);
    MenuKitButtonOk(kOk, 583.0f, 533.0f, this);
    MenuKitButtonCancel(kCancel, 332.0f, 533.0f, this);
    for (int i = 0; i < 3; ++i)
        Line(kLine1 + i, 360.0f + 40.0f * float(i), this);
    LinkCtlNav(kOk, kOk, kOk, kCancel, kCancel);
    LinkCtlNav(kCancel, kCancel, kCancel, kOk, kOk);
    MenuFinishConcrete(this, "MenuYesNo");
    // A confirming key must not answer yes by accident.
    FocusCtl(kCancel);
    return 1;
}

void MenuYesNo::SetOpenArgs(const MenuOpenArgs& args) {
    caller = EntRef(args.returnMenu);
    hasCaller = args.returnMenu != nullptr;
    answer = static_cast<uint8_t*>(args.out[0]);
    CopyCut(title, args.texts[0]);
    for (int i = 0; i < 3; ++i)
        CopyCut(lines[i], args.texts[i + 1]);
}

int MenuYesNo::Start() {
    if (titleText) titleText->SetTextW(title);
    for (int i = 0; i < 3; ++i)
        if (Ctl3Base* line = FindCtl(kLine1 + i)) line->SetTextW(lines[i]);
    return Menu3Base::Start();
}

int MenuYesNo::OnMessage(const SlEvent* event) {
    if (!active) return 2;
    if (!event) return 1;
    // The back key answers No (or OK on a box without it): a question is never a dead end.
    if (event->type == SL_MENUBACK || event->type == SL_MENUBACK + 1)
        return ForwardToCtl(event, kCancel) || ForwardToCtl(event, kOk) ? 0 : 1;
    if (event->type != CTL3_EVENT || event->b != CTL3_CLICK) return 1;
    if (event->a != kOk && event->a != kCancel) return 1;
    // The flag lives in the caller: it is written only while the caller is there, and first, so
    // that the caller reads it on its next update once it is active.
    ENTBASE* back = caller.Get();
    if (answer && (back || !hasCaller)) *answer = event->a == kOk ? 1 : 0;
    if (back) back->SetActive();
    EntDestroyTree(this);
    return 0;
}

MenuYesNo* MenuYesNoOpen(ENTBASE* parent, const char16_t* title, const char16_t* line1,
                         const char16_t* line2, const char16_t* line3, uint8_t* answer,
                         ENTBASE* caller) {
    MenuOpenArgs args;
    args.returnMenu = caller;
    args.out[0] = answer;
    args.texts[0] = title;
    args.texts[1] = line1;
    args.texts[2] = line2;
    args.texts[3] = line3;
    return dynamic_cast<MenuYesNo*>(MenuOpen("MenuYesNo", parent, &args));
}

void MenuYesNoReasonLine(const char* reason, char16_t* out, int outCount) {
    if (!reason || !*reason) reason = "The system gave no reason.";
    WideFromUtf8(reason, out, outCount);
}

bool MenuYesNoFileFailed(ENTBASE* parent, const char16_t* title, const char* name,
                         const char16_t* line, ENTBASE* caller, const char* reason) {
    char16_t wide[MTGAME_SAVE_NAME_MAX + 1];
    WideFromUtf8(name, wide, sizeof wide / sizeof wide[0]);
    char16_t why[128];
    if (reason) MenuYesNoReasonLine(reason, why, sizeof why / sizeof why[0]);
    return MenuYesNoOpen(parent, title, wide, line, reason ? why : u"See Debug.txt for the reason.",
                         nullptr, caller) != nullptr;
}

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "MenuYesNo");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(MenuYesNo, name), 32);
    }
    return &s_db;
}

const WorldClassDef kClass = {"MenuYesNo", Db, WorldMake<MenuYesNo>, nullptr};
} // namespace

intptr_t EcMenuYesNoProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
