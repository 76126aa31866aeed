// The attraction panel: what the player sees on clicking an attraction in the world. It shows
// the name, riders against capacity, the waiting line and the wear as a coloured bar; it opens,
// closes and asks for repair, sets the ticket price and the type's duration, odds and waiting
// time, aims the main camera at the attraction, rides along on a seat, and asks before removal.
#pragma once

#include "I3d/StatBar.h"
#include "engine/EntRef.h"
#include "ui/Menu3Base.h"
#include "ui/Menus/HudInspector.h"

#include <cstdint>

class AttrBase;
class Custom;
class GraphicButton;
class GraphicCheckBox;
class IncDecButton;
class StaticText;

// The panel's control ids (the second and the third number controls share 1014).
enum : int32_t {
    INSPECT_ATTR_TITLE = 1001,
    INSPECT_ATTR_CLOSE = 1003,
    INSPECT_ATTR_MAINT = 1004,
    INSPECT_ATTR_BROKEN = 1005,
    INSPECT_ATTR_OPEN = 1008,
    INSPECT_ATTR_REPAIR = 1009,
    INSPECT_ATTR_LOOK = 1010,
    INSPECT_ATTR_REMOVE = 1011,
    INSPECT_ATTR_PRICE = 1013,
    INSPECT_ATTR_SETTING = 1014,
    INSPECT_ATTR_PRICE_LABEL = 1015,
    INSPECT_ATTR_LABEL1 = 1016,
    INSPECT_ATTR_LABEL2 = 1017,
    INSPECT_ATTR_BAR = 1018,
    INSPECT_ATTR_RIDE = 1019,
};

// The panel's size and the wear bar's thresholds.
inline constexpr float kInspectAttrWidth = 320.0f;
inline constexpr float kInspectAttrHeight = 360.0f;
inline constexpr float kInspectAttrWearLow = 0.5f;
inline constexpr float kInspectAttrWearHigh = 0.9f;

class MenuInspectAttr : public Menu3Base, public HudInspector {
  public:
    // ---- the operations, in their slot order ----
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "MenuInspectAttr"; }
    int Create(EntNode* node) override;
    int Update(float seconds) override;
    int OnMessage(const SlEvent* event) override;
    // The HUD that made it is the menu to return to.
    void SetOpenArgs(const MenuOpenArgs& args) override;

    using Menu3Base::Show;
    // The HUD's inspector call: InspectAttrShow.
    void Show(ENTBASE* entity) override;

    // The inspected attraction while it lives, else null.
    AttrBase* Attraction() const;
    // The controls from the attraction and its type (on show).
    void Fill();
    // The number controls into the attraction and its type.
    void Apply();
    // The counts and the wear, every frame.
    void Refresh();
    // The view from a seat of the ride, drawn at random; nothing for other attractions, a count
    // of 0, or a world without the ride camera, the main viewport or the management camera.
    void EnterRideCamera();
    // Whether the ride view can start: a ride with seats, in a world with the three cameras.
    bool CanRide();
    // The main viewport and the current camera back to the management camera.
    void LeaveRideCamera();
    // The cameras and the viewport, found again from the root.
    void FindCameras();

    // ---- fields ----
    StatBar3Style wearBar;
    EntRef attraction;
    EntRef hud;
    StaticText* maintText = nullptr;
    StaticText* brokenText = nullptr;
    StaticText* priceLabel = nullptr;
    StaticText* label1 = nullptr;
    StaticText* label2 = nullptr;
    StaticText* visitingValue = nullptr;
    StaticText* inLineValue = nullptr;
    IncDecButton* price = nullptr;
    IncDecButton* setting = nullptr;  // duration or odds
    IncDecButton* waitTime = nullptr; // the ride's waiting time
    GraphicCheckBox* openBox = nullptr;
    GraphicCheckBox* repairBox = nullptr;
    GraphicButton* rideButton = nullptr;
    Custom* bar = nullptr;
    bool rideCamOn = false;
    EntRef savedCamera;
    EntRef rideCamera;
    EntRef mainViewport;
    // The seat the ride view follows (-1 while it is off).
    int32_t rideSeat = -1;

  private:
    // The close, look-at and remove steps.
    int Close();
    int Remove();
};

// Null (or anything that is no inspectable attraction) leaves the ride view and hides and
// deactivates the panel; otherwise the panel takes the attraction, activates, fills and shows.
// Another attraction than the one shown ends the ride view first.
void InspectAttrShow(MenuInspectAttr* panel, ENTBASE* attraction);

// Class "MenuInspectAttr".
intptr_t EcMenuInspectAttrProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
