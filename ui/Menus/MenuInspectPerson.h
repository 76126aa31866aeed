// What the employee and patron panels share: the panel in the bottom right corner with the
// person's name, a close and a look-at button, shown for one person at a time by the HUD.
#pragma once

#include "engine/EntRef.h"
#include "engine/EntTree.h"
#include "ui/Menu3Base.h"
#include "ui/Menus/HudInspector.h"

#include <cstdint>

class MenuGameRunning;
class StaticText;

enum : int32_t { INSPECT_TITLE = 1001, INSPECT_STATUS = 1003 };

class MenuInspectPerson : public Menu3Base, public HudInspector {
  public:
    using Menu3Base::Show;
    int Update(float seconds) override; // the texts, while a person is set
    int OnMessage(const SlEvent* event) override;
    // The person leaving closes the panel: nothing is read from it afterwards.
    int OnEntityRemoved(ENTBASE* gone) override;
    // Null, or an entity this panel does not show, closes it (inactive and hidden); a person is
    // kept, named in the title and shown with its texts filled.
    void Show(ENTBASE* entity) override;

    // The HUD that made the panel (the menu to return to of its opening).
    void SetOpenArgs(const MenuOpenArgs& args) override;

    ENTBASE* Person() const { return m_person.Get(); }
    MenuGameRunning* Hud() const;

    // The rectangle inside the panel's border, which every control lies in.
    Ctl3Rect inner = {0, 0, 0, 0};
    StaticText* title = nullptr;

  protected:
    // The panel `height` units high with its title, close and look-at buttons; it starts closed.
    void CreatePanel(EntNode* node, float height, int32_t closeId, int32_t viewId);
    // The panel's name, logged; the panel stays hidden and inactive until shown.
    void FinishPanel(const char* className);
    virtual bool Accepts(ENTBASE* entity) = 0;
    // The texts from the person, who is alive.
    virtual void Refresh(ENTBASE* person) = 0;
    // A line of text (empty, "Georgia_14") with the id given, at the inner left, `down` units
    // below the inner top.
    StaticText* AddLine(float down, int32_t id);
    // The text into the control, narrowed when it would run past the inner right edge.
    void SetFitted(StaticText* text, const char16_t* value);
    // A click on a control other than close and look-at: the walk's result.
    virtual int OnControl(int32_t id, ENTBASE* person);

  private:
    EntRef m_person;
    EntRef m_hud;
    int32_t m_closeId = -1;
    int32_t m_viewId = -1;
};
