// The configuration dialog on the ImGui harness, with an adapter the test describes.
#pragma once

#include "platform/d3d8/D3d8Types.h"
#include "tests/imgui/ImGuiHarness.h"
#include "tests/support/TestSupport.h"
#include "tools/HwConfigDialog.h"

#include <gtest/gtest.h>

#include <set>

// The adapter llvmpipe shows: hardware T&L, windowed rendering, 16384 texels, 8 stages, and the
// depth formats the test accepts (all six by default).
inline HwConfigAdapter TestAdapter(const std::vector<D3DDISPLAYMODE>& modes,
                                   std::set<int> depths = {71, 73, 75, 77, 79, 80}) {
    HwConfigAdapter a;
    a.line = "llvmpipe (4.5 Mesa)";
    a.capsRead = true;
    a.caps.DevCaps = D3DDEVCAPS_HWTRANSFORMANDLIGHT;
    a.caps.Caps2 = D3DCAPS2_CANRENDERWINDOWED;
    a.caps.MaxTextureWidth = a.caps.MaxTextureHeight = 16384;
    a.caps.MaxTextureBlendStages = a.caps.MaxSimultaneousTextures = 8;
    a.modes = modes;
    a.acceptsDepth = [depths](int, int depth) { return depths.count(depth) != 0; };
    return a;
}

inline D3DDISPLAYMODE Mode(UINT w, UINT h, UINT hz, int format = 22) {
    return D3DDISPLAYMODE{w, h, hz, (D3DFORMAT)format};
}

class HwConfigDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(ui.Ok()) << ui.Error();
        HwConfigSetItemHook(ImGuiHarness::Record);
        HwConfigDefaults(&state.data);
    }
    void TearDown() override { HwConfigSetItemHook(nullptr); }

    void Frame() {
        ui.Frame([this] { HwConfigDialogFrame(&state); });
    }
    void Click(const std::string& id) {
        ASSERT_TRUE(ui.Has(id)) << id << " is not on the screen";
        const ImGuiItemRect r = ui.Item(id);
        ui.Click(r.CentreX(), r.CentreY(), [this] { HwConfigDialogFrame(&state); });
    }
    void Key(int key) {
        ui.PressKey(key, [this] { HwConfigDialogFrame(&state); });
    }
    // Shows a tab's page (it opens on the frame after the click). A tab bar lays its tabs out
    // on the frame after the one that first shows them.
    void ShowTab(const std::string& tab) {
        Frame();
        Frame();
        Click(tab);
        Frame();
    }

    ImGuiHarness ui{kHwConfigWidth, kHwConfigHeight};
    HwConfigDialogState state;
    TempDir dir;
};
