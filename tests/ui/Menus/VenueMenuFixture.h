// The venue road's screens in the running game: the interface harness with the real game object
// (its data the build's, or a small venue list of the test's), the four screens registered by
// the start-up script, and recording doubles for the screens other people build (the main
// menu, the file list dialogs, the career summary and the in-game screen).
#pragma once

#include "tests/harness/UiHarness.h"
#include "ui/Menu3Base.h"

#include <cstdint>
#include <string>
#include <vector>

class MtGame;

// What a double saw when it was made.
struct VenueOpened {
    std::string cls;
    std::string returnClass; // from the opener's arguments
    int frame = 0;           // the fixture's frame count at its creation
};
extern std::vector<VenueOpened> g_venueOpened;

// A screen someone else builds: records its opening and names itself after its class (the main
// menu "MainMenu", as the real one does).
class VenueScreenDouble : public Menu3Base {
  public:
    explicit VenueScreenDouble(const char* className) : cls(className) {}
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return cls.c_str(); }
    int Create(EntNode* node) override;
    void SetOpenArgs(const MenuOpenArgs& args) override;
    std::string cls;
};

class VenueMenuTest : public UiTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A venue list of `count` venues in the data folder instead of the shipped one: "Venue <i>",
    // rent (i + 1) x 10000 + 99 cents, unlock price (i + 1) x 100000, every script `script`.
    void WriteVenues(int count, const std::string& script = "Venues\\Default\\World.lua");
    // One venue per script, in order.
    void WriteVenueScripts(const std::vector<std::string>& scripts);
    // A file in the data folder's "LoaderTests\" (never in the build's own folders, which the
    // data folder links to); returns its name in the data folder.
    std::string WriteTestScript(const char* file, const std::string& text);
    // Starts the game (real game object, doubles) in `mode`.
    void StartVenues(int32_t mode = 1);
    // Frames of 20 ms, counted.
    void Frames(int n = 1);
    void TapKey(SDL_Scancode code);
    // Moves to the control's centre, then presses and releases the button, a frame each.
    void ClickOn(Ctl3Base* control);
    void ClickAt(float x, float y);

    MtGame* Game();
    Menu3Base* Find(const char* name);
    Ctl3Base* Ctl(const char* menu, int32_t id);
    bool Opened(const char* cls);
    int OpenedCount(const char* cls);

    int frame = 0;
};

// The labels of the menu's controls, in child order.
std::vector<std::u16string> VenueLabels(Menu3Base* menu);
bool VenueHasLabel(Menu3Base* menu, const std::u16string& text);
// How many of the entity's children are not marked for deletion.
int LiveChildren(ENTBASE* entity);
inline std::u16string VenueLabel(Ctl3Base* control) {
    return control ? std::u16string(control->label) : u"<none>";
}
// Shown and enabled: what the screens do to a control the player may use.
inline bool VenueLive(Ctl3Base* control) {
    return control && control->visible && control->enabled;
}
