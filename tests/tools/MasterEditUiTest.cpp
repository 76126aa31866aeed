// The editor-mode window's menu bar and panes, drawn and clicked on the ImGui harness.
#include "tests/imgui/ImGuiHarness.h"
#include "tests/tools/MasterEditFixture.h"

class MasterEditUiTest : public MasterEditTest {
  protected:
    void SetUp() override {
        MasterEditTest::SetUp();
        ASSERT_TRUE(ui.Ok()) << ui.Error();
        MasterEdit::SetItemHook(ImGuiHarness::Record);
        Enter();
    }
    void TearDown() override {
        MasterEdit::SetItemHook(nullptr);
        MasterEditTest::TearDown();
    }
    void Frame() {
        ui.Frame([this] { editor.DrawUi(); });
    }
    void Click(const std::string& id) {
        ASSERT_TRUE(ui.Has(id)) << id << " is not on the screen";
        const ImGuiItemRect r = ui.Item(id);
        ui.Click(r.CentreX(), r.CentreY(), [this] { editor.DrawUi(); });
    }
    void Choose(const std::string& menu, const std::string& item) {
        Frame();
        Click(menu);
        Frame();
        Click(item);
    }

    ImGuiHarness ui{EDITOR_WIDTH, EDITOR_HEIGHT};
};

TEST_F(MasterEditUiTest, TheMenusListTheirItemsInOrderAndRunTheirCommands) {
    EditProp* tent = MakeEditProp(world, "Tent", {0, 0, 10});
    editor.SelectAlone(tent);
    Frame();
    std::vector<std::string> titles;
    float lastX = -1;
    for (const char* title : {"File", "Entity", "View", "Options", "Scripts"}) {
        ASSERT_TRUE(ui.Has(title)) << title;
        EXPECT_GT(ui.Item(title).x0, lastX) << title << " follows the one before";
        lastX = ui.Item(title).x0;
    }
    EXPECT_EQ(editor.MenuBarHeight(),
              (int)(ImGui::GetFontSize() + ImGui::GetStyle().FramePadding.y * 2.0f))
        << "the layout takes the bar's real height";
    EXPECT_EQ(editor.Rects().view.y, editor.MenuBarHeight());

    Choose("Entity", "Duplicate Entity");
    EXPECT_NE(EntTreeFindName(root, "Tentx"), nullptr);
    Choose("File", "Save");
    EXPECT_NE(Log().find("Beep 880 Hz 100 ms"), std::string::npos);

    Frame();
    Click("Entity");
    Frame();
    float lastY = -1;
    for (const char* item : {"Save Selected Entity", "Save All Changed Entities", "Undo changes!",
                             "Duplicate Entity", "Environment...", "Snap entity to view"}) {
        ASSERT_TRUE(ui.Has(item)) << item;
        EXPECT_GT(ui.Item(item).y0, lastY) << item;
        lastY = ui.Item(item).y0;
    }
}

TEST_F(MasterEditUiTest, ThePanesStandWhereTheLayoutPutsThemAndTheViewIsLeftClear) {
    Frame();
    Frame();
    const EditorRects& r = editor.Rects();
    const ImVec4 bg = ImGui::GetStyle().Colors[ImGuiCol_WindowBg];
    // Window backgrounds are translucent over the harness's black: compare with the blend.
    const uint32_t tool = ui.Pixel(r.tool.x + r.tool.width / 2, r.tool.y + r.tool.height / 2);
    const int red = (int)(bg.x * bg.w * 255.0f + 0.5f);
    EXPECT_NEAR((int)((tool >> 16) & 0xFF), red, 2) << std::hex << tool;
    const uint32_t view = ui.Pixel(r.view.x + r.view.width / 2, r.view.y + r.view.height / 2);
    EXPECT_NE(view, tool) << "no pane covers the game view";
    const uint32_t console = ui.Pixel(r.console.x + 20, r.console.y + r.console.height / 2);
    EXPECT_EQ(console, tool);
}
