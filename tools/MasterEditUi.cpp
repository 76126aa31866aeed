// The editor-mode window's ImGui half: the menu bar and the three panes as fixed windows. The
// game view is what the panes leave free.
#include "I3d/Device.h"
#include "tools/MasterEdit.h"

#include <imgui.h>

#include <cstdint>

namespace {

struct MenuItem {
    const char* text;
    int id;
};

struct Menu {
    const char* title;
    const MenuItem* items;
    int count;
};

// Items without an action of their own carry ids the command table does not know.
const MenuItem kFile[] = {{"Save", EDCMD_SAVE}, {"Exit", EDCMD_EXIT}};
const MenuItem kEntity[] = {
    {"Save Selected Entity", EDCMD_SAVE_SELECTED},
    {"Save All Changed Entities", EDCMD_SAVE_CHANGED},
    {"Undo changes!", EDCMD_UNDO},
    {"Duplicate Entity", EDCMD_DUPLICATE},
    {"Environment...", 40040},
    {"Terrain...", 40041},
    {"Water...", 40042},
    {"Sky Dome...", 40043},
    {"Sky Box...", 40044},
    {"Sun...", 40045},
    {"Snap entity to view", 40046},
};
const MenuItem kView[] = {
    {"DevInfo", EDCMD_DEVINFO},
    {"EntDev", 40050},
    {"Radar", 40051},
    {"Map", 40052},
    {"Sky", 40053},
    {"Terrain", 40054},
    {"Water", 40055},
    {"Detail Map", 40056},
    {"Wireframe", 40057},
};
const MenuItem kOptions[] = {
    {"1/4 Speed", 40060}, {"1/2 Speed", 40061}, {"Normal Speed", 40062},
    {"2X Speed", 40063},  {"4X Speed", 40064},  {"Pause", 40065},
};
const MenuItem kScripts[] = {
    {"Script1.lua", EDCMD_SCRIPT1}, {"Script2.lua", EDCMD_SCRIPT2}, {"Script3.lua", EDCMD_SCRIPT3}};

#define MENU(title, items)                                                                         \
    { title, items, (int)(sizeof(items) / sizeof(items[0])) }
const Menu kMenus[] = {MENU("File", kFile), MENU("Entity", kEntity), MENU("View", kView),
                       MENU("Options", kOptions), MENU("Scripts", kScripts)};
#undef MENU

MasterEdit::ItemHook s_itemHook = nullptr;

void BeginFixed(const char* title, const EditorRect& r) {
    ImGui::SetNextWindowPos(ImVec2((float)r.x, (float)r.y));
    ImGui::SetNextWindowSize(ImVec2((float)r.width, (float)r.height));
    ImGui::Begin(title, nullptr,
                 ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoCollapse |
                     ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoBringToFrontOnFocus);
}

} // namespace

void MasterEdit::SetItemHook(ItemHook hook) {
    s_itemHook = hook;
}

void MasterEdit::ReportItem(const char* id) {
    if (!s_itemHook) return;
    const ImVec2 a = ImGui::GetItemRectMin(), b = ImGui::GetItemRectMax();
    s_itemHook(id, a.x, a.y, b.x, b.y);
}

void MasterEdit::DrawUi() {
    if (!m_active) return;
    int command = 0;
    if (ImGui::BeginMainMenuBar()) {
        for (const Menu& menu : kMenus) {
            const bool open = ImGui::BeginMenu(menu.title);
            ReportItem(menu.title);
            if (!open) continue;
            for (int i = 0; i < menu.count; ++i) {
                if (ImGui::MenuItem(menu.items[i].text)) command = menu.items[i].id;
                ReportItem(menu.items[i].text);
            }
            ImGui::EndMenu();
        }
        SetMenuBarHeight((int)ImGui::GetWindowSize().y);
        ImGui::EndMainMenuBar();
    }
    // The game view: the game's picture, whose rows run bottom-up.
    if (unsigned texture = Composing() ? I3dViewTexture() : 0) {
        const EditorRect& v = m_rects.view;
        ImGui::GetBackgroundDrawList()->AddImage(
            (ImTextureID)(intptr_t)texture, ImVec2((float)v.x, (float)v.y),
            ImVec2((float)(v.x + v.width), (float)(v.y + v.height)), ImVec2(0, 1), ImVec2(1, 0));
    }
    BeginFixed("Tools", m_rects.tool);
    if (m_panes) m_panes->DrawTool();
    ImGui::End();
    BeginFixed("Console", m_rects.console);
    if (m_panes) m_panes->DrawConsole();
    ImGui::End();
    BeginFixed("Params", m_rects.params);
    if (m_panes) m_panes->DrawParams();
    ImGui::End();
    // After the frame's widgets: a command may destroy or make entities.
    if (command) Command(0, command);
}
