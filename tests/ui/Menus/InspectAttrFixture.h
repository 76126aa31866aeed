// The attraction panel's tests: the HUD's fixture (the default venue, the HUD open) with the
// real panel, a stand-in for the removal question that records how it was opened (or the real
// question, or none), and the attractions placed on the grid at cells far apart.
#pragma once

#include "tests/ui/Menus/HudFixture.h"
#include "ui/Menus/MenuInspectAttr.h"

// The removal question's stand-in: registered as "MenuRemoveAttr", it names itself through the
// framework and keeps what its opener handed it. Test-only.
class RemoveAttrDouble : public Menu3Base {
  public:
    int Create(EntNode* node) override;
    void SetOpenArgs(const MenuOpenArgs& args) override;
    MenuOpenArgs args;
};

class InspectAttrTest : public HudTest {
  protected:
    void SetUp() override;

    // What "MenuRemoveAttr" makes: the recording stand-in, the game's own question, or nothing
    // (a class that refuses to be made).
    enum class Removal { Double, Real, Refused };
    // Starts the HUD with the panel.
    void StartPanel(Removal removal = Removal::Double);
    MenuInspectAttr* Panel() const;
    // The type placed at grid slot `slot` (cells 14 apart, clear of each other's rings).
    AttrBase* At(int type, int slot);
    // A click in the middle of the control.
    void Click(const Ctl3Base* control);
    // The view's camera, and the ride camera (the venue's own, else one the test adds).
    ENTBASE* ViewCamera() const;
    ENTBASE* AddRideCamera();

    Removal m_removal = Removal::Double;
};
