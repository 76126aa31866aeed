// The career screens' tests: the interface harness with the real game object, and recording
// stand-ins for the screens other parts of the interface build (the main menu, the load-career
// dialog, the venue selector, the sandbox menu, the HUD), registered under their class names.
#pragma once

#include "tests/harness/UiHarness.h"
#include "ui/Menu3Base.h"

#include <string>
#include <vector>

class MtGame;

// One opening of a stand-in: its class and the return-to class it was handed.
struct CareerOpened {
    std::string className;
    std::string returnClass;
};

// A menu that records its opening. The selector's stand-in goes back to its return-to class on
// Escape; the HUD's stand-in covers the screen in green, standing for the world behind it.
class CareerStandIn : public Menu3Base {
  public:
    explicit CareerStandIn(const char* className) : m_class(className) {}
    int Create(EntNode* node) override;
    int Start() override;
    int DrawPre() override;
    int OnMessage(const SlEvent* event) override;
    void SetOpenArgs(const MenuOpenArgs& args) override;
    // Keeps what the watched answer flag held when the menu was made active again.
    void SetActive() override;

    std::string returnClass;
    const uint8_t* watched = nullptr;
    int flagWhenActive = -1;

  private:
    const char* m_class;
};

inline constexpr uint32_t kCareerWorldGreen = 0xFF00C000u;

class CareerMenuTest : public UiTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The harness started with the real game object and the stand-ins.
    void StartCareerUi(const std::string& body = "");
    Menu3Base* Open(const char* className);
    // The menu named so under "Menus", or null.
    Menu3Base* Shown(const char* name);
    MtGame* Game();
    // The save folder, ending in "/".
    std::string Saves() const { return m_documents + "Fairlark/"; }
    void Click(float x, float y) { ClickAt(x, y); }
    // The texts of the menu's static texts, in order.
    static std::vector<std::u16string> Texts(ENTBASE* menu);

    static std::vector<CareerOpened>& Opened();
};
