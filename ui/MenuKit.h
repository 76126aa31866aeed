// The control kit: the builders with which every menu adds its standard controls. Each creates
// one control by class name under the menu, sets it up, starts it and returns it; null when the
// class cannot be created (or there is no menu), and then nothing else happens. The kit keeps no
// state. Fonts are found by name among the loaded ones without taking a reference (a font that
// is not loaded leaves the control without one); textures are names in the data folder.
#pragma once

#include "ui/GraphicCheckBox.h"
#include "ui/Slider.h"

#include <cstdint>

class AnimGraphic;
class ENTBASE;
class GraphicButton;
class StaticGraphic;
class StaticText;
class StaticTextBox;
class TextButton;
class TextCheckBox;

// Every control the kit builds starts white.
inline constexpr uint32_t kMenuKitColour = 0xFFFFFFFFu;
inline constexpr uint32_t kMenuKitDim = 0x8F000000u;
inline constexpr int32_t kMenuKitStaticId = -1;

// ---- the common graphic buttons ----
GraphicButton* MenuKitButtonUp(int32_t id, float x, float y, ENTBASE* menu);
GraphicButton* MenuKitButtonDown(int32_t id, float x, float y, ENTBASE* menu);
GraphicButton* MenuKitButtonPageUp(int32_t id, float x, float y, ENTBASE* menu);
GraphicButton* MenuKitButtonPageDown(int32_t id, float x, float y, ENTBASE* menu);
GraphicButton* MenuKitButtonBack(int32_t id, float x, float y, ENTBASE* menu);
GraphicButton* MenuKitButtonStart(int32_t id, float x, float y, ENTBASE* menu);
GraphicButton* MenuKitButtonNext(int32_t id, float x, float y, ENTBASE* menu);
GraphicButton* MenuKitButtonOk(int32_t id, float x, float y, ENTBASE* menu);
GraphicButton* MenuKitButtonCancel(int32_t id, float x, float y, ENTBASE* menu);
GraphicButton* MenuKitButtonDelete(int32_t id, float x, float y, ENTBASE* menu);
GraphicButton* MenuKitButtonView(int32_t id, float x, float y, ENTBASE* menu);
GraphicButton* MenuKitButtonHire(int32_t id, float x, float y, ENTBASE* menu);
GraphicButton* MenuKitButtonFire(int32_t id, float x, float y, ENTBASE* menu);
GraphicButton* MenuKitButtonRide(int32_t id, float x, float y, ENTBASE* menu);

// ---- check boxes and text buttons ----
// The group is stored before the check, so that checking clears the group's other boxes.
GraphicCheckBox* MenuKitCheckBox(int32_t id, const char16_t* label, float x, float y, int checked,
                                 int32_t group, ENTBASE* menu);
// Starts unchecked whatever `ignored` says; a screen that wants it checked sets it afterwards.
TextCheckBox* MenuKitTextCheckBox(int32_t id, const char16_t* label, float x, float y, int ignored,
                                  int32_t group, ENTBASE* menu);
TextButton* MenuKitTextButton(int32_t id, const char16_t* label, float x, float y, ENTBASE* menu);
TextButton* MenuKitTextButtonLarge(int32_t id, const char16_t* label, int x, int y, ENTBASE* menu);

// ---- texts ----
StaticText* MenuKitText(const char16_t* label, float x, float y, ENTBASE* menu);
StaticText* MenuKitTextCentred(const char16_t* label, float x, float y, ENTBASE* menu);
StaticText* MenuKitTitle(const char16_t* label, ENTBASE* menu);
StaticText* MenuKitHeading(const char16_t* label, int x, int y, ENTBASE* menu);

// ---- backgrounds, panels and animations ----
// Null texture: an untextured quad in the kit's white.
StaticGraphic* MenuKitBackground(const char* texture, ENTBASE* menu);
StaticGraphic* MenuKitDimBackground(ENTBASE* menu);
StaticGraphic* MenuKitLargePanel(int x, int y, ENTBASE* menu);
// The panel, with its title 250 units above its centre; returns the panel.
StaticGraphic* MenuKitLargePanelHeader(float x, float y, const char16_t* title, ENTBASE* menu);
StaticGraphic* MenuKitPanel(float x, float y, ENTBASE* menu);
StaticGraphic* MenuKitMidwayPanel(float x, float y, ENTBASE* menu);
StaticGraphic* MenuKitNewCareerPanel(float x, float y, ENTBASE* menu);
AnimGraphic* MenuKitAnimLogo(ENTBASE* menu);
// The panel, with its flashing lights along the top; returns the panel.
StaticGraphic* MenuKitInGamePanel(float x, float y, ENTBASE* menu);

// ---- text boxes: laid out and shown at once ----
StaticTextBox* MenuKitTextBoxCentred(int32_t id, const char16_t* text, float x, float y,
                                     float right, float bottom, ENTBASE* menu);
StaticTextBox* MenuKitTextBox(int32_t id, const char16_t* text, float x, float y, float right,
                              float bottom, ENTBASE* menu);
StaticTextBox* MenuKitTextBox16(int32_t id, const char16_t* text, float x, float y, float right,
                                float bottom, ENTBASE* menu);
StaticTextBox* MenuKitTextBox20(int32_t id, const char16_t* text, float x, float y, float right,
                                float bottom, ENTBASE* menu);

// ---- sliders ----
// Ends at x (the label, a space's gap, then the track); the knob is a line of the font high.
Slider* MenuKitSlider(int32_t id, const char16_t* label, int x, int y, float trackLength,
                      float value, ENTBASE* menu);

// ---- single fields the screens set after building ----
inline void MenuKitSetTextAlign(GraphicCheckBox* box, int32_t align) {
    if (box) box->textAlign = align;
}
inline void MenuKitSetTrackLength(Slider* s, float length) {
    if (s) s->SetTrackLength(length);
}
inline void MenuKitSetKnobHeight(Slider* s, float h) {
    if (s) s->SetKnobHeight(h);
}
inline void MenuKitSetValue(Slider* s, float v) {
    if (s) s->SetValue(v);
}
inline void MenuKitSetLabelGap(Slider* s, float gap) {
    if (s) s->SetLabelGap(gap);
}
inline void MenuKitSetDragging(Slider* s, bool on) {
    if (s) s->buttonDown = on ? 1 : 0;
}
