// The option pages' shared screen, input, preference writes, tab switch and close.
#include "ui/Menus/MenuOptionsPage.h"

#include "engine/DebugLog.h"
#include "engine/Input/SlInput.h"
#include "engine/Script/ScriptMgr.h"
#include "game/MtGame.h"
#include "ui/GraphicButton.h"
#include "ui/MenuKit.h"
#include "ui/MenuKitMake.h"
#include "ui/Slider.h"
#include "ui/StaticGraphic.h"

#include <climits>
#include <cmath>
#include <cstdio>

namespace {
constexpr const char* kBackground = "Menu\\Common\\ZobPurpleBackground.dds";
constexpr const char* kPanelImage = "Menu\\Common\\ZobPanelOptions.dds";
constexpr float kPanelX = 512.0f, kPanelY = 384.0f, kPanelW = 576.0f, kPanelH = 448.0f;
constexpr float kPanelUvRight = 0.5625f, kPanelUvBottom = 0.875f;
// An id no control has: LinkCtlNav finds nothing and leaves that direction empty (-1 would find
// the first static control).
constexpr int32_t kNoLink = INT32_MIN;
enum { kLeftAligned = 0, kCentred = 1 };

bool IsClick(const SlEvent* e) {
    return e && e->type == CTL3_EVENT && e->b == CTL3_CLICK;
}
} // namespace

float OptionsPrefValue(float value, float fallback) {
    if (std::isnan(value)) return fallback;
    return value < 0.0f ? 0.0f : value > 1.0f ? 1.0f : value;
}

// ---- creation ----

int MenuOptionsPage::Create(EntNode* n) {
    m_builtFullScreen = *m_def.fullScreen != 0;
    Build(n);
    if (!Game()) {
        DbgPrintf(DBG_GENERAL,
                  "%s: no game object; the sliders show the defaults and change "
                  "nothing\n",
                  m_def.className);
    }
    return 1;
}

void MenuOptionsPage::Build(EntNode* n) {
    MenuCreateConcrete(this, n, MenuNames{m_def.names, m_def.nameCount, true}, m_def.script);
    alpha = 1.0f;
    AddControls();
    // The first focus is Cancel, not control 0.
    FocusCtl(m_def.cancelId);
    SetName(m_def.menuName);
}

void MenuOptionsPage::AddTab(const OptionsTabDef& tab, bool button) {
    if (button) {
        auto* b = MenuKitMake<GraphicButton>("GraphicButton", this, m_def.tabId, tab.x, tab.y,
                                             nullptr, tab.name);
        if (!b) return;
        b->image.left = 0;
        b->image.top = 0;
        b->image.right = tab.right;
        b->image.bottom = tab.bottom;
        // The size the button keeps when its image cannot be loaded: still a tab to click.
        b->width = float(tab.right + 1);
        b->height = float(tab.bottom + 1);
        std::snprintf(b->image.textureName, sizeof b->image.textureName, "%s", tab.texture);
        b->Start();
        return;
    }
    auto* g = MenuKitMake<StaticGraphic>("StaticGraphic", this, kMenuKitStaticId, tab.x, tab.y,
                                         nullptr, tab.name);
    if (!g) return;
    g->horizAlign = kLeftAligned;
    g->width = tab.width;
    g->height = tab.height;
    g->uv = {0.0f, 0.0f, tab.uvRight, tab.uvBottom};
    std::snprintf(g->textureName, sizeof g->textureName, "%s", tab.texture);
    g->Start();
}

void MenuOptionsPage::AddControls() {
    if (m_builtFullScreen) {
        MenuKitBackground(kBackground, this);
        MenuKitAnimLogo(this);
    }
    if (auto* panel = MenuKitMake<StaticGraphic>("StaticGraphic", this, kMenuKitStaticId, kPanelX,
                                                 kPanelY, nullptr, "BackgroundAudio")) {
        panel->horizAlign = kCentred;
        panel->width = kPanelW;
        panel->height = kPanelH;
        panel->uv = {0.0f, 0.0f, kPanelUvRight, kPanelUvBottom};
        std::snprintf(panel->textureName, sizeof panel->textureName, "%s", kPanelImage);
        panel->Start();
    }
    AddTab(m_def.tabButton, true);
    AddTab(m_def.tabPicture, false);
    MenuKitButtonOk(m_def.okId, kOptionsOkX, kOptionsOkY, this);
    MtGame* g = Game();
    for (const OptionsSliderDef& s : m_def.sliders) {
        const float value = OptionsPrefValue(g ? g->prefs.*s.field : s.fallback, s.fallback);
        MenuKitSlider(s.id, s.label, s.x, s.y, float(kOptionsSliderTrack), value, this);
    }
    // The focus goes to Cancel, and the back key presses it: a page without one would leave a
    // player on keys or a pad no way out. The script cannot give a control an id, so the page
    // adds it unless one is there.
    if (!FindCtl(m_def.cancelId))
        MenuKitButtonCancel(m_def.cancelId, kOptionsCancelX, kOptionsCancelY, this);

    const int32_t upper = m_def.sliders[0].id, lower = m_def.sliders[1].id;
    const int32_t ok = m_def.okId, cancel = m_def.cancelId;
    LinkCtlNav(m_def.tabId, kNoLink, upper, kNoLink, kNoLink);
    LinkCtlNav(upper, m_def.tabId, lower, kNoLink, kNoLink);
    LinkCtlNav(lower, upper, cancel, kNoLink, kNoLink);
    LinkCtlNav(cancel, lower, kNoLink, ok, ok);
    LinkCtlNav(ok, lower, kNoLink, cancel, cancel);
}

void MenuOptionsPage::SetOpenArgs(const MenuOpenArgs& args) {
    SetReturn(args.returnClass, args.returnMenu);
    const bool fullScreen = args.returnMenu == nullptr;
    *m_def.fullScreen = fullScreen ? 1 : 0;
    if (fullScreen == m_builtFullScreen) return;
    m_builtFullScreen = fullScreen;
    EntDestroyChildren(this);
    if (script) script->Release();
    script = nullptr;
    Build(node);
}

void MenuOptionsPage::SetReturn(const char* className, ENTBASE* caller) {
    std::snprintf(m_returnTo, sizeof m_returnTo, "%s", className ? className : "");
    m_caller = caller;
    m_callerSerial = EntSerialOf(caller);
}

ENTBASE* MenuOptionsPage::Caller() const {
    return m_caller && EntIsLiveSerial(m_caller, m_callerSerial) ? m_caller : nullptr;
}

MtGame* MenuOptionsPage::Game() const {
    return EntIsLive(game) ? dynamic_cast<MtGame*>(game) : nullptr;
}

Slider* MenuOptionsPage::SliderAt(int which) {
    if (which < 0 || which > 1) return nullptr;
    return dynamic_cast<Slider*>(FindCtl(m_def.sliders[which].id));
}

// ---- input ----

int MenuOptionsPage::OnMessage(const SlEvent* e) {
    if (!active) return 2;
    if (!e) return 1;
    if (e->type == SL_MENUBACK || e->type == SL_MENUBACK + 1)
        return ForwardToCtl(e, m_def.cancelId) ? 0 : 1;
    if (!IsClick(e)) return 1;
    const intptr_t id = e->a;
    if (id == m_def.tabId) return SwitchTab();
    for (int i = 0; i < 2; ++i)
        if (id == m_def.sliders[i].id) {
            SliderChanged(i);
            return 0;
        }
    if (id == m_def.okId || id == m_def.cancelId) return Close();
    return 1;
}

void MenuOptionsPage::SliderChanged(int which) {
    Slider* s = SliderAt(which);
    MtGame* g = Game();
    if (!s || !g) return;
    const OptionsSliderDef& def = m_def.sliders[which];
    g->prefs.*def.field = OptionsPrefValue(s->GetValue(), def.fallback);
    MtGameApplyPrefs(g);
}

// ---- leaving ----

int MenuOptionsPage::Close() {
    if (ENTBASE* back = Caller()) {
        back->SetActive();
        EntDestroyTree(this);
        return 0;
    }
    ENTBASE* parent = EntGetParent(this);
    if (m_returnTo[0] && MenuOpen(m_returnTo, parent, nullptr)) {
        EntDestroyTree(this);
        return 0;
    }
    // Neither a caller nor a menu to return to: the page would stay for good.
    DbgPrintf(DBG_GENERAL, "%s: cannot return to \"%s\"; opening %s\n", m_def.className, m_returnTo,
              kOptionsFallbackClass);
    if (!MenuOpen(kOptionsFallbackClass, parent, nullptr)) return 1;
    EntDestroyTree(this);
    return 0;
}

int MenuOptionsPage::SwitchTab() {
    MenuOptionsPage* other =
        MenuOptionsPageOpen(m_def.otherClass, m_def.otherFullScreen, EntGetParent(this), m_returnTo,
                            m_builtFullScreen ? 1 : 0, Caller());
    if (!other) return 1;
    EntDestroyTree(this);
    return 0;
}

MenuOptionsPage* MenuOptionsPageOpen(const char* className, uint8_t* fullScreenByte,
                                     ENTBASE* parent, const char* returnTo, int fullScreen,
                                     ENTBASE* caller) {
    if (fullScreenByte) *fullScreenByte = fullScreen ? 1 : 0;
    ENTBASE* made = EntCreateChild(className, parent);
    if (!made) return nullptr;
    auto* page = dynamic_cast<MenuOptionsPage*>(made);
    if (!page) {
        EntDestroyTree(made);
        return nullptr;
    }
    page->SetReturn(returnTo, caller);
    page->Start();
    return page;
}
