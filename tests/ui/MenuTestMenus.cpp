// The menu framework's test screens.
#include "tests/ui/MenuTestMenus.h"

#include "engine/Input/SlInput.h"
#include "ui/GraphicButton.h"
#include "ui/MenuKit.h"
#include "ui/TextButton.h"

#include <cstdio>

std::string g_menuTestScript = "Menu\\Test\\MenuTestA.lua";
std::string g_menuTestNext = "MenuTestB";
std::string g_menuTestFolder = "Menu\\Test\\";

namespace {
constexpr int32_t kBackDown = 50;
constexpr int32_t kBackUp = 51;

bool IsClick(const SlEvent* e) {
    return e && e->type == CTL3_EVENT && e->b == CTL3_CLICK;
}

template <class T>
intptr_t Proc(const char* name, EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    switch (message) {
        case 0:
        case 1:
        case 2: return 0;
        case 4: std::snprintf(reinterpret_cast<char*>(b), 64, "%s", name); return 0;
        case 6: return EntProcCreate(node, new T, nullptr);
        default: return EntProcForward(node, message, a, b, c);
    }
}
} // namespace

// ---- A ----

int MenuTestA::Create(EntNode* n) {
    static const char* const kNames[] = {"C_A", "C_B", "C_C"};
    MenuCreateConcrete(this, n, MenuNames{kNames, 3, true}, g_menuTestScript.c_str());
    MenuKitButtonNext(kTestNextId, 800.0f, 660.0f, this);
    MenuFinishConcrete(this, "MenuTestA");
    return 1;
}

int MenuTestA::OnMessage(const SlEvent* e) {
    if (!active) return 2;
    if (!IsClick(e) || e->a != kTestNextId) return 1;
    SetNextClass(g_menuTestNext.c_str());
    return SpawnChildClass() ? 0 : 1;
}

// ---- B ----

int MenuTestB::Create(EntNode* n) {
    static const char* const kNames[] = {"C_ASK", "C_BACK"};
    MenuCreateConcrete(this, n, MenuNames{kNames, 2, true},
                       (g_menuTestFolder + "Plain.lua").c_str());
    MenuKitTextButton(kTestAskId, u"Ask", 300.0f, 300.0f, this);
    MenuKitButtonBack(kTestBackId, 100.0f, 660.0f, this);
    LinkCtlNav(kTestAskId, kTestBackId, kTestBackId, kTestBackId, kTestBackId);
    LinkCtlNav(kTestBackId, kTestAskId, kTestAskId, kTestAskId, kTestAskId);
    MenuFinishConcrete(this, "MenuTestB");
    return 1;
}

int MenuTestB::OnMessage(const SlEvent* e) {
    if (!active) return 2;
    if (e && (e->type == kBackDown || e->type == kBackUp))
        return ForwardToCtl(e, kTestBackId) ? 0 : 1;
    if (!IsClick(e)) return 1;
    if (e->a == kTestAskId) {
        MenuOpenArgs args;
        args.returnMenu = this;
        args.out[0] = &answer;
        if (!MenuOpen("MenuTestC", EntGetParent(this), &args)) return 1;
        ClearActive();
        return 0;
    }
    if (e->a == kTestBackId) {
        SetNextClass("MenuTestA");
        return SpawnChildClass() ? 0 : 1;
    }
    return 1;
}

// ---- C ----

int MenuTestC::Create(EntNode* n) {
    static const char* const kNames[] = {"C_OK"};
    MenuCreateConcrete(this, n, MenuNames{kNames, 1, false},
                       (g_menuTestFolder + "Plain.lua").c_str());
    MenuKitButtonOk(kTestOkId, 600.0f, 400.0f, this);
    MenuFinishConcrete(this, "MenuTestC");
    return 1;
}

void MenuTestC::SetOpenArgs(const MenuOpenArgs& args) {
    caller = args.returnMenu;
    callerSerial = EntSerialOf(caller);
    answer = static_cast<uint8_t*>(args.out[0]);
}

int MenuTestC::OnMessage(const SlEvent* e) {
    if (!active) return 2;
    if (!IsClick(e) || e->a != kTestOkId) return 1;
    // This dialog is gone after EntDestroyTree: what the answer needs is read first.
    ENTBASE* back = EntIsLiveSerial(caller, callerSerial) ? caller : nullptr;
    uint8_t* flag = back ? answer : nullptr;
    EntDestroyTree(this);
    if (flag) *flag = 1;
    if (back) back->SetActive();
    return 0;
}

intptr_t MenuTestAProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return Proc<MenuTestA>("MenuTestA", node, message, a, b, c);
}
intptr_t MenuTestBProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return Proc<MenuTestB>("MenuTestB", node, message, a, b, c);
}
intptr_t MenuTestCProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return Proc<MenuTestC>("MenuTestC", node, message, a, b, c);
}
