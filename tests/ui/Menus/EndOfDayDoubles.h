// The end-of-day screen's tests: the report world (the real game object, the HUD double made
// inactive as it is while its menus are up, real attractions), and recording stand-ins for the
// screens the summary opens: the in-game confirmation and the sandbox save dialog (what the
// summary hands them counts here; their own tests use the real ones).
#pragma once

#include "tests/ui/Menus/ReportTestWorld.h"

#include <string>
#include <vector>

class MenuEndOfDay;

// A stand-in that records its opening; Cancel() gives the return menu back as a dialog does.
class EndOfDayStandIn : public Menu3Base {
  public:
    explicit EndOfDayStandIn(const char* className) : m_class(className) {}
    int Create(EntNode* node) override;
    int Start() override;
    void SetOpenArgs(const MenuOpenArgs& args) override;
    void Cancel();

    std::string returnClass;
    EntRef returnMenu;

  private:
    const char* m_class;
};

class EndOfDayTest : public ReportTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The report world with the stand-ins, the game in the mode, its career named `career` with
    // start-of-day cash `start`, and `cash` now.
    void StartDay(int32_t mode, const char* career, int32_t start, int32_t cash);
    MenuEndOfDay* OpenSummary();
    // The labels of the menu's static texts, in order.
    static std::vector<std::u16string> Texts(ENTBASE* menu);
    static std::vector<EndOfDayStandIn*>& Opened();
    // A control event as a pressed button sends it, heard on the next frame.
    void Press(int32_t id);
    std::string ReadText(const std::string& path) const;
    // How many children the entity has.
    static int Children(ENTBASE* entity);
};
