// The removal question.
#include "ui/Menus/MenuRemoveAttr.h"

#include "engine/WideFormat.h"
#include "engine/WorldClass.h"
#include "game/AttrInfo.h"
#include "game/Ents/AttrBase.h"
#include "ui/MenuKit.h"
#include "ui/Menus/HudPlacement.h"
#include "ui/StaticTextBox.h"

namespace {
const WorldClassDef kClass = {"MenuRemoveAttr", nullptr, WorldMake<MenuRemoveAttr>, nullptr};
} // namespace

void MenuRemoveAttrMessage(int32_t value, int32_t deposit, char16_t* out, int size) {
    if (!out || size < 1) return;
    WideFormat(out, size_t(size),
               u"Are you sure you want to remove this attraction?\n\nYou will get back $%i of "
               u"your $%i deposit.",
               int(value / 100), int(deposit / 100));
}

int MenuRemoveAttr::Create(EntNode* node) {
    CreateQuestion(node, u"DELETE");
    message = MenuKitTextBox20(MENU_REMOVE_MESSAGE, u"", 512.0f, 330.0f, 912.0f, 400.0f, this);
    FinishQuestion("MenuRemoveAttr");
    return 1;
}

int MenuRemoveAttr::Start() {
    const auto* attr = dynamic_cast<const AttrBase*>(Subject());
    if (message && attr) {
        char16_t text[192];
        MenuRemoveAttrMessage(AttrBaseValue(attr), attr->info ? attr->info->deposit : 0, text,
                              int(sizeof text / sizeof text[0]));
        message->SetText(text);
        message->Flip();
    }
    return Menu3Base::Start();
}

void MenuRemoveAttr::Answer(MenuGameRunning* hud, ENTBASE* attraction) {
    HudRemoveAttraction(hud, attraction);
}

Menu3Base* MenuRemoveAttrOpen(ENTBASE* parent, ENTBASE* attraction, ENTBASE* hud,
                              ENTBASE* inspector) {
    // Anything but an attraction is nothing to ask about: OK would destroy it with no refund and
    // no cells freed. Its kind is read only while it lives.
    ENTBASE* subject = EntIsLive(attraction) ? dynamic_cast<AttrBase*>(attraction) : nullptr;
    return MenuPlayQuestionOpen("MenuRemoveAttr", parent, subject, hud, inspector);
}

intptr_t EcMenuRemoveAttrProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
