// Where the configuration dialog lays out its controls in its window, for the end-to-end run that
// clicks them in the real one: the dialog drawn on the ImGui harness at the window's size, a
// tab's page shown, then one "x0 y0 x1 y1 id" line per control. The banner takes the same rows
// as the shipped picture (the harness has none to draw).
//   hwconfig_items <tab id>      e.g. hwconfig_items "Sound##2107"
// Test-only: the game never links it.
#include "tests/imgui/ImGuiHarness.h"
#include "tools/HwConfigData.h"
#include "tools/HwConfigDialog.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: hwconfig_items <tab id>\n");
        return 2;
    }
    ImGuiHarness ui(kHwConfigWidth, kHwConfigHeight);
    if (!ui.Ok()) {
        std::fprintf(stderr, "hwconfig_items: %s\n", ui.Error().c_str());
        return 1;
    }
    HwConfigSetItemHook(ImGuiHarness::Record);
    HwConfigDialogState state;
    HwConfigDefaults(&state.data);
    const auto frame = [&state] { HwConfigDialogFrame(&state); };
    // A tab bar lays its tabs out on the frame after the one that first shows them; the page
    // opens on the frame after the click.
    ui.Frame(frame);
    ui.Frame(frame);
    if (!ui.Has(argv[1])) {
        std::fprintf(stderr, "hwconfig_items: no control \"%s\"\n", argv[1]);
        return 1;
    }
    const ImGuiItemRect tab = ui.Item(argv[1]);
    ui.Click(tab.CentreX(), tab.CentreY(), frame);
    ui.Frame(frame);
    for (const auto& [id, r] : ui.Items())
        std::printf("%.0f %.0f %.0f %.0f %s\n", r.x0, r.y0, r.x1, r.y1, id.c_str());
    HwConfigSetItemHook(nullptr);
    return 0;
}
