// The control kit's test screen: 31 builder calls laid out so that every graphic button, the
// panels' corners, the in-game panel's body and lights and the logo each show on top somewhere.
// The interface tests and the kit's benchmark build it under any menu.
#pragma once

#include "ui/AnimGraphic.h"
#include "ui/GraphicButton.h"
#include "ui/MenuKit.h"
#include "ui/StaticGraphic.h"

#include <cstdint>
#include <vector>

// Control ids of the screen's clickable controls: the buttons are 100 + their row in the table.
inline constexpr int32_t kKitButtonIdBase = 100;
inline constexpr int32_t kKitOkId = kKitButtonIdBase + 7;

// The buttons in the kit's table order, two rows of seven from (20, 610) and (20, 690).
using KitButtonFn = GraphicButton* (*)(int32_t, float, float, ENTBASE*);
inline const KitButtonFn kKitButtonFns[14] = {
    MenuKitButtonUp,     MenuKitButtonDown,   MenuKitButtonPageUp, MenuKitButtonPageDown,
    MenuKitButtonBack,   MenuKitButtonStart,  MenuKitButtonNext,   MenuKitButtonOk,
    MenuKitButtonCancel, MenuKitButtonDelete, MenuKitButtonView,   MenuKitButtonHire,
    MenuKitButtonFire,   MenuKitButtonRide};

inline float KitButtonX(int k) {
    return 20.0f + float(k % 7) * 140.0f;
}
inline float KitButtonY(int k) {
    return k < 7 ? 610.0f : 690.0f;
}

struct KitScreen {
    StaticGraphic* dim = nullptr;
    StaticGraphic* largePanel = nullptr; // with the title "Kit" at (512, 178)
    StaticGraphic* panel = nullptr;      // 574 x 426 centred at (300, 380): 13..586 x 167..592
    StaticGraphic* inGame = nullptr;     // 376 x 418 centred at (800, 330): 612..987 x 121..538
    AnimGraphic* logo = nullptr;         // (384, 10)
    std::vector<GraphicButton*> buttons;
    int calls = 0;
};

inline KitScreen BuildKitScreen(ENTBASE* menu) {
    KitScreen s;
    s.dim = MenuKitDimBackground(menu);
    s.largePanel = MenuKitLargePanelHeader(512, 428, u"Kit", menu);
    s.panel = MenuKitPanel(300, 380, menu);
    s.inGame = MenuKitInGamePanel(800, 330, menu);
    s.logo = MenuKitAnimLogo(menu);
    MenuKitTitle(u"Kit", menu);
    s.calls = 6;
    for (int k = 0; k < 14; ++k, ++s.calls)
        s.buttons.push_back(
            kKitButtonFns[k](kKitButtonIdBase + k, KitButtonX(k), KitButtonY(k), menu));
    MenuKitCheckBox(1, u"Sound", 120, 250, 1, 3, menu);
    MenuKitCheckBox(2, u"Music", 120, 290, 0, 3, menu);
    MenuKitTextCheckBox(3, u"Hints", 120, 330, 1, -1, menu);
    MenuKitTextButton(4, u"Text button", 120, 370, menu);
    MenuKitTextButtonLarge(5, u"Large", 300, 420, menu);
    MenuKitText(u"Left text", 120, 460, menu);
    MenuKitTextCentred(u"Centred text", 300, 250, menu);
    MenuKitHeading(u"Heading", 300, 300, menu);
    MenuKitTextBox(6, u"A text box of a few words that wrap.", 330, 330, 550, 380, menu);
    MenuKitTextBox20(7, u"Twenty", 330, 390, 550, 450, menu);
    MenuKitSlider(8, u"Volume", 540, 480, 100.0f, 0.5f, menu);
    s.calls += 11;
    return s;
}
