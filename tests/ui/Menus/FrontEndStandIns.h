// Recording stand-ins for the screens the front end and the pause menu open (the sandbox, career,
// options and save screens, the in-game exit question, the HUD: what is handed to them counts
// here, their own tests use the real ones),
// and the fixture the front-end screen tests share: the interface harness with the real game
// object, the stand-ins registered, a 1/60 s frame, and lookups under "Menus".
#pragma once

#include "tests/harness/UiHarness.h"
#include "ui/Menu3Base.h"

#include <cstdint>
#include <string>
#include <vector>

// What one stand-in was opened with.
struct StandInRecord {
    std::string className;
    ENTBASE* returnMenu = nullptr;
    std::string returnClass;
    int flag = -1; // the byte behind out[0]; -1 when none was given
};
extern std::vector<StandInRecord> g_standIns;

// A screen of one of the stand-in classes: named after its class (the exit question
// "InGameConfirmExit"), it records the arguments it was opened with and the events it hears.
class StandInMenu : public Menu3Base {
  public:
    explicit StandInMenu(const char* className) : m_class(className) {}
    const char* GetTypeName() override { return m_class; }
    int Create(EntNode* node) override;
    void SetOpenArgs(const MenuOpenArgs& args) override;
    int OnMessage(const SlEvent* event) override;
    // What a dialog does when it closes: the caller active again, this screen gone.
    void Close();

    std::vector<SlEvent> heard;
    ENTBASE* caller = nullptr;

  private:
    const char* m_class;
};

// The HUD's stand-in ("MenuGameRunning"): Escape or a pad's start button opens the pause menu
// over it and makes it inactive, as the HUD does.
class HudStandIn : public StandInMenu {
  public:
    HudStandIn() : StandInMenu("MenuGameRunning") {}
    int OnMessage(const SlEvent* event) override;
};

// Registers every stand-in class; `skip` names one left out (its creation then fails).
void RegisterFrontEndStandIns(const std::string& skip = "");
// A class of that name whose creation always fails, as an unregistered class's would; it wins
// over the real one when registered first.
void RegisterRefusedClass(const char* className);

class FrontEndTest : public UiTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The harness with `body` run by Startup.lua; the real game object and the stand-ins are
    // registered first (and whatever `extraFirst` registers before them).
    void StartFrontEnd(const std::string& body = "");
    // Creates the class under "Menus" from Startup.lua and starts it.
    void StartWith(const char* className);
    // Frames of 1/60 s each (16 or 17 ms, 1/60 s on average).
    void StepSixtieth(int frames = 1);
    // The menu of that class under "Menus" (its type name), or null.
    Menu3Base* FindClass(const char* className);
    // The first menu under "Menus" that is not the harness's test menu.
    Menu3Base* Screen();
    // Number of "Menu: ..." lines for that text in the log.
    int LogCount(const std::string& text) const;
    // Key down and up with a 1/60 s frame after each.
    void Press(SDL_Scancode code);
    // The control event a click on a menu's control posts.
    static void PostClick(int32_t id);

    // Writes a file of the test's own into Data/ (a path with "/"), in place of the build's:
    // the folders on its way stop being links to the build's data and link its other entries.
    void ShadowDataFile(const std::string& path, const std::string& text);
    // The same, with the file left out.
    void HideDataFile(const std::string& path);
    // Starts from a Startup.lua of the test's own (the shipped one or a copy), logging to the
    // test's log; no harness classes are registered.
    void StartShipped(const std::string& startup);

    std::function<void()> extraFirst;
    std::string skipStandIn;
    uint64_t m_sixtiethUs = 0;
};
