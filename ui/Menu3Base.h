// The base of every menu screen: an entity whose children are its controls. It takes input only
// while active and draws only while shown, finds its controls by id, links them for keyboard
// navigation, opens the next menu in its own place, and fades out before it goes.
#pragma once

#include "engine/EntBase.h"
#include "ui/Ctl3Base.h"

#include <cstdint>

class LuaScript;

enum { MENU_CLASS_NAME_MAX = 63 };

// What an opener hands the menu it opens; each class takes the words it knows.
struct MenuOpenArgs {
    ENTBASE* returnMenu = nullptr;     // the menu to make active again when this one closes
    const char* returnClass = nullptr; // or the class to open in its place
    void* out[2] = {};                 // where the answer goes (a flag, a chosen index)
    ENTBASE* entities[3] = {};         // what the screen is about (an employee, an attraction)
    const char16_t* texts[4] = {};     // a title and lines of a question
};

class Menu3Base : public ENTBASE, public Ctl3AlphaSource {
  public:
    // ---- the entity operations ----
    int Create(EntNode* node) override;
    int Shutdown() override;
    int Destroy() override;
    int Update(float seconds) override;
    int DrawPre() override; // the shown flag: a hidden menu's controls are skipped
    int VarsChanged() override;
    // Inactive: 2, so the menu's own controls are skipped but the menus and the cursor after it
    // in the walk still hear the event (a dialog its caller made behind itself must get it).
    int OnMessage(const SlEvent* event) override;
    void SetPos(const VECTOR3* pos) override;
    // Active again: the focus goes back to the control that had it (control 0 when that one is
    // gone), unless one of this menu's controls holds it already. Every menu keeps the last
    // focused id rather than none: a closed dialog otherwise left no focus for the keys.
    void SetActive() override;
    void ClearActive() override;
    int IsActive() override;

    // ---- the menu's own operations ----
    virtual void Show();
    virtual void Hide();
    virtual int OnActiveMessage(const SlEvent* event); // 1
    virtual void SaveFocusId(int32_t id);              // kept for SetActive
    virtual int32_t GetSavedFocusId();                 // -1 until a control had the focus
    virtual void SetOpenArgs(const MenuOpenArgs& args);

    float GetMenuAlpha() override { return alpha; }
    void ChildFocused(int32_t id) override;

    // ---- lookups and links ----
    Ctl3Base* FindCtl(int32_t id);
    bool LinkCtlNav(int32_t id, int32_t up, int32_t down, int32_t left, int32_t right);
    bool FocusCtl(int32_t id);
    void RestoreFocus(Ctl3Base* defaultControl);
    void RememberFocus();
    // Event 50 presses, 51 releases the control; 1 when forwarded.
    int ForwardToCtl(const SlEvent* event, int32_t id);
    Ctl3Base* CtlAtPoint(float x, float y);
    Ctl3Base* EnabledCtlAtPoint(float x, float y);
    bool SetCtlChecked(int32_t id, bool on);
    int GetCtlChecked(int32_t id);
    void SetAltClass(const char* className);
    void SetNextClass(const char* className);

    // ---- opening the next menu ----
    // The next class under this menu's parent, started; this menu and its controls are then
    // destroyed. Null (and nothing destroyed) when the class cannot be made. After a non-null
    // result `this` is gone.
    ENTBASE* SpawnChildClass();
    // A two-way screen's answer: index 0 opens the alternate class, 1 the next class; anything
    // else (or a class that cannot be made) opens nothing and gives null.
    ENTBASE* SpawnChoice(int32_t index);

    // ---- fields ----
    char altClass[MENU_CLASS_NAME_MAX + 1] = {};
    char nextClass[MENU_CLASS_NAME_MAX + 1] = {};
    uint8_t active = 1;
    uint8_t shown = 1;
    float fadeTime = 0.0f;
    float fadeTimer = 0.0f;
    float alpha = 1.0f;
    // Concrete menus' shared part: the script the menu owns (released when the menu goes) and
    // the game object found at creation.
    LuaScript* script = nullptr;
    ENTBASE* game = nullptr;

  private:
    bool m_fading = false;
    int32_t m_savedFocusId = -1;
};

// The control names a concrete menu registers for its script, numbered 0, 1, 2 in order after
// "C_STATIC" = -1 when the screen has static controls.
struct MenuNames {
    const char* const* names = nullptr;
    int count = 0;
    bool hasStatic = true;
};

// The first four steps of every concrete menu's creation: the base set-up (the input queue
// emptied), the "C_" names, the game object found by type, and the script (a path in the data
// folder) run with its Create called with the menu. A script that is missing, does not compile,
// or defines no Create is skipped: the menu goes on with its own controls.
void MenuCreateConcrete(Menu3Base* menu, EntNode* node, const MenuNames& names,
                        const char* scriptPath);
// The last step: the focus on control 0 and the menu named after its class (logged).
void MenuFinishConcrete(Menu3Base* menu, const char* className);

// Creates the class by name under the parent, hands it the arguments, starts it. Null when the
// class cannot be made or is no menu (nothing is left behind).
Menu3Base* MenuOpen(const char* className, ENTBASE* parent, const MenuOpenArgs* args);

// ---- the panels and texts every inspector shares ----
inline constexpr uint32_t kMenuPanelColour = 0xAF8F0000u;
inline constexpr const char* kMenuTitleFont = "Georgia_20";
inline constexpr const char* kMenuTextFont = "Georgia_16";

// A panel anchored 32 units from the right and bottom edges with its title, OK and View
// buttons; `inner` (optional) receives the rectangle inside its border. Returns the panel.
Ctl3Base* MenuAddBackground(float width, float height, int32_t titleId, int32_t okId,
                            int32_t viewId, ENTBASE* menu, Ctl3Rect* inner);
// An empty white text at (x, y); its id is always -1 (the caller keeps the control).
Ctl3Base* MenuAddText(int x, int y, int32_t id, ENTBASE* menu);
// A label and, 100 units to its right, its value field ("..."); returns the value field.
Ctl3Base* MenuAddTextAt(const char16_t* text, int x, int y, ENTBASE* menu);
// The same pair at x 620 and 712.
Ctl3Base* MenuAddTextRight(const char16_t* text, int y, ENTBASE* menu);
// The management camera below the root flies so that its target is the entity's position.
void MenuAimMainCamera(ENTBASE* root, ENTBASE* entity);
