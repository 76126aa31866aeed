// The overwrite question.
#include "ui/Menus/MenuFileExists.h"

#include "I3d/Font.h"
#include "engine/Input/SlInput.h"
#include "engine/PropDb.h"
#include "engine/WorldClass.h"
#include "ui/GraphicButton.h"
#include "ui/MenuKit.h"
#include "ui/StaticText.h"

#include <cstdio>

namespace {
enum : int32_t { kOverwrite = 0, kCancel = 1, kName = 2 };
constexpr const char* kScript = "Menu\\ConfirmExit\\MenuConfirmExit.lua";

void Picture(int32_t id, float x, float y, const char* texture, int32_t right, int32_t bottom,
             ENTBASE* menu) {
    auto* b = dynamic_cast<GraphicButton*>(EntCreateChild("GraphicButton", menu));
    if (!b) return;
    b->id = id;
    b->SetPos2D(x, y);
    b->colour = kMenuKitColour;
    b->image.left = 0;
    b->image.top = 0;
    b->image.right = right;
    b->image.bottom = bottom;
    std::snprintf(b->image.textureName, sizeof b->image.textureName, "%s", texture);
    b->Start();
}

void Line(int32_t id, const char16_t* text, const char* name, float y, ENTBASE* menu) {
    auto* t = dynamic_cast<StaticText*>(EntCreateChild("StaticText", menu));
    if (!t) return;
    t->id = id;
    t->SetPos2D(512.0f, y);
    t->SetTextW(text);
    t->SetFont(FontFind("Georgia_20"));
    t->horizAlign = 1;
    t->colour = kMenuKitColour;
    if (name) t->SetName(name);
    t->Start();
}
} // namespace

int MenuFileExists::Create(EntNode* n) {
    MenuCreateConcrete(this, n, MenuNames{nullptr, 0, true}, kScript);
    MenuKitDimBackground(this);
    MenuKitAnimLogo(this);
    MenuKitPanel(512.0f, 380.0f, this);
    Picture(kOverwrite, 583.0f, 533.0f, "Menu\\ConfirmExit\\button_ok.dds", 96, 56, this);
    Picture(kCancel, 332.0f, 533.0f, "Menu\\ConfirmExit\\button_cancel.dds", 133, 55, this);
    Line(kName, u"", nullptr, 380.0f, this);
    Line(kMenuKitStaticId, u"This file already exists.", "Exists", 400.0f, this);
    Line(kMenuKitStaticId, u"Do you want to overwrite it?", "Overwrite", 440.0f, this);
    LinkCtlNav(kOverwrite, kOverwrite, kOverwrite, kCancel, kCancel);
    LinkCtlNav(kCancel, kCancel, kCancel, kOverwrite, kOverwrite);
    MenuFinishConcrete(this, "MenuFileExists");
    FocusCtl(kCancel);
    return 1;
}

void MenuFileExists::SetOpenArgs(const MenuOpenArgs& args) {
    opener = EntRef(args.returnMenu);
    result = static_cast<uint8_t*>(args.out[0]);
    size_t n = 0;
    for (const char16_t* p = args.texts[0]; p && *p && n < MENU_FILE_EXISTS_NAME_MAX; ++p)
        fileName[n++] = *p;
    fileName[n] = 0;
}

int MenuFileExists::Start() {
    if (Ctl3Base* name = FindCtl(kName)) name->SetTextW(fileName);
    return Menu3Base::Start();
}

int MenuFileExists::OnMessage(const SlEvent* event) {
    if (!active) return 2;
    if (!event || event->type != CTL3_EVENT || event->b != CTL3_CLICK) return 1;
    if (event->a != kOverwrite && event->a != kCancel) return 1;
    // The byte lives in the opener: written only while the opener is there (or there is none).
    ENTBASE* back = opener.Get();
    if (result && (back || !opener.Address())) *result = event->a == kOverwrite ? 1 : 0;
    if (back) back->SetActive();
    EntDestroyTree(this);
    return 0;
}

MenuFileExists* MenuFileExistsOpen(ENTBASE* parent, const char16_t* fileName, uint8_t* result,
                                   ENTBASE* opener) {
    MenuOpenArgs args;
    args.returnMenu = opener;
    args.out[0] = result;
    args.texts[0] = fileName;
    return dynamic_cast<MenuFileExists*>(MenuOpen("MenuFileExists", parent, &args));
}

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "MenuFileExists");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(MenuFileExists, name), 32);
    }
    return &s_db;
}

const WorldClassDef kClass = {"MenuFileExists", Db, WorldMake<MenuFileExists>, nullptr};
} // namespace

intptr_t EcMenuFileExistsProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
