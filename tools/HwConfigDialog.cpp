// The configuration dialog's pages and buttons in Dear ImGui.
#include "tools/HwConfigDialog.h"

#include <imgui.h>

#include <cstdint>

static HwConfigItemHook s_itemHook = nullptr;

void HwConfigSetItemHook(HwConfigItemHook hook) {
    s_itemHook = hook;
}

namespace {

void Track(const char* id) {
    if (!s_itemHook) return;
    const ImVec2 a = ImGui::GetItemRectMin(), b = ImGui::GetItemRectMax();
    s_itemHook(id, a.x, a.y, b.x, b.y);
}

// A check box over a 32-bit switch of the settings.
void Switch(const char* id, int32_t* value) {
    bool on = *value != 0;
    if (ImGui::Checkbox(id, &on)) *value = on ? 1 : 0;
    Track(id);
}

bool Radio(const char* id, bool active) {
    const bool clicked = ImGui::RadioButton(id, active);
    Track(id);
    return clicked;
}

const HwConfigAdapter* Adapter(const HwConfigDialogState& s) {
    if (s.adapters.empty()) return nullptr;
    return &s.adapters[(size_t)HwConfigAdapterIndex(s)];
}

bool CanRenderWindowed(const HwConfigDialogState& s) {
    const HwConfigAdapter* a = Adapter(s);
    return a && a->capsRead && (a->caps.Caps2 & D3DCAPS2_CANRENDERWINDOWED);
}

void UpdateInfo(HwConfigDialogState* s) {
    const HwConfigAdapter* a = Adapter(*s);
    if (!a) {
        s->info = HwConfigInfoText(nullptr, -1);
        return;
    }
    const int display = s->data.format;
    const int depth =
        HwConfigBestDepth([&](int f) { return a->acceptsDepth && a->acceptsDepth(display, f); });
    s->info = HwConfigInfoText(a->capsRead ? &a->caps : nullptr, depth);
}

void FillModes(HwConfigDialogState* s) {
    const HwConfigAdapter* a = Adapter(*s);
    s->modes = a ? HwConfigFoldModes(a->modes) : std::vector<HwConfigMode>{};
    s->selectedMode = HwConfigSelectMode(s->modes, s->data.hRes, s->data.vRes, s->data.format);
}

void OpenPage(HwConfigDialogState* s, int page) {
    s->page = page;
    if (page != HW_PAGE_VIDEO) return;
    s->data.deviceId = HwConfigAdapterIndex(*s);
    FillModes(s);
    UpdateInfo(s);
}

void ClosePage(HwConfigDialogState* s) {
    if (s->page == HW_PAGE_VIDEO) HwConfigApplyMode(&s->data, s->modes, s->selectedMode);
    s->page = 0;
}

void GeneralPage(HwConfigDialogState* s) {
    HwConfigData& d = s->data;
    Switch("Always Show This Config Menu##21007", &d.runHwConfig);
    ImGui::Spacing();
    ImGui::TextUnformatted("Default Detail Level:");
    // The game has one level of detail: the choice is shown, and kept in the file, but cannot
    // be changed here.
    ImGui::BeginDisabled();
    const char* ids[3] = {"LOW: 900 MHz PC with older 3D video card.##21029",
                          "MEDIUM: 1.5 GHz PC with basic 3D video card.##21030",
                          "HIGH: 2.5 GHz PC with cutting-edge 3D video card.##21031"};
    for (int level = 0; level < 3; ++level)
        if (Radio(ids[level], d.defaultDetail == level)) {
            d.defaultDetail = level;
            d.detailOverride = 1;
        }
    ImGui::EndDisabled();
}

void VideoPage(HwConfigDialogState* s) {
    HwConfigData& d = s->data;
    const int current = HwConfigAdapterIndex(*s);
    const char* preview = s->adapters.empty() ? "" : s->adapters[(size_t)current].line.c_str();
    if (ImGui::BeginCombo("##21014", preview)) {
        for (size_t i = 0; i < s->adapters.size(); ++i)
            if (ImGui::Selectable(s->adapters[i].line.c_str(), (int)i == current) &&
                (int)i != current) {
                d.deviceId = (int32_t)i;
                FillModes(s);
                UpdateInfo(s);
            }
        ImGui::EndCombo();
    }
    Track("##21014");

    // The mode list and vertical sync matter only in full screen.
    const bool fullScreenOnly = CanRenderWindowed(*s) && d.windowed;
    ImGui::BeginDisabled(fullScreenOnly);
    if (ImGui::BeginListBox("##21010", ImVec2(-1.0f, 8 * ImGui::GetTextLineHeightWithSpacing()))) {
        for (size_t i = 0; i < s->modes.size(); ++i) {
            const std::string line = HwConfigModeLine(s->modes[i]);
            ImGui::PushID((int)i);
            if (ImGui::Selectable(line.c_str(), (int)i == s->selectedMode)) {
                s->selectedMode = (int)i;
                d.format = s->modes[i].format;
                UpdateInfo(s);
            }
            ImGui::PopID();
        }
        ImGui::EndListBox();
    }
    Track("##21010");
    ImGui::EndDisabled();

    ImGui::TextUnformatted("Video Card Info:");
    ImGui::TextUnformatted(s->info.c_str());
    Track("##21015");

    ImGui::BeginDisabled(!CanRenderWindowed(*s));
    Switch("Run Windowed##21013", &d.windowed);
    ImGui::EndDisabled();
    ImGui::BeginDisabled(fullScreenOnly);
    Switch("Lock to Vsync##21016", &d.lockVsync);
    ImGui::EndDisabled();
    // The renderer always leaves vertex processing to the driver.
    ImGui::BeginDisabled();
    Switch("Force Software TL##21008", &d.forceSoftwareVP);
    ImGui::EndDisabled();
    // "Triple Buffer" (21017) and "Enable Stencil Buffer" (21019) are hidden: their values pass
    // through the file untouched.
}

void SoundPage(HwConfigDialogState* s) {
    HwConfigData& d = s->data;
    Switch("Enable Sound System##21011", &d.digDriverEnabled);
    ImGui::BeginDisabled(!d.digDriverEnabled);
    Switch("Enable 3d Sound##21018", &d.dig3dEnabled);
    Switch("MP3 Music##21012", &d.enableMP3Music);
    ImGui::EndDisabled();
}

void DebugPage(HwConfigDialogState* s) {
    HwConfigData& d = s->data;
    Switch("Enable Debug Output##21006", &d.debug);
    // The game draws the whole world and has no status display or quick start: these keys only
    // pass through the file.
    ImGui::BeginDisabled();
    Switch("Draw Terrain##21020", &d.drawTer);
    Switch("Draw Water##21021", &d.drawWater);
    Switch("Draw Grass##21022", &d.drawGrass);
    ImGui::TextUnformatted("Status Display");
    // The three keys are stored together on any click.
    int32_t* keys[3] = {&d.displayNone, &d.displaySimple, &d.displayVerbose};
    const char* ids[3] = {"None##21023", "Simple##21024", "Verbose##21025"};
    for (int i = 0; i < 3; ++i) {
        if (i) ImGui::SameLine();
        if (Radio(ids[i], *keys[i] != 0))
            for (int k = 0; k < 3; ++k)
                *keys[k] = k == i ? 1 : 0;
    }
    Switch("Quick Startup##21028", &d.quickStart);
    ImGui::EndDisabled();
    // Read only for a game in a window.
    ImGui::BeginDisabled(!d.windowed);
    Switch("Run While Inactive##21034", &d.runWhileInactive);
    Switch("Lockable Back Buffer##21035", &d.lockableBackbuffer);
    ImGui::EndDisabled();
}

} // namespace

int HwConfigAdapterIndex(const HwConfigDialogState& state) {
    const int id = state.data.deviceId;
    return id >= 0 && id < (int)state.adapters.size() ? id : 0;
}

void HwConfigDialogFrame(HwConfigDialogState* s) {
    if (!s || s->result >= 0) return;
    const ImGuiViewport* view = ImGui::GetMainViewport();
    ImGui::SetNextWindowPos(view->Pos);
    ImGui::SetNextWindowSize(view->Size);
    const ImGuiWindowFlags flags = ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove |
                                   ImGuiWindowFlags_NoSavedSettings |
                                   ImGuiWindowFlags_NoBringToFrontOnFocus;
    ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(0.0f, 0.0f));
    ImGui::Begin("Xq Config", nullptr, flags);
    ImGui::PopStyleVar();

    const float width = ImGui::GetContentRegionAvail().x;
    if (s->bannerTexture)
        ImGui::Image((ImTextureID)(intptr_t)s->bannerTexture,
                     ImVec2((float)s->bannerWidth, (float)s->bannerHeight));
    else
        ImGui::Dummy(ImVec2(width, (float)kHwConfigBannerHeight));
    Track("##21027");

    ImGui::Indent(8.0f);
    ImGui::BeginChild("pages", ImVec2(width - 16.0f, -40.0f));
    int shown = 0;
    if (ImGui::BeginTabBar("##21003")) {
        // Sound has a tab of its own for every player: reaching its switches only through the
        // developer's tab would hide them from everyone else.
        const struct {
            const char* label;
            int page;
        } tabs[] = {{"General##2111", HW_PAGE_GENERAL},
                    {"Video##2114", HW_PAGE_VIDEO},
                    {"Sound##2107", HW_PAGE_SOUND},
                    {"Debug / Developer##2113", HW_PAGE_DEBUG}};
        for (const auto& tab : tabs) {
            if (tab.page == HW_PAGE_DEBUG && !s->data.developer) continue;
            const bool open = ImGui::BeginTabItem(tab.label);
            Track(tab.label);
            if (!open) continue;
            shown = tab.page;
            if (s->page != shown) {
                ClosePage(s);
                OpenPage(s, shown);
            }
            switch (shown) {
                case HW_PAGE_GENERAL: GeneralPage(s); break;
                case HW_PAGE_VIDEO: VideoPage(s); break;
                case HW_PAGE_SOUND: SoundPage(s); break;
                default: DebugPage(s); break;
            }
            ImGui::EndTabItem();
        }
        ImGui::EndTabBar();
    }
    if (!shown) ClosePage(s);
    ImGui::EndChild();

    if (ImGui::Button("Play Game##1", ImVec2(120.0f, 0.0f))) s->result = 1;
    Track("Play Game##1");
    ImGui::SameLine();
    if (ImGui::Button("Exit##2", ImVec2(120.0f, 0.0f))) s->result = 0;
    Track("Exit##2");
    ImGui::Unindent(8.0f);
    if (ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Enter), false)) s->result = 1;
    if (ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Escape), false)) s->result = 0;
    ImGui::End();
}

void HwConfigDialogEnd(HwConfigDialogState* state) {
    if (!state) return;
    ClosePage(state);
    // The game asks the display for the mode written here: one the adapter does not list
    // (the defaults, a file from another machine, the video page never opened) becomes the line
    // the list would select, as leaving the video page does.
    FillModes(state);
    HwConfigApplyMode(&state->data, state->modes, state->selectedMode);
}
