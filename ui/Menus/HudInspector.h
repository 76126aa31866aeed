// The one thing the HUD asks of its three inspectors: show this entity, or close on null.
#pragma once

class ENTBASE;

class HudInspector {
  public:
    virtual ~HudInspector() = default;
    virtual void Show(ENTBASE* entity) = 0;
};

// The inspectors' class names, by the kind of entity they show (patron, employee, attraction).
inline constexpr const char* kHudInspectorClasses[3] = {"MenuInspectRube", "MenuInspectCarny",
                                                        "MenuInspectAttr"};
