// What the two option pages share: the panel, the current tab's picture and the other tab's
// button, OK and Cancel, two preference sliders that write the game's preferences and apply them
// at once, the switch to the other page and the close. Not a class of its own: only the audio
// and video pages are created by name.
#pragma once

#include "ui/Menu3Base.h"

#include <cstdint>

class MtGame;
class Prefs;
class Slider;

// One slider of a page: the control, where it ends, and the preference it edits.
struct OptionsSliderDef {
    int32_t id;
    const char16_t* label;
    int x, y;
    float Prefs::*field;
    float fallback; // the field's default: what a NaN shows and writes
};

// The tab button that opens the other page, or the picture of the current one.
struct OptionsTabDef {
    const char* name;
    float x, y;
    const char* texture;
    int32_t right, bottom; // the button's cell from (0, 0)
    float width, height;   // the picture's size
    float uvRight, uvBottom;
};

struct OptionsPageDef {
    const char* className; // the page's class, and the entity class of the other page
    const char* otherClass;
    const char* menuName;
    const char* script;
    const char* const* names; // registered after "C_STATIC"
    int nameCount;
    uint8_t* fullScreen; // the page's process-wide byte
    uint8_t* otherFullScreen;
    int32_t tabId; // the other page's tab button
    OptionsTabDef tabButton;
    OptionsTabDef tabPicture;
    OptionsSliderDef sliders[2]; // upper, lower
    int32_t okId, cancelId;
};

// The menu the pages fall back to when they have neither a caller nor a class to return to.
inline constexpr const char* kOptionsFallbackClass = "MenuMain";
// Where the other OK and Cancel screens put Cancel; the page builds it there when its script did
// not add one.
inline constexpr float kOptionsCancelX = 332.0f, kOptionsCancelY = 533.0f;
inline constexpr float kOptionsOkX = 582.0f, kOptionsOkY = 533.0f;
inline constexpr int kOptionsSliderTrack = 200;

class MenuOptionsPage : public Menu3Base {
  public:
    explicit MenuOptionsPage(const OptionsPageDef& def) : m_def(def) {}

    int Create(EntNode* node) override;
    int OnMessage(const SlEvent* event) override;
    // Through MenuOpen: the return-to class and the caller. Those openers have no full-screen
    // argument: the front end opens the pages without a caller and the game with one, so the
    // background follows the caller (none: drawn). A page built the other way is built again.
    void SetOpenArgs(const MenuOpenArgs& args) override;

    // What the openers hand over; the caller is kept with its serial, so a caller gone since is
    // no caller.
    void SetReturn(const char* className, ENTBASE* caller);
    ENTBASE* Caller() const;
    const char* ReturnClass() const { return m_returnTo; }
    // The upper (0) or lower (1) slider, or null.
    Slider* SliderAt(int which);
    // The game object when it is the real one (null for anything else of that type).
    MtGame* Game() const;
    // Whether this page was built with the front end's background and logo.
    bool BuiltFullScreen() const { return m_builtFullScreen; }

    // OK and Cancel: the caller made active again, or the return-to class (else the main menu)
    // opened in the page's place. 0 when the page is gone.
    int Close();
    // The other page in this one's place, with the same return-to class, caller and background.
    int SwitchTab();

  private:
    void Build(EntNode* node);
    void AddControls();
    void AddTab(const OptionsTabDef& tab, bool button);
    // The slider's value into its preference and the preferences applied.
    void SliderChanged(int which);

    const OptionsPageDef& m_def;
    char m_returnTo[MENU_CLASS_NAME_MAX + 1] = {};
    ENTBASE* m_caller = nullptr;
    uint64_t m_callerSerial = 0;
    bool m_builtFullScreen = false;
};

// A preference as a page shows and writes it: within 0..1, NaN the fallback.
float OptionsPrefValue(float value, float fallback);

// Creates the page's class under the parent with its full-screen byte set first, hands over the
// return-to class (null: none) and the caller, and starts it. Null when the class cannot be made.
MenuOptionsPage* MenuOptionsPageOpen(const char* className, uint8_t* fullScreenByte,
                                     ENTBASE* parent, const char* returnTo, int fullScreen,
                                     ENTBASE* caller);
