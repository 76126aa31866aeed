// The control kit's check boxes, text buttons, texts, backgrounds, panels, animations, text
// boxes and sliders.
#include "ui/MenuKit.h"

#include "ui/AnimGraphic.h"
#include "ui/Ctl3TextStyle.h"
#include "ui/MenuKitMake.h"
#include "ui/StaticGraphic.h"
#include "ui/StaticText.h"
#include "ui/StaticTextBox.h"
#include "ui/TextButton.h"
#include "ui/TextCheckBox.h"

#include <cstdio>

namespace {
constexpr const char* kCheckBoxImage = "Menu\\Common\\ChkBx.dds";
constexpr const char* kLargePanelImage = "Menu\\Common\\ZobPanelGenericLarge.dds";
constexpr const char* kLargeHeaderImage = "Menu\\Common\\ZobPanelGenericLargeHeader.dds";
constexpr const char* kPanelImage = "Menu\\Common\\ZobPanelGeneric.dds";
constexpr const char* kMidwayImage = "Menu\\MidwaySelector\\ZobPanelMidwaySelector.dds";
constexpr const char* kNewCareerImage = "Menu\\Common\\ZobPanelNewCareer.dds";
constexpr const char* kLogoImage = "Menu\\Common\\ZOBLogoAnimSmall.dds";
constexpr const char* kInGameImage = "Menu\\InGame\\InGamePanel.dds";

enum { kLeft = 0, kCentred = 1, kRight = 2 };

StaticText* Text(const char16_t* label, float x, float y, const char* font, int32_t align,
                 ENTBASE* menu) {
    auto* t = MenuKitMake<StaticText>("StaticText", menu, kMenuKitStaticId, x, y, label);
    if (!t) return nullptr;
    t->SetFont(MenuKitFont(font));
    t->horizAlign = align;
    t->Start();
    return t;
}

// A static picture centred on (x, y) showing the uv rectangle (0, 0) to (right, bottom).
StaticGraphic* Picture(const char* name, float x, float y, float w, float h, float uvRight,
                       float uvBottom, const char* texture, ENTBASE* menu) {
    auto* g =
        MenuKitMake<StaticGraphic>("StaticGraphic", menu, kMenuKitStaticId, x, y, nullptr, name);
    if (!g) return nullptr;
    g->horizAlign = kCentred;
    g->width = w;
    g->height = h;
    g->uv = {0.0f, 0.0f, uvRight, uvBottom};
    std::snprintf(g->textureName, sizeof g->textureName, "%s", texture ? texture : "");
    g->Start();
    return g;
}

AnimGraphic* Flipbook(const char* name, float x, float y, const char* texture, int32_t top,
                      int32_t right, int32_t bottom, int32_t frames, float rate, ENTBASE* menu) {
    auto* a = MenuKitMake<AnimGraphic>("AnimGraphic", menu, kMenuKitStaticId, x, y, nullptr, name);
    if (!a) return nullptr;
    a->image.left = 0;
    a->image.top = top;
    a->image.right = right;
    a->image.bottom = bottom;
    std::snprintf(a->image.textureName, sizeof a->image.textureName, "%s", texture);
    a->frames = frames;
    a->rate = rate;
    a->Start();
    return a;
}

StaticTextBox* TextBox(int32_t id, const char16_t* text, float x, float y, float right,
                       float bottom, const char* font, int32_t align, ENTBASE* menu) {
    auto* box = MenuKitMake<StaticTextBox>("StaticTextBox", menu, id, x, y, nullptr);
    if (!box) return nullptr;
    box->SetFont(MenuKitFont(font));
    box->horizAlign = align;
    box->rect = {x, y, right, bottom};
    box->width = right - x;
    box->Start();
    // Shown at once: no fade from an empty box.
    box->SetText(text ? text : u"");
    box->Flip();
    return box;
}
} // namespace

// ---- check boxes and text buttons ----

GraphicCheckBox* MenuKitCheckBox(int32_t id, const char16_t* label, float x, float y, int checked,
                                 int32_t group, ENTBASE* menu) {
    auto* box = MenuKitMake<GraphicCheckBox>("GraphicCheckBox", menu, id, x, y, label);
    if (!box) return nullptr;
    box->SetFont(MenuKitFont("Georgia_14"));
    box->horizAlign = kLeft;
    box->textAlign = 2;
    box->box.left = 0;
    box->box.top = 0;
    box->box.right = 21;
    box->box.bottom = 19;
    std::snprintf(box->box.textureName, sizeof box->box.textureName, "%s", kCheckBoxImage);
    // The group first: a new box has none, and checking clears the group it is in.
    box->radioGroup = group;
    Ctl3SetChecked(box, checked != 0);
    box->SetRadioMode(group >= 0);
    box->Start();
    return box;
}

TextCheckBox* MenuKitTextCheckBox(int32_t id, const char16_t* label, float x, float y, int,
                                  int32_t group, ENTBASE* menu) {
    auto* box = MenuKitMake<TextCheckBox>("TextCheckBox", menu, id, x, y, label);
    if (!box) return nullptr;
    box->SetFont(MenuKitFont("CourierNew9o"));
    box->radioGroup = group;
    box->SetRadioMode(group >= 0);
    box->Start();
    return box;
}

TextButton* MenuKitTextButton(int32_t id, const char16_t* label, float x, float y, ENTBASE* menu) {
    auto* b = MenuKitMake<TextButton>("TextButton", menu, id, x, y, label);
    if (!b) return nullptr;
    b->SetFont(MenuKitFont("CourierNew9o"));
    b->Start();
    return b;
}

TextButton* MenuKitTextButtonLarge(int32_t id, const char16_t* label, int x, int y, ENTBASE* menu) {
    auto* b = MenuKitMake<TextButton>("TextButton", menu, id, float(x), float(y), label);
    if (!b) return nullptr;
    b->SetFont(MenuKitFont("Georgia_26"));
    b->horizAlign = kCentred;
    b->Start();
    return b;
}

// ---- texts ----

StaticText* MenuKitText(const char16_t* label, float x, float y, ENTBASE* menu) {
    return Text(label, x, y, "Georgia_14", kLeft, menu);
}

StaticText* MenuKitTextCentred(const char16_t* label, float x, float y, ENTBASE* menu) {
    return Text(label, x, y, "Georgia_14", kCentred, menu);
}

StaticText* MenuKitTitle(const char16_t* label, ENTBASE* menu) {
    return Text(label, 512.0f, 160.0f, "Georgia_20", kCentred, menu);
}

StaticText* MenuKitHeading(const char16_t* label, int x, int y, ENTBASE* menu) {
    return Text(label, float(x), float(y), "Georgia_26", kCentred, menu);
}

// ---- backgrounds, panels and animations ----

StaticGraphic* MenuKitBackground(const char* texture, ENTBASE* menu) {
    return Picture("Background", 512.0f, 384.0f, 1024.0f, 768.0f, 1.0f, 0.75f, texture, menu);
}

StaticGraphic* MenuKitDimBackground(ENTBASE* menu) {
    StaticGraphic* g =
        Picture("Background", 512.0f, 384.0f, 1024.0f, 768.0f, 1.0f, 0.75f, nullptr, menu);
    if (g) g->colour = kMenuKitDim;
    return g;
}

StaticGraphic* MenuKitLargePanel(int x, int y, ENTBASE* menu) {
    return Picture("LargePanel", float(x), float(y), 913.0f, 567.0f, 0.8916015625f, 0.5537109375f,
                   kLargePanelImage, menu);
}

StaticGraphic* MenuKitLargePanelHeader(float x, float y, const char16_t* title, ENTBASE* menu) {
    StaticGraphic* panel = Picture("LargePanel", x, y, 913.0f, 586.0f, 0.8916015625f, 0.572265625f,
                                   kLargeHeaderImage, menu);
    if (!panel) return nullptr;
    Text(title, x, y - 250.0f, "Georgia_26", kCentred, menu);
    return panel;
}

StaticGraphic* MenuKitPanel(float x, float y, ENTBASE* menu) {
    return Picture("LargePanel", x, y, 574.0f, 426.0f, 0.560546875f, 0.83203125f, kPanelImage,
                   menu);
}

StaticGraphic* MenuKitMidwayPanel(float x, float y, ENTBASE* menu) {
    return Picture("MidwayPanel", x, y, 905.0f, 572.0f, 0.8837890625f, 0.55859375f, kMidwayImage,
                   menu);
}

StaticGraphic* MenuKitNewCareerPanel(float x, float y, ENTBASE* menu) {
    return Picture("MidwayPanel", x, y, 574.0f, 426.0f, 0.560546875f, 0.83203125f, kNewCareerImage,
                   menu);
}

AnimGraphic* MenuKitAnimLogo(ENTBASE* menu) {
    return Flipbook("AnimLogo", 384.0f, 10.0f, kLogoImage, 0, 256, 143, 2, 10.0f, menu);
}

StaticGraphic* MenuKitInGamePanel(float x, float y, ENTBASE* menu) {
    StaticGraphic* panel =
        Picture("Background", x, y, 376.0f, 418.0f, 0.734375f, 0.408203125f, kInGameImage, menu);
    if (!panel) return nullptr;
    Flipbook("FlashingLights", x - 189.0f, y - 207.0f, kInGameImage, 419, 376, 520, 3, 15.0f, menu);
    return panel;
}

// ---- text boxes ----

StaticTextBox* MenuKitTextBoxCentred(int32_t id, const char16_t* text, float x, float y,
                                     float right, float bottom, ENTBASE* menu) {
    return TextBox(id, text, x, y, right, bottom, "Arial_12b", kCentred, menu);
}

StaticTextBox* MenuKitTextBox(int32_t id, const char16_t* text, float x, float y, float right,
                              float bottom, ENTBASE* menu) {
    return TextBox(id, text, x, y, right, bottom, "Arial_12b", kLeft, menu);
}

StaticTextBox* MenuKitTextBox16(int32_t id, const char16_t* text, float x, float y, float right,
                                float bottom, ENTBASE* menu) {
    return TextBox(id, text, x, y, right, bottom, "Georgia_16", kCentred, menu);
}

StaticTextBox* MenuKitTextBox20(int32_t id, const char16_t* text, float x, float y, float right,
                                float bottom, ENTBASE* menu) {
    return TextBox(id, text, x, y, right, bottom, "Georgia_20", kCentred, menu);
}

// ---- sliders ----

Slider* MenuKitSlider(int32_t id, const char16_t* label, int x, int y, float trackLength,
                      float value, ENTBASE* menu) {
    auto* s = MenuKitMake<Slider>("Slider", menu, id, float(x), float(y), label);
    if (!s) return nullptr;
    s->SetFont(MenuKitFont("Georgia_14"));
    s->horizAlign = kRight;
    s->SetTrackLength(trackLength);
    if (s->font) {
        s->SetKnobHeight(Ctl3LineHeight(s));
        s->SetLabelGap(FontTextWidth(s->font, u" "));
    }
    s->SetValue(value);
    s->Start();
    return s;
}
