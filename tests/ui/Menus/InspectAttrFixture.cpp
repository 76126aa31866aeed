// The attraction panel tests' fixture.
#include "tests/ui/Menus/InspectAttrFixture.h"

#include "engine/EntTree.h"
#include "game/Ents/AttrBase.h"
#include "ui/Menus/MenuGameRunning.h"
#include "world/EntViewport.h"

#include <cstdio>

namespace {
intptr_t RemoveDoubleProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    switch (message) {
        case ENT_CLASS_MSG_BUILD_DB:
        case ENT_CLASS_MSG_RESET:
        case ENT_CLASS_MSG_UNREGISTER: return 0;
        case ENT_CLASS_MSG_CLASS_NAME:
            std::snprintf(reinterpret_cast<char*>(b), 64, "MenuRemoveAttr");
            return 0;
        case ENT_CLASS_MSG_CREATE: return EntProcCreate(node, new RemoveAttrDouble, nullptr);
        default: return EntProcForward(node, message, a, b, c);
    }
}

intptr_t RemoveRefusedProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    switch (message) {
        case ENT_CLASS_MSG_BUILD_DB:
        case ENT_CLASS_MSG_RESET:
        case ENT_CLASS_MSG_UNREGISTER: return 0;
        case ENT_CLASS_MSG_CLASS_NAME:
            std::snprintf(reinterpret_cast<char*>(b), 64, "MenuRemoveAttr");
            return 0;
        case ENT_CLASS_MSG_CREATE: return -1;
        default: return EntProcForward(node, message, a, b, c);
    }
}
} // namespace

int RemoveAttrDouble::Create(EntNode* n) {
    Menu3Base::Create(n);
    MenuFinishConcrete(this, "MenuRemoveAttr");
    return 1;
}

void RemoveAttrDouble::SetOpenArgs(const MenuOpenArgs& opened) {
    args = opened;
}

void InspectAttrTest::SetUp() {
    HudTest::SetUp();
    auto doubles = registerFirst;
    registerFirst = [this, doubles] {
        doubles();
        if (m_removal == Removal::Double) EntCreateClass(RemoveDoubleProc, 0, 0);
        if (m_removal == Removal::Refused) EntCreateClass(RemoveRefusedProc, 0, 0);
    };
}

void InspectAttrTest::StartPanel(Removal removal) {
    m_removal = removal;
    StartHud();
    if (HasFatalFailure()) return;
    ASSERT_NE(Panel(), nullptr) << "the HUD made no attraction panel";
}

MenuInspectAttr* InspectAttrTest::Panel() const {
    return hud ? dynamic_cast<MenuInspectAttr*>(hud->Inspector(HUD_KIND_ATTRACTION)) : nullptr;
}

AttrBase* InspectAttrTest::At(int type, int slot) {
    return venue.Place(type, 4 + (slot % 8) * 14, 4 + (slot / 8) * 14);
}

void InspectAttrTest::Click(const Ctl3Base* control) {
    ASSERT_NE(control, nullptr);
    ClickAt((control->rect.left + control->rect.right) / 2,
            (control->rect.top + control->rect.bottom) / 2);
}

ENTBASE* InspectAttrTest::ViewCamera() const {
    auto* view = dynamic_cast<EntViewport*>(EntTreeFindName(venue.root, "ViewportMain"));
    return view ? view->camera : nullptr;
}

ENTBASE* InspectAttrTest::AddRideCamera() {
    if (ENTBASE* shipped = EntTreeFindType(venue.root, "CameraAttach")) return shipped;
    ENTBASE* world = EntTreeFindName(venue.root, "World");
    ENTBASE* camera = world ? EntCreateChild("CameraAttach", world) : nullptr;
    if (camera) {
        camera->SetName("RideCam");
        camera->Start();
    }
    return camera;
}
