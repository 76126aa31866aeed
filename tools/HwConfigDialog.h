// The configuration dialog's window contents, drawn with Dear ImGui one frame at a time: the
// banner, the pages behind their tabs, "Play Game" and "Exit". Controls carry their resource ids
// as ImGui ids ("Run Windowed##21013").
#pragma once

#include "I3d/Adapters.h"
#include "tools/HwConfigData.h"
#include "tools/HwConfigModes.h"

#include <functional>
#include <string>
#include <vector>

// What the video page shows of one adapter.
using HwConfigAdapter = I3dAdapterFacts;

// The pages, by their resource ids; 0 is none.
enum : int {
    HW_PAGE_GENERAL = 2111,
    HW_PAGE_VIDEO = 2114,
    HW_PAGE_SOUND = 2107,
    HW_PAGE_DEBUG = 2113,
};

struct HwConfigDialogState {
    HwConfigData data{};
    std::vector<HwConfigAdapter> adapters;
    // The open video page's mode list and its selected line (-1: none).
    std::vector<HwConfigMode> modes;
    int selectedMode = -1;
    std::string info;
    int page = 0;    // the open page
    int result = -1; // -1 while the dialog runs; 1 "Play Game", 0 "Exit"
    // The banner as a GL texture (0: none, the area stays empty).
    unsigned bannerTexture = 0;
    int bannerWidth = 0;
    int bannerHeight = 0;
};

// The dialog's fixed window size, and the banner area at its top.
constexpr int kHwConfigWidth = 440;
constexpr int kHwConfigHeight = 520;
constexpr int kHwConfigBannerHeight = 80;

// The widgets of one frame, between ImGui::NewFrame and ImGui::Render. Enter is "Play Game",
// Escape "Exit". A page opens the first frame its tab shows and closes the frame it stops.
void HwConfigDialogFrame(HwConfigDialogState* state);

// Closes the open page (the video page writes its selected mode), as the dialog ends; a mode the
// adapter does not list is then replaced by the one its list would select.
void HwConfigDialogEnd(HwConfigDialogState* state);

// The adapter the settings name (0 when they name none that exists).
int HwConfigAdapterIndex(const HwConfigDialogState& state);

// Called after each control with its id and its rectangle in window pixels; for tests.
using HwConfigItemHook = void (*)(const char* id, float x0, float y0, float x1, float y1);
void HwConfigSetItemHook(HwConfigItemHook hook);
