// The menu framework on the recording device: the order a concrete menu is built in, how menus
// take input (active, inactive, a handler that replaced its menu), opening and spawning, the
// lookups and links, the inspector panel, the fade-out and the menu scripts' faults.
#include "tests/I3d/KernelFixture.h"
#include "tests/ui/MenuTestMenus.h"

#include "I3d/Font.h"
#include "engine/Ent3d/Ent3dBase.h"
#include "engine/EntTree.h"
#include "engine/FrameClock.h"
#include "engine/Input/SlInput.h"
#include "engine/Script/ScriptMgr.h"
#include "engine/SharedObj.h"
#include "tests/support/TestSupport.h"
#include "ui/GraphicButton.h"
#include "ui/StaticGraphic.h"
#include "ui/StaticText.h"
#include "ui/TextButton.h"
#include "world/CameraVantor1.h"
#include "world/EntNull.h"

#include <lua.hpp>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {
// A control that counts the input it hears and passes it on.
class HearCtl : public Ctl3Base {
  public:
    int OnMessage(const SlEvent*) override {
        ++heard;
        return 1;
    }
    int heard = 0;
};

intptr_t HearCtlProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    switch (message) {
        case ENT_CLASS_MSG_BUILD_DB: return 0;
        case ENT_CLASS_MSG_CLASS_NAME:
            std::snprintf(reinterpret_cast<char*>(b), 64, "HearCtl");
            return 0;
        case ENT_CLASS_MSG_CREATE: return EntProcCreate(node, new HearCtl, nullptr);
        default: return EntProcForward(node, message, a, b, c);
    }
}

// Counts what the tree tells it is removed.
class Listener : public ENTBASE {
  public:
    int OnEntityRemoved(ENTBASE* gone) override {
        removed.push_back(gone);
        return 1;
    }
    std::vector<ENTBASE*> removed;
};

intptr_t ListenerProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    switch (message) {
        case ENT_CLASS_MSG_BUILD_DB: return 0;
        case ENT_CLASS_MSG_CLASS_NAME:
            std::snprintf(reinterpret_cast<char*>(b), 64, "Listener");
            return 0;
        case ENT_CLASS_MSG_CREATE: return EntProcCreate(node, new Listener, nullptr);
        default: return EntProcForward(node, message, a, b, c);
    }
}

// A menu that keeps the focus id it is given.
class FocusMemoryMenu : public Menu3Base {
  public:
    void SaveFocusId(int32_t id) override { saved = id; }
    int32_t GetSavedFocusId() override { return saved; }
    int32_t saved = 1234;
};

intptr_t FocusMemoryProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    switch (message) {
        case ENT_CLASS_MSG_BUILD_DB: return 0;
        case ENT_CLASS_MSG_CLASS_NAME:
            std::snprintf(reinterpret_cast<char*>(b), 64, "FocusMemoryMenu");
            return 0;
        case ENT_CLASS_MSG_CREATE: return EntProcCreate(node, new FocusMemoryMenu, nullptr);
        default: return EntProcForward(node, message, a, b, c);
    }
}

const char* const kScripts[] = {"MenuTestA.lua", "NoCreate.lua", "RaiseInCreate.lua",
                                "WaitInCreate.lua", "Plain.lua"};
const char* const kFonts[] = {"Georgia_20", "Georgia_16", "Georgia_14"};

class MenuFrameworkTest : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartRecordingDevice();
        CreateCurrentPair();
        ASSERT_EQ(I3dTexTableAlloc(64), 0);
        EntSystemInit();
        ScriptMgrDestroy();
        for (EntClassProc proc : {EcNullProc, EcGraphicButtonProc, EcTextButtonProc,
                                  EcStaticTextProc, EcStaticGraphicProc, HearCtlProc, ListenerProc,
                                  FocusMemoryProc, MenuTestAProc, MenuTestBProc, MenuTestCProc})
            ASSERT_EQ(EntCreateClass(proc, 0, 0), 0);
        m_oldData = Ctl3DataFolder();
        for (const char* s : kScripts)
            WriteTextFile(
                m_data / (std::string("Menu/Test/") + s),
                ReadTextFile(std::string(FAIRLARK_SOURCE_DIR "/tests/data/ui/Menu/Test/") + s));
        Ctl3SetDataFolder(m_data.Path().c_str());
        for (const char* f : kFonts)
            if (Font* font =
                    FontAcquire((std::string(FAIRLARK_BUILD_DATA_DIR "Fonts/") + f).c_str()))
                m_fonts.push_back(font);
        g_menuTestScript = "Menu\\Test\\MenuTestA.lua";
        m_oldSeconds = g_frameSeconds;
        root = EntCreateChild("ENTNULL", nullptr);
        menus = EntCreateChild("ENTNULL", root);
        ASSERT_TRUE(root && menus);
        menus->SetName("Menus");
        SlEventQueueClear();
    }
    void TearDown() override {
        SlEventQueueClear();
        if (root) EntDestroyTree(root);
        ScriptMgrDestroy();
        EntSystemShutdown();
        for (Font* f : m_fonts)
            SharedObjRelease(f);
        Ctl3SetDataFolder(m_oldData.c_str());
        g_frameSeconds = m_oldSeconds;
        g_menuTestScript = "Menu\\Test\\MenuTestA.lua";
        g_menuTestNext = "MenuTestB";
        I3dTexTableFree();
        KernelTest::TearDown();
    }

    template <class T = Menu3Base>
    T* Open(const char* cls, const MenuOpenArgs* args = nullptr) {
        return dynamic_cast<T*>(MenuOpen(cls, menus, args));
    }
    static intptr_t Send(ENTBASE* to, int32_t type, intptr_t a = 0, intptr_t b = 0) {
        SlEvent e{type, a, b, 0};
        return EntTreeSendMessage(to, &e);
    }
    // The queued events, taken out.
    static std::vector<std::pair<intptr_t, intptr_t>> Posted() {
        std::vector<std::pair<intptr_t, intptr_t>> out;
        SlEvent e;
        while (SlGetEvent(&e) == 0)
            if (e.type == CTL3_EVENT) out.emplace_back(e.a, e.b);
        return out;
    }
    // Delivers the queued events to the tree as a frame does.
    void Pump() {
        SlEvent e;
        while (SlGetEvent(&e) == 0)
            EntTreeSendMessage(root, &e);
    }
    static double Global(const char* name) {
        lua_State* L = ScriptMgrGet()->L;
        lua_getglobal(L, name);
        const double v = lua_isnumber(L, -1) ? lua_tonumber(L, -1) : -999.0;
        lua_pop(L, 1);
        return v;
    }
    static int ScriptCount() {
        int n = 0;
        for (LuaScript* s = ScriptMgrGet()->scripts; s; s = s->next)
            ++n;
        return n;
    }
    int MenusCount() const {
        int n = 0;
        for (EntNode* c = menus->node->firstChild; c; c = c->next)
            n += c->deleteCount == 0;
        return n;
    }
    template <class T>
    T* Make(const char* cls, ENTBASE* parent) {
        return dynamic_cast<T*>(EntCreateChild(cls, parent));
    }

    ENTBASE* root = nullptr;
    ENTBASE* menus = nullptr;
    TempDir m_data;

  private:
    std::string m_oldData;
    std::vector<Font*> m_fonts;
    float m_oldSeconds = 0.0f;
};

// ---- creation ----

TEST_F(MenuFrameworkTest, ConcreteMenuIsBuiltInOrder) {
    SlPostEvent(99, 1, 2);
    auto* a = Open<MenuTestA>("MenuTestA");
    ASSERT_TRUE(a);
    EXPECT_EQ(Posted(), (std::vector<std::pair<intptr_t, intptr_t>>{{0, CTL3_FOCUS}}))
        << "an event queued before the menu was made reached it, or the focus went unposted";
    EXPECT_EQ(Global("seenStatic"), -1.0);
    EXPECT_EQ(Global("seenA"), 0.0);
    EXPECT_EQ(Global("seenB"), 1.0);
    EXPECT_EQ(Global("seenC"), 2.0);
    lua_State* L = ScriptMgrGet()->L;
    lua_getglobal(L, "seenMenu");
    EXPECT_EQ(lua_touserdata(L, -1), static_cast<void*>(a))
        << "the script's Create got another menu";
    lua_pop(L, 1);
    ASSERT_TRUE(a->FindCtl(kTestNextId)) << "the kit's controls were not built after the script";
    EXPECT_TRUE(Ctl3IsFocused(a->FindCtl(kTestNextId)));
    EXPECT_STREQ(a->GetName(), "MenuTestA");
    EXPECT_NE(LogText().find("Menu: MenuTestA (MenuTestA)\n"), std::string::npos);
    EXPECT_TRUE(a->active && a->shown);
    EXPECT_EQ(a->alpha, 1.0f);
}

TEST_F(MenuFrameworkTest, OpenerHandsOverArgumentsAndRefusesUnknownClasses) {
    auto* b = Open<MenuTestB>("MenuTestB");
    ASSERT_TRUE(b);
    EXPECT_EQ(MenuOpen("MenuNotRegistered", menus, nullptr), nullptr);
    EXPECT_EQ(MenuOpen("ENTNULL", menus, nullptr), nullptr) << "a class that is no menu was kept";
    EXPECT_EQ(MenusCount(), 1) << "a refused opener left something behind";
    MenuOpenArgs args;
    args.returnMenu = b;
    args.out[0] = &b->answer;
    auto* c = Open<MenuTestC>("MenuTestC", &args);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->caller, b);
    EXPECT_EQ(c->answer, &b->answer);
}

// ---- messages ----

TEST_F(MenuFrameworkTest, InactiveMenuSkipsOwnControlsButNotLaterMenusOrCursor) {
    auto* first = Open("FocusMemoryMenu"); // the base's own OnMessage
    auto* dialog = Open("MenuTestC");
    ASSERT_TRUE(first && dialog);
    auto* firstCtl = Make<HearCtl>("HearCtl", first);
    auto* dialogCtl = Make<HearCtl>("HearCtl", dialog);
    auto* cursor = Make<HearCtl>("HearCtl", root); // after "Menus", as the cursor is
    ASSERT_TRUE(firstCtl && dialogCtl && cursor);
    EXPECT_EQ(Send(root, 21), 1);
    EXPECT_EQ(firstCtl->heard, 1) << "an active menu kept an event from its controls";
    first->ClearActive();
    EXPECT_EQ(Send(root, 21), 1);
    EXPECT_EQ(firstCtl->heard, 1) << "an inactive menu's controls still took input";
    EXPECT_EQ(dialogCtl->heard, 2) << "the inactive caller blocked its own dialog";
    EXPECT_EQ(cursor->heard, 2) << "the inactive caller froze the cursor";
}

TEST_F(MenuFrameworkTest, HandlerThatReplacedItsMenuStopsTheWalk) {
    auto* a = Open("MenuTestA");
    auto* cursor = Make<HearCtl>("HearCtl", root);
    ASSERT_TRUE(a && cursor);
    const uint64_t serial = EntSerialOf(a);
    EXPECT_EQ(Send(root, CTL3_EVENT, kTestNextId, CTL3_CLICK), 0);
    EXPECT_EQ(cursor->heard, 0) << "the walk went on after the menu was replaced";
    EXPECT_FALSE(EntIsLiveSerial(a, serial));
    ASSERT_EQ(MenusCount(), 1);
    EXPECT_TRUE(EntTreeFindName(menus, "MenuTestB"));
    // Codes other than a click pass.
    auto* b = EntTreeFindName(menus, "MenuTestB");
    EXPECT_EQ(Send(b, CTL3_EVENT, kTestAskId, CTL3_PRESS), 1);
}

// ---- spawning ----

TEST_F(MenuFrameworkTest, SpawnReplacesTheMenuOrLeavesItInPlace) {
    auto* a = Open("MenuTestA");
    ASSERT_TRUE(a);
    const uint64_t serial = EntSerialOf(a);
    a->SetNextClass("MenuNotRegistered");
    EXPECT_EQ(a->SpawnChildClass(), nullptr);
    ASSERT_TRUE(EntIsLiveSerial(a, serial)) << "a menu that could not spawn destroyed itself";
    EXPECT_TRUE(a->FindCtl(kTestNextId));
    g_menuTestNext = "MenuNotRegistered";
    auto* cursor = Make<HearCtl>("HearCtl", root);
    ASSERT_TRUE(cursor);
    EXPECT_EQ(Send(root, CTL3_EVENT, kTestNextId, CTL3_CLICK), 1)
        << "a click whose menu could not be opened must pass on";
    g_menuTestNext = "MenuTestB";
    EXPECT_EQ(cursor->heard, 1);
    ASSERT_TRUE(EntIsLiveSerial(a, serial));
    EXPECT_TRUE(a->active);
    a->SetNextClass("MenuTestB");
    ENTBASE* b = a->SpawnChildClass();
    ASSERT_TRUE(b);
    EXPECT_FALSE(EntIsLiveSerial(a, serial));
    EXPECT_EQ(EntGetParent(b), menus);
    EXPECT_EQ(MenusCount(), 1);
}

TEST_F(MenuFrameworkTest, ConfirmationChoicesOpenAlternateNextOrNothing) {
    struct Case {
        int32_t index;
        const char* opens;
    } cases[] = {{0, "MenuTestC"}, {1, "MenuTestB"}, {2, nullptr}, {-1, nullptr}};
    for (const Case& k : cases) {
        auto* m = Open("MenuTestA");
        ASSERT_TRUE(m);
        m->SetAltClass("MenuTestC");
        m->SetNextClass("MenuTestB");
        ENTBASE* made = m->SpawnChoice(k.index);
        if (k.opens) {
            ASSERT_TRUE(made) << k.index;
            EXPECT_STREQ(made->GetName(), k.opens) << k.index;
        } else {
            EXPECT_EQ(made, nullptr) << k.index;
        }
        EntDestroyChildren(menus);
    }
}

// ---- lookups and links ----

TEST_F(MenuFrameworkTest, LookupsLinksAndFocus) {
    auto* m = Open<FocusMemoryMenu>("FocusMemoryMenu");
    ASSERT_TRUE(m);
    auto* first = Make<HearCtl>("HearCtl", m);
    auto* twin = Make<HearCtl>("HearCtl", m);
    auto* other = Make<HearCtl>("HearCtl", m);
    first->id = 5;
    twin->id = 5;
    other->id = 6;
    EXPECT_EQ(m->FindCtl(5), first) << "not the first match in child order";
    EXPECT_EQ(m->FindCtl(7), nullptr);

    EXPECT_TRUE(m->LinkCtlNav(5, 6, 99, 6, 99));
    EXPECT_EQ(first->navLinks[0], other);
    EXPECT_EQ(first->navLinks[1], nullptr) << "an unknown id linked something";
    EXPECT_TRUE(m->LinkCtlNav(99, 5, 5, 5, 5));

    EXPECT_TRUE(m->FocusCtl(6));
    EXPECT_TRUE(Ctl3IsFocused(other));
    EXPECT_FALSE(m->FocusCtl(99));
    EXPECT_EQ(Ctl3GetFocus(), nullptr) << "an unknown id kept the old focus";

    m->RememberFocus();
    EXPECT_EQ(m->saved, -1) << "no focus must save -1";
    m->RestoreFocus(first);
    EXPECT_EQ(Ctl3GetFocus(), first) << "-1 saved: the default control gets the focus";
    m->saved = 6;
    m->RestoreFocus(first);
    EXPECT_EQ(Ctl3GetFocus(), other);
    m->saved = 42;
    m->RestoreFocus(first);
    EXPECT_EQ(Ctl3GetFocus(), first) << "an id no control has falls back to the default";
    m->RememberFocus();
    EXPECT_EQ(m->saved, 5);

    EXPECT_FALSE(m->SetCtlChecked(99, true));
    EXPECT_TRUE(m->SetCtlChecked(6, true));
    EXPECT_EQ(m->GetCtlChecked(6), 1);
    EXPECT_EQ(m->GetCtlChecked(99), 0);

    first->rect = {10, 10, 50, 50};
    twin->rect = {10, 10, 50, 50};
    first->enabled = 0;
    EXPECT_EQ(m->CtlAtPoint(20, 20), first);
    EXPECT_EQ(m->EnabledCtlAtPoint(20, 20), twin);
    EXPECT_EQ(m->CtlAtPoint(60, 20), nullptr);

    const std::string longName(70, 'x');
    m->SetNextClass(longName.c_str());
    m->SetAltClass(longName.c_str());
    EXPECT_EQ(std::string(m->nextClass), longName.substr(0, 63));
    EXPECT_EQ(std::string(m->altClass), longName.substr(0, 63));
    m->SetNextClass(nullptr);
    EXPECT_STREQ(m->nextClass, "");
}

TEST_F(MenuFrameworkTest, BackKeyIsForwardedToTheButton) {
    auto* b = Open("MenuTestB");
    ASSERT_TRUE(b);
    b->FocusCtl(kTestAskId);
    SlEventQueueClear();
    SlEvent down{50, 0, 0, 0}, up{51, 0, 0, 0}, other{48, 0, 0, 0};
    EXPECT_EQ(b->ForwardToCtl(&down, kTestBackId), 1);
    EXPECT_EQ(b->ForwardToCtl(&up, kTestBackId), 1);
    using Events = std::vector<std::pair<intptr_t, intptr_t>>;
    EXPECT_EQ(Posted(), (Events{{kTestBackId, CTL3_FOCUS},
                                {kTestBackId, CTL3_PRESS},
                                {kTestBackId, CTL3_RELEASE},
                                {kTestBackId, CTL3_CLICK}}));
    EXPECT_EQ(b->ForwardToCtl(&other, kTestBackId), 0);
    EXPECT_EQ(b->ForwardToCtl(&down, 77), 0);
    EXPECT_EQ(b->ForwardToCtl(nullptr, kTestBackId), 0);
    EXPECT_TRUE(Posted().empty()) << "an event that was not forwarded posted something";
}

// ---- the inspector panel ----

TEST_F(MenuFrameworkTest, InspectorPanelAndTexts) {
    auto* m = Open("MenuTestC");
    ASSERT_TRUE(m);
    Ctl3Rect r{};
    auto* panel =
        dynamic_cast<StaticGraphic*>(MenuAddBackground(320, 360, 1001, 1003, 1010, m, &r));
    ASSERT_TRUE(panel);
    EXPECT_STREQ(panel->GetName(), "Background");
    EXPECT_EQ(panel->id, -1);
    EXPECT_EQ(panel->pos.x, 672.0f);
    EXPECT_EQ(panel->pos.y, 376.0f);
    EXPECT_EQ(panel->width, 320.0f);
    EXPECT_EQ(panel->height, 360.0f);
    EXPECT_EQ(panel->colour, 0xAF8F0000u);
    EXPECT_EQ(panel->uv.right, 0.5625f);
    EXPECT_EQ(panel->uv.bottom, 0.8359375f);
    Ctl3Base* title = m->FindCtl(1001);
    ASSERT_TRUE(title);
    EXPECT_EQ(title->pos.x, 680.0f);
    EXPECT_EQ(title->pos.y, 384.0f);
    EXPECT_EQ(std::u16string(title->label), u"Name");
    Ctl3Base* ok = m->FindCtl(1003);
    Ctl3Base* view = m->FindCtl(1010);
    ASSERT_TRUE(ok && view);
    EXPECT_EQ(ok->pos.x, 680.0f);
    EXPECT_EQ(ok->pos.y, 672.0f);
    EXPECT_EQ(view->pos.x, 776.0f);
    EXPECT_EQ(view->pos.y, 672.0f);
    EXPECT_EQ(r.left, 680.0f);
    EXPECT_EQ(r.top, 384.0f);
    EXPECT_EQ(r.right, 984.0f);
    EXPECT_EQ(r.bottom, 728.0f);
    EXPECT_TRUE(MenuAddBackground(100, 100, 1, 2, 3, m, nullptr)) << "no out rectangle is fine";

    Ctl3Base* empty = MenuAddText(10, 20, 55, m);
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->id, -1) << "MenuAddText gave its control the id it was passed";
    EXPECT_EQ(empty->pos.x, 10.0f);
    Ctl3Base* value = MenuAddTextAt(u"Cash:", 30, 40, m);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->pos.x, 130.0f);
    EXPECT_EQ(value->pos.y, 40.0f);
    EXPECT_EQ(std::u16string(value->label), u"...");
    Ctl3Base* right = MenuAddTextRight(u"Riders:", 50, m);
    ASSERT_TRUE(right);
    EXPECT_EQ(right->pos.x, 712.0f);
    auto* label =
        dynamic_cast<Ctl3Base*>(EntGetParent(right) ? right->node->prev->object : nullptr);
    ASSERT_TRUE(label);
    EXPECT_EQ(label->pos.x, 620.0f);
    EXPECT_EQ(std::u16string(label->label), u"Riders:");
    EXPECT_EQ(MenuAddText(1, 1, 1, nullptr), nullptr);
}

// ---- aiming the management camera ----

struct FlyCall {
    ENTBASE* camera = nullptr;
    VECTOR3 target{};
    float yaw = 0, pitch = 0, distance = 0;
    int calls = 0;
};
FlyCall s_fly;

class FakeVantor : public ENTBASE {
  public:
    const char* GetTypeName() override { return "CameraVantor1"; }
};
class Placed : public ENTBASE {
  public:
    VECTOR3* GetPos() override { return &where; }
    VECTOR3 where{3, 4, 5};
};

intptr_t FakeVantorProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    switch (message) {
        case ENT_CLASS_MSG_BUILD_DB: return 0;
        case ENT_CLASS_MSG_CLASS_NAME:
            std::snprintf(reinterpret_cast<char*>(b), 64, "FakeVantor");
            return 0;
        case ENT_CLASS_MSG_CREATE: return EntProcCreate(node, new FakeVantor, nullptr);
        default: return EntProcForward(node, message, a, b, c);
    }
}

TEST_F(MenuFrameworkTest, AimingMovesOnlyTheCameraTarget) {
    ASSERT_EQ(EntCreateClass(FakeVantorProc, 0, 0), 0);
    s_fly = {};
    CameraFlyToFn old = CameraVantorGetFlyTo();
    CameraVantorSetFlyTo([](ENTBASE* cam, const VECTOR3* t, float yaw, float pitch, float dist) {
        s_fly = {cam, *t, yaw, pitch, dist, s_fly.calls + 1};
    });
    auto* camera = Make<FakeVantor>("FakeVantor", root);
    ASSERT_TRUE(camera);
    auto* thing = new Placed;
    MenuAimMainCamera(root, thing);
    MenuAimMainCamera(root, nullptr);
    MenuAimMainCamera(nullptr, thing);
    CameraVantorSetFlyTo(old);
    delete thing;
    EXPECT_EQ(s_fly.calls, 1);
    EXPECT_EQ(s_fly.camera, camera);
    EXPECT_EQ(s_fly.target.x, 3.0f);
    EXPECT_EQ(s_fly.yaw, -1.0f) << "a yaw other than -1 turns the camera as well";
    EXPECT_FLOAT_EQ(s_fly.pitch, 0.7853982f);
    EXPECT_EQ(s_fly.distance, 40.0f);
}

TEST_F(MenuFrameworkTest, AimingTheRealCameraKeepsItsView) {
    CameraFlyToFn old = CameraVantorGetFlyTo();
    ASSERT_EQ(EntCreateClass(EcCameraVantor1Proc, 0, 0), 0);
    CameraVantorSetFlyTo(CameraVantorFlyTo); // as the application wires it
    auto* camera = Make<CameraVantor1>("CameraVantor1", root);
    ASSERT_TRUE(camera);
    camera->yaw = 1.25f;
    camera->pitch = 0.5f;
    camera->distance = 12.0f;
    Placed thing;
    MenuAimMainCamera(root, &thing);
    CameraVantorSetFlyTo(old);
    EXPECT_EQ(camera->targetPoint.x, 3.0f);
    EXPECT_EQ(camera->targetPoint.y, 4.0f);
    EXPECT_EQ(camera->targetPoint.z, 5.0f);
    EXPECT_EQ(camera->yaw, 1.25f) << "aiming turned the camera";
    EXPECT_EQ(camera->pitch, 0.5f);
    EXPECT_EQ(camera->distance, 12.0f);
}

// ---- closing ----

TEST_F(MenuFrameworkTest, ShutdownFadesThenDestroys) {
    auto* listener = Make<Listener>("Listener", root);
    auto* m = Open("MenuTestA");
    ASSERT_TRUE(listener && m);
    const uint64_t serial = EntSerialOf(m);
    m->fadeTime = 0.5f;
    m->Shutdown();
    EXPECT_FALSE(m->active);
    g_frameSeconds = 0.25f;
    EntTreeUpdate(root, 0.25f);
    ASSERT_TRUE(EntIsLiveSerial(m, serial)) << "the menu went before its fade ended";
    EntTreeUpdate(root, 0.25f);
    EXPECT_FALSE(EntIsLiveSerial(m, serial)) << "the faded menu stayed";
    ASSERT_FALSE(listener->removed.empty());
    EXPECT_EQ(listener->removed.back(), m) << "the tree was not told of the menu's end";

    auto* now = Open("MenuTestA");
    ASSERT_TRUE(now);
    const uint64_t nowSerial = EntSerialOf(now);
    now->Shutdown();
    EXPECT_FALSE(EntIsLiveSerial(now, nowSerial)) << "no fade time: the menu must go at once";
    EXPECT_EQ(MenusCount(), 0);
}

// ---- scripts ----

TEST_F(MenuFrameworkTest, BrokenScriptsNeverRunAnotherMenusCreate) {
    ASSERT_TRUE(Open("MenuTestA"));
    ASSERT_EQ(Global("createCalls"), 1.0);
    WriteTextFile(m_data / "Menu/Test/Empty.lua", "");
    WriteTextFile(m_data / "Menu/Test/Binary.lua", std::string("\x1bLua\x54\x00\xff\xfe\x01", 9));
    struct Case {
        const char* script;
        const char* stderrText; // null: nothing is reported
    } cases[] = {{"Menu\\Test\\Missing.lua", "LuaScript Compile/Load Error"},
                 {"Menu\\Test\\Binary.lua", "Syntax Error"},
                 {"Menu\\Test\\Empty.lua", nullptr},
                 {"Menu\\Test\\NoCreate.lua", nullptr},
                 {"Menu\\Test\\RaiseInCreate.lua", "LuaScript Runtime Error"}};
    for (const Case& k : cases) {
        g_menuTestScript = k.script;
        testing::internal::CaptureStderr();
        Menu3Base* m = Open("MenuTestA");
        const std::string err = testing::internal::GetCapturedStderr();
        ASSERT_TRUE(m) << k.script;
        EXPECT_EQ(Global("createCalls"), 1.0) << k.script << ": the last menu's Create ran again";
        EXPECT_TRUE(m->FindCtl(kTestNextId)) << k.script << ": the menu lost its controls";
        EXPECT_STREQ(m->GetName(), "MenuTestA");
        if (k.stderrText) {
            EXPECT_NE(err.find(k.stderrText), std::string::npos) << k.script << err;
        }
        EntDestroyTree(m);
    }
}

TEST_F(MenuFrameworkTest, MenuScriptsAreFreedWithTheirMenus) {
    ScriptMgrUpdate(0.0f);
    const int before = ScriptCount();
    for (int i = 0; i < 100; ++i) {
        Menu3Base* m = Open("MenuTestA");
        ASSERT_TRUE(m);
        EntDestroyTree(m);
    }
    ScriptMgrUpdate(0.0f);
    EXPECT_EQ(ScriptCount(), before) << "finished menu scripts piled up in the script manager";
}

TEST_F(MenuFrameworkTest, WaitingScriptNeverResumesAfterItsMenuGoes) {
    g_menuTestScript = "Menu\\Test\\WaitInCreate.lua";
    Menu3Base* m = Open("MenuTestA");
    ASSERT_TRUE(m);
    EXPECT_EQ(Global("waitCreateCalls"), 1.0) << "a Create defined before the wait was not called";
    for (int i = 0; i < 10; ++i)
        ScriptMgrUpdate(0.02f);
    ASSERT_TRUE(m->script);
    EXPECT_EQ(m->script->mode, SCRIPT_WAIT_FRAMES) << "the script did not reach its wait";
    EntDestroyTree(m);
    for (int i = 0; i < 200; ++i)
        ScriptMgrUpdate(0.02f);
    EXPECT_EQ(Global("resumedAfterWait"), -999.0) << "the script resumed after its menu was freed";
}

} // namespace
