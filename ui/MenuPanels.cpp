// The inspector panel and the label texts the in-game panels share, and aiming the management
// camera at what a panel shows.
#include "I3d/Font.h"
#include "engine/Ent3d/Ent3dBase.h"
#include "ui/Menu3Base.h"
#include "ui/MenuKit.h"
#include "ui/MenuKitMake.h"
#include "ui/StaticGraphic.h"
#include "ui/StaticText.h"

namespace {
constexpr float kEdgeRight = 992.0f; // 32 units in from the right edge
constexpr float kEdgeBottom = 736.0f;
constexpr float kBorder = 8.0f;
constexpr int kButtonY = 728 - 56;
constexpr float kViewStep = 96.0f;
constexpr int kRightLabelX = 620;
constexpr int kRightValueX = 712;
constexpr int kValueGap = 100;

StaticText* PanelText(const char16_t* text, float x, float y, const char* font, ENTBASE* menu) {
    auto* t = MenuKitMake<StaticText>("StaticText", menu, -1, x, y, text ? text : u"");
    if (!t) return nullptr;
    t->SetFont(FontFind(font));
    t->horizAlign = 0;
    t->Start();
    return t;
}
} // namespace

Ctl3Base* MenuAddBackground(float width, float height, int32_t titleId, int32_t okId,
                            int32_t viewId, ENTBASE* menu, Ctl3Rect* inner) {
    const float x0 = kEdgeRight - width;
    const float y0 = kEdgeBottom - height;
    auto* panel =
        MenuKitMake<StaticGraphic>("StaticGraphic", menu, -1, x0, y0, nullptr, "Background");
    if (panel) {
        panel->width = width;
        panel->height = height;
        panel->uv = {0.0f, 0.0f, 0.5625f, 0.8359375f};
        panel->colour = kMenuPanelColour;
        panel->Start();
    }
    if (StaticText* title = PanelText(u"Name", x0 + kBorder, y0 + kBorder, kMenuTitleFont, menu))
        title->id = titleId;
    MenuKitButtonOk(okId, x0 + kBorder, float(kButtonY), menu);
    MenuKitButtonView(viewId, x0 + kBorder + kViewStep, float(kButtonY), menu);
    if (inner) *inner = {x0 + kBorder, y0 + kBorder, kEdgeRight - kBorder, kEdgeBottom - kBorder};
    return panel;
}

Ctl3Base* MenuAddText(int x, int y, int32_t, ENTBASE* menu) {
    return PanelText(u"", float(x), float(y), kMenuTextFont, menu);
}

Ctl3Base* MenuAddTextAt(const char16_t* text, int x, int y, ENTBASE* menu) {
    PanelText(text, float(x), float(y), kMenuTextFont, menu);
    return PanelText(u"...", float(x + kValueGap), float(y), kMenuTextFont, menu);
}

Ctl3Base* MenuAddTextRight(const char16_t* text, int y, ENTBASE* menu) {
    PanelText(text, float(kRightLabelX), float(y), kMenuTextFont, menu);
    return PanelText(u"...", float(kRightValueX), float(y), kMenuTextFont, menu);
}

void MenuAimMainCamera(ENTBASE* root, ENTBASE* entity) {
    CameraFlyToFn flyTo = CameraVantorGetFlyTo();
    if (!root || !entity || !flyTo) return;
    ENTBASE* camera = EntTreeFindType(root, "CameraVantor1");
    const VECTOR3* target = entity->GetPos();
    // A yaw of -1 keeps the camera's own heading: only its target moves.
    if (camera && target) flyTo(camera, target, -1.0f, 0.7853982f, 40.0f);
}
