// The HUD tests' stand-ins for the screens it opens.
#include "tests/ui/Menus/HudDoubles.h"

#include "engine/EntTree.h"

#include <cstdio>
#include <cstring>

std::vector<HudOpened> g_hudOpened;
bool g_hudRefuseOpen = false;
std::set<std::string> g_hudAutoClose;

namespace {

template <int N>
intptr_t ScreenProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    switch (message) {
        case ENT_CLASS_MSG_BUILD_DB:
        case ENT_CLASS_MSG_RESET:
        case ENT_CLASS_MSG_UNREGISTER: return 0;
        case ENT_CLASS_MSG_CLASS_NAME:
            std::snprintf(reinterpret_cast<char*>(b), 64, "%s", kHudOpenedClasses[N]);
            return 0;
        case ENT_CLASS_MSG_CREATE: {
            if (g_hudRefuseOpen) return -1;
            auto* made = new HudScreenDouble;
            const intptr_t result = EntProcCreate(node, made, nullptr);
            made->SetName(kHudOpenedClasses[N]);
            return result;
        }
        default: return EntProcForward(node, message, a, b, c);
    }
}

} // namespace

int HudScreenDouble::Create(EntNode* n) {
    Menu3Base::Create(n);
    return 1;
}

void HudScreenDouble::SetOpenArgs(const MenuOpenArgs& args) {
    caller = EntRef(args.returnMenu);
    HudOpened opened;
    opened.className = GetName();
    opened.returnMenu = args.returnMenu;
    opened.out[0] = args.out[0];
    opened.out[1] = args.out[1];
    g_hudOpened.push_back(opened);
}

int HudScreenDouble::Update(float) {
    if (g_hudAutoClose.count(GetName())) {
        Close(); // frees this
        return 0;
    }
    return 1;
}

void HudScreenDouble::Close() {
    ENTBASE* back = caller.Get();
    EntDestroyTree(this);
    if (back) back->SetActive();
}

void HudRegisterDoubles() {
    EntCreateClass(ScreenProc<0>, 0, 0);
    EntCreateClass(ScreenProc<1>, 0, 0);
    EntCreateClass(ScreenProc<2>, 0, 0);
    EntCreateClass(ScreenProc<3>, 0, 0);
    EntCreateClass(ScreenProc<4>, 0, 0);
    EntCreateClass(ScreenProc<5>, 0, 0);
    EntCreateClass(ScreenProc<6>, 0, 0);
}

void HudResetDoubles() {
    g_hudOpened.clear();
    g_hudRefuseOpen = false;
    g_hudAutoClose.clear();
}

HudScreenDouble* HudFindOpened(ENTBASE* menus, const char* className) {
    return dynamic_cast<HudScreenDouble*>(EntTreeFindName(menus, className));
}

int HudOpenCount(const char* className) {
    int n = 0;
    for (const HudOpened& o : g_hudOpened)
        n += o.className == className;
    return n;
}
