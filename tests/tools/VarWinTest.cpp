// The params pane's rows: their rules, what they write into the entity, and that showing them
// changes nothing.
#include "tools/VarWin.h"
#include "engine/VarTable.h"
#include "tests/imgui/ImGuiHarness.h"
#include "tests/tools/VarTestEnt.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

template <typename Row>
Row* Find(const VarRows& rows, const char* label) {
    for (auto& row : rows)
        if (std::strcmp(row->Label(), label) == 0) return dynamic_cast<Row*>(row.get());
    return nullptr;
}

std::string Format(float value) {
    char text[VARWIN_TEXT_MAX];
    VarFormatFloat(value, text, sizeof text);
    return text;
}

class VarWinTest : public ::testing::Test {
  protected:
    void SetUp() override {
        VarTestEnt::s_commands = 0;
        VarTestEnt::s_commandArg = nullptr;
        VarDbWndBuild(&rows, &ent, ent.classDb);
    }
    template <typename Row>
    Row* Get(const char* label) {
        Row* row = Find<Row>(rows, label);
        EXPECT_NE(row, nullptr) << label;
        return row;
    }
    void Widgets() {
        ImGui::SetNextWindowPos(ImVec2(0, 0));
        ImGui::SetNextWindowSize(ImVec2(600, 400));
        ImGui::Begin("Rows");
        for (size_t i = 0; i < rows.size(); ++i) {
            rows[i]->Draw((int)i);
            ImGuiHarness::Record(rows[i]->Label(), ImGui::GetItemRectMin().x,
                                 ImGui::GetItemRectMin().y, ImGui::GetItemRectMax().x,
                                 ImGui::GetItemRectMax().y);
        }
        ImGui::End();
    }
    void Draw() {
        ui.Frame([this] { Widgets(); });
    }

    VarTestEnt ent;
    VarRows rows;
    ImGuiHarness ui{600, 400};
};

} // namespace

TEST(VarWinRules, FloatsAreShownWithoutTrailingZerosAndPlacedOnTheirRange) {
    EXPECT_EQ(Format(12.0f), "12.") << "the point stays";
    EXPECT_EQ(Format(-3.25f), "-3.25");
    EXPECT_EQ(Format(0.5f), "0.5");
    EXPECT_EQ(Format(0.0f), "0.");
    EXPECT_EQ(Format(100.0f), "100.") << "zeros before the point stay";
    EXPECT_NE(Format(std::nanf("")).find("nan"), std::string::npos);
    EXPECT_EQ(Format(INFINITY), "inf");
    EXPECT_EQ(Format(-INFINITY), "-inf");
    char tiny[3];
    VarFormatFloat(123.5f, tiny, sizeof tiny);
    EXPECT_STREQ(tiny, "12") << "cut to the buffer";

    EXPECT_EQ(VarFloatPosition(12.0f, 0, 10), 1024) << "above the range: the right end";
    EXPECT_EQ(VarFloatPosition(-5.0f, 0, 10), 0);
    EXPECT_EQ(VarFloatPosition(0.5f, 0, 10), 51);
    EXPECT_EQ(VarFloatPosition(std::nanf(""), 0, 10), 0);
    EXPECT_EQ(VarFloatPosition(INFINITY, 0, 10), 0);
    EXPECT_EQ(VarFloatPosition(-INFINITY, 0, 10), 0);
    EXPECT_EQ(VarFloatPosition(1.0f, 0, 0), 0) << "no range: no division";
    EXPECT_EQ(VarFloatPosition(1.0f, 5, -5), 0);
    EXPECT_FLOAT_EQ(VarFloatFromPosition(512, 0, 1000), 500.0f);

    EXPECT_EQ(VarIntPage(0, 100), 10);
    EXPECT_EQ(VarIntPage(0, 5), 0);
    EXPECT_EQ(VarIntPage(-19, 0), 1) << "truncated toward zero";
    EXPECT_EQ(VarIntPage(INT_MIN, INT_MAX), 429496729) << "no overflow";
}

TEST(VarWinRules, TextIsReadAsTheConversionsGiveItFromTheFirst128Characters) {
    EXPECT_TRUE(std::isinf(VarTextToFloat("1e999")));
    EXPECT_EQ(VarTextToFloat("abc"), 0.0f);
    EXPECT_EQ(VarTextToFloat(nullptr), 0.0f);
    EXPECT_EQ(VarTextToFloat((std::string(127, ' ') + "5").c_str()), 5.0f);
    EXPECT_EQ(VarTextToFloat((std::string(128, ' ') + "5").c_str()), 0.0f);
    EXPECT_EQ(VarTextToInt("42x"), 42);
    EXPECT_EQ(VarTextToInt("0x10"), 0) << "decimal only";
    EXPECT_EQ(VarTextToInt("99999999999999"), INT_MAX);
    EXPECT_EQ(VarTextToInt("-99999999999999"), INT_MIN);
}

TEST_F(VarWinTest, EveryFieldGivesItsRowsInOrderAndShowingChangesNothing) {
    std::vector<std::string> labels;
    for (auto& row : rows) {
        labels.push_back(row->Label());
        EXPECT_TRUE(row->created) << row->Label();
    }
    const std::vector<std::string> expected = {
        "count", "speed", "turn",  "label", "on",   "tint.r", "tint.g", "tint.b", "pos.x", "pos.y",
        "pos.z", "Fire",  "Looks", "c4",    "word", "far",    "notes",  "small",  "back"};
    EXPECT_EQ(labels, expected);
    EXPECT_EQ(typeid(*rows[13]), typeid(CVarWin)) << "COLOR4B: its label only";
    EXPECT_EQ(typeid(*rows[14]), typeid(CVarWin)) << "void: its label only";
    EXPECT_NE(Get<CVarWinSeparator>("Looks"), nullptr);
    EXPECT_NE(Get<CVarWinCommand>("Fire"), nullptr);

    CVarWin fresh(&ent, nullptr);
    EXPECT_STREQ(fresh.Label(), "*ERROR*");

    ASSERT_TRUE(ui.Ok()) << ui.Error();
    const uint32_t flagsBefore = ent.flags;
    for (int i = 0; i < 10; ++i)
        Draw();
    EXPECT_EQ(ent.varsChanged, 0);
    EXPECT_EQ(ent.flags, flagsBefore);
    EXPECT_EQ(ent.count, 50);
}

TEST_F(VarWinTest, RowsNotYetCreatedOrWithoutTheirEntityIgnoreInput) {
    CVarWinFloat early(&ent, VarTestDb()->first->next, PROP_OFFSET(VarTestEnt, speed), 0, 10, 1);
    early.Line(1);
    early.TextChanged("7");
    EXPECT_EQ(ent.speed, 0.0f);
    EXPECT_EQ(ent.varsChanged, 0);

    auto* count = Get<CVarWinInt>("count");
    count->Drop();
    count->Line(1);
    count->TextChanged("3");
    EXPECT_EQ(ent.count, 50);
    EXPECT_EQ(ent.varsChanged, 0);
}

TEST_F(VarWinTest, FloatRowsFollowTheirRangeStepAndText) {
    auto* speed = Get<CVarWinFloat>("speed");
    ent.speed = 12.0f;
    speed->Create();
    EXPECT_EQ(speed->Position(), 1024);
    EXPECT_STREQ(speed->Text(), "12.");
    EXPECT_EQ(ent.speed, 12.0f) << "the thumb at the end does not pull the value in";

    speed->TextChanged("0.5");
    EXPECT_EQ(ent.speed, 0.5f);
    EXPECT_EQ(speed->Position(), 51);
    EXPECT_EQ(ent.varsChanged, 1);
    EXPECT_TRUE(ent.flags & ENT_FLAG_CHANGED);

    speed->TextChanged("abc");
    EXPECT_EQ(ent.speed, 0.0f);
    speed->TextChanged("1e999");
    EXPECT_TRUE(std::isinf(ent.speed));
    EXPECT_EQ(speed->Position(), 0);
    speed->Deactivated();
    EXPECT_STREQ(speed->Text(), "inf");

    auto* far = Get<CVarWinFloat>("far");
    far->Line(1);
    EXPECT_EQ(ent.far, 1.0f);
    far->Page(1);
    EXPECT_EQ(ent.far, 101.0f);
    far->Page(-1);
    far->Line(-1);
    EXPECT_EQ(ent.far, 0.0f);
    far->Thumb(512);
    EXPECT_EQ(ent.far, 500.0f);
    EXPECT_STREQ(far->Text(), "500.");
}

TEST_F(VarWinTest, TypingIntoAFloatRowStoresAtOnceAndReformatsWhenLeft) {
    ASSERT_TRUE(ui.Ok()) << ui.Error();
    auto* speed = Get<CVarWinFloat>("speed");
    ent.speed = 3.0f;
    speed->Create();
    Draw();
    const ImGuiItemRect r = ui.Item("speed");
    // The row's last item is its right arrow; the text box is the row's first control, at
    // 30% of the window.
    ui.Click(600 * 0.3f + 10, r.CentreY(), [this] { Widgets(); });
    ui.PressKey(ImGuiKey_End, [this] { Widgets(); });
    for (int i = 0; i < 3; ++i)
        ui.PressKey(ImGuiKey_Backspace, [this] { Widgets(); });
    ui.Type("0.50", [this] { Widgets(); });
    EXPECT_EQ(ent.speed, 0.5f);
    EXPECT_EQ(speed->Position(), 51);
    EXPECT_STREQ(speed->Text(), "0.50");
    ui.Click(590, 390, [this] { Widgets(); });
    EXPECT_STREQ(speed->Text(), "0.5") << "formatted anew when the box is left";

    // The arrows: a line step, and a page with Shift.
    Draw();
    const ImGuiItemRect more = ui.Item("speed");
    const int before = ent.varsChanged;
    ui.Click(more.CentreX(), more.CentreY(), [this] { Widgets(); });
    EXPECT_EQ(ent.speed, 1.0f);
    ui.SetShift(true);
    ui.Click(more.CentreX(), more.CentreY(), [this] { Widgets(); });
    ui.SetShift(false);
    EXPECT_EQ(ent.speed, 2.0f);
    EXPECT_EQ(ent.varsChanged, before + 2);
}

TEST_F(VarWinTest, IntStringBoolAndCommandRows) {
    auto* count = Get<CVarWinInt>("count");
    count->Line(1);
    EXPECT_EQ(ent.count, 51);
    count->Page(1);
    EXPECT_EQ(ent.count, 61);
    count->Thumb(7);
    EXPECT_EQ(ent.count, 7);
    EXPECT_STREQ(count->Text(), "7");
    count->TextChanged("-12");
    EXPECT_EQ(ent.count, -12);

    auto* small = Get<CVarWinInt>("small");
    small->Page(1);
    EXPECT_EQ(ent.small, 0) << "a tenth of 0..5 is no step";
    auto* back = Get<CVarWinInt>("back");
    EXPECT_FALSE(back->HasSlider());
    back->Thumb(3);
    EXPECT_EQ(ent.back, 0);
    back->Line(1);
    EXPECT_EQ(ent.back, 1) << "the arrows still work";

    auto* label = Get<CVarWinString>("label");
    EXPECT_EQ(label->BufferSize(), 16);
    label->TextChanged("abcdefghijklmnopqrstuvwxyz");
    EXPECT_STREQ(ent.label, "abcdefghijklmno");
    auto* notes = Get<CVarWinString>("notes");
    EXPECT_EQ(notes->BufferSize(), 128);
    const std::string longText(300, 'n');
    notes->TextChanged(longText.c_str());
    EXPECT_EQ(std::strlen(ent.notes), 127u);

    auto* on = Get<CVarWinBool>("on");
    on->Clicked(true);
    EXPECT_EQ(ent.on, 1);
    on->Clicked(false);
    EXPECT_EQ(ent.on, 0);

    const int changes = ent.varsChanged;
    ent.flags &= ~ENT_FLAG_CHANGED;
    Get<CVarWinCommand>("Fire")->Clicked();
    EXPECT_EQ(VarTestEnt::s_commands, 1);
    EXPECT_EQ(VarTestEnt::s_commandArg, &ent);
    EXPECT_EQ(ent.varsChanged, changes + 1);
    EXPECT_TRUE(ent.flags & ENT_FLAG_CHANGED);
}

TEST_F(VarWinTest, ClickedRowsWriteThroughImGui) {
    ASSERT_TRUE(ui.Ok()) << ui.Error();
    Draw();
    ASSERT_TRUE(ui.Has("Fire"));
    const ImGuiItemRect fire = ui.Item("Fire");
    ui.Click(fire.CentreX(), fire.CentreY(), [this] { Widgets(); });
    EXPECT_EQ(VarTestEnt::s_commands, 1);
    const ImGuiItemRect on = ui.Item("on");
    ui.Click(on.CentreX(), on.CentreY(), [this] { Widgets(); });
    EXPECT_EQ(ent.on, 1);
}

TEST_F(VarWinTest, ColourAndVectorRowsHaveRangesOfTheirOwn) {
    auto* tint = Get<CVarWinFloat>("tint.g");
    EXPECT_TRUE(tint->HasSlider());
    EXPECT_EQ(tint->Min(), 0.0f);
    EXPECT_EQ(tint->Max(), 1.0f);
    tint->Thumb(1024);
    EXPECT_EQ(ent.tint[1], 1.0f);
    EXPECT_EQ(ent.tint[0], 0.5f) << "only its own component";
    tint->Line(-1);
    EXPECT_NEAR(ent.tint[1], 0.99f, 1e-6);

    auto* y = Get<CVarWinFloat>("pos.y");
    EXPECT_FALSE(y->HasSlider());
    EXPECT_EQ(y->Position(), 0);
    y->Line(1);
    y->Page(1); // no range: a page is nothing
    y->Thumb(700);
    EXPECT_EQ(ent.pos.y, 1.0f);
    EXPECT_EQ(ent.pos.x, 0.0f);
    Draw(); // no slider drawn, nothing divided
}

TEST_F(VarWinTest, NonUtf8TextAndNonFiniteValuesAreShownWithoutHarm) {
    ASSERT_TRUE(ui.Ok()) << ui.Error();
    const char bad[] = {'\xff', '\xc3', '\x28', 'a', '\xe2', '\x82', 0};
    std::memcpy(ent.label, bad, sizeof bad);
    ent.speed = std::nanf("");
    VarDbWndBuild(&rows, &ent, ent.classDb);
    Draw();
    EXPECT_EQ(Get<CVarWinFloat>("speed")->Position(), 0);
    EXPECT_NE(std::string(Get<CVarWinFloat>("speed")->Text()).find("nan"), std::string::npos);
    EXPECT_EQ(ent.varsChanged, 0);
}

TEST_F(VarWinTest, InstanceTableEntriesFollowTheDatabaseRows) {
    VarTable* table = VarTableCreate(5);
    ASSERT_NE(table, nullptr);
    VarTableAddFloat(table, "pos.x", PROP_OFFSET(VarTestEnt, pos), 0.0f, -100.0f, 100.0f, 0);
    VarTableAddBool(table, "flag", PROP_OFFSET(VarTestEnt, small), 0, 0);
    VarTableAddInt(table, "n", PROP_OFFSET(VarTestEnt, count), 0, 0, 10, 0);
    VarTableAddCommand(
        table, "Calculate transTime", [](void* o) { VarTestEnt::s_commandArg = o; }, 0);
    VarTableAddSeparator(table, "More");
    ent.table = table;
    VarDbWndBuild(&rows, &ent, ent.classDb);
    ASSERT_EQ(rows.size(), 19u + 5u);
    auto* x = dynamic_cast<VarDbWnd*>(rows[19].get());
    ASSERT_NE(x, nullptr);
    EXPECT_STREQ(x->Label(), "pos.x");
    x->TextChanged("12.5");
    EXPECT_EQ(ent.pos.x, 12.5f);
    x->Thumb(1024);
    EXPECT_EQ(ent.pos.x, 100.0f);
    EXPECT_STREQ(x->Text(), "100.");
    auto* flag = dynamic_cast<VarDbWnd*>(rows[20].get());
    flag->Clicked(true);
    EXPECT_EQ(ent.small, 1);
    auto* n = dynamic_cast<VarDbWnd*>(rows[21].get());
    n->Thumb(99);
    EXPECT_EQ(ent.count, 10) << "clamped to the entry's range";
    dynamic_cast<VarDbWnd*>(rows[22].get())->Clicked(true);
    EXPECT_EQ(VarTestEnt::s_commandArg, &ent);
    EXPECT_EQ(ent.varsChanged, 5);
    EXPECT_TRUE(ent.flags & ENT_FLAG_CHANGED);
    if (ui.Ok()) Draw();
    rows.clear();
    ent.table = nullptr;
    VarTableDestroy(table);
}

// An instance table is never saved with its entity: its rows show the values and take no edits,
// so nothing the developer types there is lost at the next load.
TEST_F(VarWinTest, InstanceTableRowsAreShownReadOnly) {
    ASSERT_TRUE(ui.Ok()) << ui.Error();
    VarTable* table = VarTableCreate(2);
    ASSERT_NE(table, nullptr);
    VarTableAddBool(table, "flag", PROP_OFFSET(VarTestEnt, small), 0, 0);
    VarTableAddString(table, "notes", PROP_OFFSET(VarTestEnt, notes), 299, "", 0);
    ent.table = table;
    rows.clear();
    VarDbWndBuild(&rows, &ent, nullptr); // the table's rows alone, all inside the window
    Draw();
    ASSERT_TRUE(ui.Has("flag") && ui.Has("notes"));
    const ImGuiItemRect flag = ui.Item("flag");
    ui.Click(flag.CentreX(), flag.CentreY(), [this] { Widgets(); });
    EXPECT_EQ(ent.small, 0) << "a click ticked an instance value the save will not keep";
    const ImGuiItemRect notes = ui.Item("notes");
    ui.Click(notes.CentreX(), notes.CentreY(), [this] { Widgets(); });
    ui.Type("lost", [this] { Widgets(); });
    EXPECT_STREQ(ent.notes, "") << "typing reached an instance value the save will not keep";
    EXPECT_FALSE(ent.flags & ENT_FLAG_CHANGED);
    rows.clear();
    ent.table = nullptr;
    VarTableDestroy(table);
}
