// The edit line in the running game: editing driven by SDL key and text events through the input
// layer, the mouse, the capture, the blink of the caret and text handed in from outside.
#include "tests/harness/UiHarness.h"

#include "I3d/Font.h"
#include "engine/Input/SlInput.h"
#include "ui/EditLine.h"
#include "ui/GraphicButton.h"
#include "ui/MenuKit.h"

#include <cstdio>
#include <string>

namespace {
using Events = std::vector<std::pair<intptr_t, intptr_t>>;

class EditLineTest : public UiTest {
  protected:
    void TearDown() override {
        if (font) SharedObjRelease(font);
        UiTest::TearDown();
    }

    // A field "New Player" at (100, 100), id 7, focused, in Georgia_20.
    void StartField(bool backdrop = false) {
        StartUi();
        if (backdrop) {
            ASSERT_TRUE(MenuKitBackground(nullptr, menu)); // white, under the field
        }
        font = UiAcquireFont("Georgia_20");
        ASSERT_TRUE(font);
        field = Make<EditLine>("EditLine");
        ASSERT_TRUE(field);
        field->id = 7;
        field->SetFont(font);
        field->SetPos2D(100, 100);
        field->SetText("New Player");
        field->Start();
        Ctl3SetFocus(field);
        Step();
        Forget();
    }

    void TypeStep(const char* utf8) {
        TypeText(utf8);
        Step();
    }
    void Edit() {
        Tap(SDL_SCANCODE_RETURN);
        ASSERT_TRUE(field->Editing()) << "Enter on the focused field starts editing";
    }
    GraphicButton* MakeButton(int32_t id, float x, float y) {
        auto* b = Make<GraphicButton>("GraphicButton");
        if (!b) return nullptr;
        b->id = id;
        std::snprintf(b->image.textureName, sizeof b->image.textureName, "%s",
                      "Menu\\Common\\ZobButtonOk.dds");
        b->image.left = 0, b->image.top = 0, b->image.right = 96, b->image.bottom = 56;
        b->SetPos2D(x, y);
        b->Start();
        return b;
    }

    Font* font = nullptr;
    EditLine* field = nullptr;
};
} // namespace

// ---- editing ----

TEST_F(EditLineTest, AFieldEditedToEmptyGetsItsTextBackOnEnter) {
    StartField();
    Tap(SDL_SCANCODE_RETURN);
    EXPECT_TRUE(field->Editing());
    EXPECT_EQ(Ctl3GetCapture(), field) << "editing holds the capture";
    EXPECT_EQ(ControlEvents(), (Events{{7, 1}}))
        << "Enter pressed the field; its release belongs to the edit";
    for (int i = 0; i < 10; ++i)
        Tap(SDL_SCANCODE_BACKSPACE);
    EXPECT_STREQ(field->Text(), "");
    Tap(SDL_SCANCODE_RETURN);
    EXPECT_FALSE(field->Editing());
    EXPECT_EQ(Ctl3GetCapture(), nullptr);
    EXPECT_STREQ(field->Text(), "New Player") << "an empty field shows the text it was given";
    EXPECT_EQ(field->caret, 10);
}

TEST_F(EditLineTest, AFullFieldTakesNothingButReportsEveryCharacter) {
    StartField();
    field->width = 1.0e6f;
    field->SetMaxLength(255);
    const std::string full(254, 'a');
    field->SetText(full.c_str());
    Edit();
    Forget();
    TypeStep("bc");
    EXPECT_EQ(field->Text(), full) << "254 characters fill a field of limit 255";
    EXPECT_EQ(ControlEvents(), (Events{{7, 0}, {7, 0}}));
}

TEST_F(EditLineTest, ABlankAtTheStartIsRefusedUnlessAllowed) {
    StartField();
    field->SetText("");
    Edit();
    Forget();
    TypeStep(" ");
    EXPECT_STREQ(field->Text(), "");
    EXPECT_EQ(ControlEvents(), (Events{{7, 0}})) << "the refused blank is still reported";
    TypeStep("a b");
    EXPECT_STREQ(field->Text(), "a b") << "a blank inside the text is taken";
    Tap(SDL_SCANCODE_HOME);
    field->allowLeadingBlank = 1;
    TypeStep(" ");
    EXPECT_STREQ(field->Text(), " a b");
}

TEST_F(EditLineTest, TheCaretKeysWorkWithBothKeySetsAndInsertTogglesOverwrite) {
    StartField();
    field->SetText("abc");
    Edit();
    Tap(SDL_SCANCODE_HOME);
    TypeStep("1");
    Tap(SDL_SCANCODE_END);
    TypeStep("2");
    Tap(SDL_SCANCODE_LEFT);
    TypeStep("3");
    Tap(SDL_SCANCODE_LEFT);
    Tap(SDL_SCANCODE_LEFT);
    Tap(SDL_SCANCODE_RIGHT);
    TypeStep("4");
    EXPECT_STREQ(field->Text(), "1abc432");
    // The keypad's codes.
    Tap(SDL_SCANCODE_KP_7);
    TypeStep("5");
    Tap(SDL_SCANCODE_KP_1);
    TypeStep("6");
    Tap(SDL_SCANCODE_KP_4);
    TypeStep("7");
    Tap(SDL_SCANCODE_KP_7);
    Tap(SDL_SCANCODE_KP_6);
    TypeStep("8");
    EXPECT_STREQ(field->Text(), "581abc43276");
    // Overwrite replaces the character at the caret, and appends at the end.
    Tap(SDL_SCANCODE_HOME);
    Tap(SDL_SCANCODE_INSERT);
    EXPECT_EQ(field->overwrite, 1);
    TypeStep("XY");
    EXPECT_STREQ(field->Text(), "XY1abc43276");
    Tap(SDL_SCANCODE_END);
    TypeStep("Z");
    EXPECT_STREQ(field->Text(), "XY1abc43276Z");
    Tap(SDL_SCANCODE_KP_0); // the keypad's Insert
    EXPECT_EQ(field->overwrite, 0);
    Tap(SDL_SCANCODE_HOME);
    Tap(SDL_SCANCODE_DELETE);
    Tap(SDL_SCANCODE_KP_PERIOD);
    EXPECT_STREQ(field->Text(), "1abc43276Z");
    Tap(SDL_SCANCODE_END);
    Tap(SDL_SCANCODE_DELETE);
    EXPECT_STREQ(field->Text(), "1abc43276Z") << "Delete at the end deletes nothing";
}

TEST_F(EditLineTest, TextAsWideAsTheBoxLessAWTakesNoMore) {
    StartField();
    const float textWidth = FontTextWidth(font, "New Player");
    ASSERT_GT(field->rightMargin, 0.0f) << "the margin is the width of W";
    field->width = textWidth + field->rightMargin;
    Edit();
    TypeStep("a");
    EXPECT_STREQ(field->Text(), "New Playera") << "exactly as wide as allowed: one more fits";
    TypeStep("b");
    EXPECT_STREQ(field->Text(), "New Playera") << "wider than the box less a W: refused";
}

// A letter typed into the highlighted field starts editing at its end and is kept; the field
// taking the capture it holds goes on editing; a field at rest still shows its (darker) box.
TEST_F(EditLineTest, TypingIntoTheFocusedFieldEditsAtItsEndAndAnIdleFieldShowsItsBox) {
    StartField(true);
    ASSERT_FALSE(field->Editing());
    TypeStep("s");
    EXPECT_TRUE(field->Editing()) << "typing did not start editing";
    EXPECT_STREQ(field->Text(), "New Players") << "the first letter was lost";
    Ctl3SetCapture(field);
    EXPECT_TRUE(field->Editing()) << "taking the capture again ended the edit";
    Tap(SDL_SCANCODE_ESCAPE);
    GraphicButton* other = MakeButton(3, 600, 400);
    ASSERT_TRUE(other);
    Ctl3SetFocus(other);
    Step();
    const int x = int(field->box.left) + 2, y = int(field->box.top) + 2;
    const uint32_t idle = PixelAt(ReadPixels(), x, y);
    field->visible = 0;
    Step();
    EXPECT_NE(idle, PixelAt(ReadPixels(), x, y)) << "an idle field shows no box";
}

TEST_F(EditLineTest, EscapeEndsEditingAndWhileEditingTheArrowsMoveNoFocus) {
    StartField();
    GraphicButton* next = MakeButton(3, 600, 400);
    ASSERT_TRUE(next);
    field->SetNavLinks(next, next, next, next);
    Edit();
    for (SDL_Scancode key :
         {SDL_SCANCODE_RIGHT, SDL_SCANCODE_DOWN, SDL_SCANCODE_UP, SDL_SCANCODE_LEFT})
        Tap(key);
    EXPECT_EQ(Ctl3GetFocus(), field) << "the capture blocks navigation";
    Tap(SDL_SCANCODE_ESCAPE);
    EXPECT_FALSE(field->Editing());
    EXPECT_STREQ(field->Text(), "New Player");
    Tap(SDL_SCANCODE_RIGHT);
    EXPECT_EQ(Ctl3GetFocus(), next) << "once editing ends the links work again";
}

// The fonts hold Latin-1: its letters are taken (the text is UTF-8), any other letter is refused
// with the field's note, and a control character is not even reported.
TEST_F(EditLineTest, LatinLettersAreTakenAndOthersRefusedWithANote) {
    StartField();
    Edit();
    TypeStep("\xC3\xA9"); // é
    EXPECT_STREQ(field->Text(), "New Player\xC3\xA9");
    EXPECT_EQ(field->RefusedNote(), nullptr);
    Forget();
    TypeStep("\t");
    EXPECT_EQ(field->RefusedNote(), nullptr) << "a control character is no letter";
    TypeStep("\xF0\x9F\x98\x80"); // above the BMP
    TypeStep("\xC2\x85");         // a C1 control
    EXPECT_STREQ(field->Text(), "New Player\xC3\xA9");
    EXPECT_EQ(ControlEvents(), Events{}) << "nothing is reported for a refused code";
    ASSERT_NE(field->RefusedNote(), nullptr) << "the refusal is not silent";
}

TEST_F(EditLineTest, ABurstOfCharactersKeepsWhatTheQueueHeld) {
    StartField();
    field->width = 1.0e6f;
    field->SetText("");
    Edit();
    TypeText("abcdefghijklmnopqrst");
    TypeText("ABCDEFGHIJKLMNOPQRST");
    Step();
    const std::string text = field->Text();
    // The frame's pad states share the queue with the characters.
    EXPECT_GE(text.size(), size_t(int(SL_QUEUE_SIZE) - int(SL_PAD_COUNT) - 1))
        << "the queue keeps the newest events";
    EXPECT_LE(text.size(), size_t(40));
    EXPECT_EQ(text.back(), 'T') << "the newest character arrived";
}

TEST_F(EditLineTest, LongTextFromOutsideIsCutToTheBuffers) {
    StartField();
    const std::string huge(1000, 'q');
    field->SetText(huge.c_str());
    EXPECT_EQ(std::string(field->Text()), std::string(255, 'q'));
    EXPECT_EQ(std::string(field->backup), std::string(255, 'q'));
    EXPECT_EQ(field->length, 255);
    EXPECT_EQ(field->caret, 255);
    field->SetMaxLength(255);
    field->SetText(huge.c_str());
    EXPECT_EQ(field->length, 254);
    std::u16string wide(1000, u'w');
    field->SetTextW(wide.c_str());
    EXPECT_EQ(std::string(field->Text()), std::string(254, 'w'));
    Step(); // drawn with the cut text
}

// ---- the mouse and the capture ----

TEST_F(EditLineTest, TheMouseFocusesAndEditsAndAPressElsewhereEndsTheEdit) {
    StartField();
    GraphicButton* other = MakeButton(3, 600, 400);
    ASSERT_TRUE(other);
    Ctl3SetFocus(other);
    MouseMove(0, 0);
    Step();
    Forget();
    MouseMove(field->box.left + 20, field->box.top + 5);
    Step();
    EXPECT_EQ(Ctl3GetFocus(), field) << "the pointer on the field focuses it";
    MouseButton(true);
    Step();
    EXPECT_TRUE(field->Editing()) << "a press starts editing";
    MouseButton(false);
    Step();
    EXPECT_TRUE(field->Editing()) << "the release belongs to the edit";
    for (int i = 0; i < 10; ++i)
        Tap(SDL_SCANCODE_BACKSPACE);
    EXPECT_STREQ(field->Text(), "");
    MouseMove(620, 420);
    Step();
    MouseButton(true);
    Step();
    MouseButton(false);
    Step();
    EXPECT_FALSE(field->Editing()) << "a press on another control takes the capture away";
    EXPECT_EQ(Ctl3GetCapture(), nullptr);
    EXPECT_STREQ(field->Text(), "New Player") << "the field left empty shows its backup";
}

TEST_F(EditLineTest, AMenuDestroyedWhileItsFieldEditsLeavesNoCapture) {
    StartField();
    auto* holder = dynamic_cast<MenuDouble*>(EntCreateChild("TestMenu", app.GetMenus()));
    ASSERT_TRUE(holder);
    auto* inner = dynamic_cast<EditLine*>(EntCreateChild("EditLine", holder));
    ASSERT_TRUE(inner);
    inner->SetFont(font);
    inner->SetPos2D(100, 300);
    inner->SetText("Gone");
    inner->Start();
    inner->Press();
    ASSERT_EQ(Ctl3GetCapture(), inner);
    EntDestroyTree(holder);
    Step();
    EXPECT_EQ(Ctl3GetCapture(), nullptr) << "a destroyed field may not keep the capture";
    GraphicButton* other = MakeButton(3, 600, 400);
    ASSERT_TRUE(other);
    MouseMove(620, 420);
    Step();
    MouseButton(true); // the press would call the freed field (AddressSanitizer)
    Step();
    MouseButton(false);
    Step();
}

// ---- the caret ----

TEST_F(EditLineTest, TheCaretBlinksOnBitNineOfItsClockAndOnlyWhileEditing) {
    StartField();
    MouseMove(0, 0);
    Step();
    auto stepUntil = [&](bool bitSet) {
        for (int i = 0; i < 100 && ((field->blinkMs & kEditLineBlinkBit) != 0) != bitSet; ++i)
            Step();
    };
    // Not editing: no caret in either half of the blink.
    stepUntil(true);
    EXPECT_FALSE(field->CaretShown());
    const std::vector<uint32_t> idleOn = ReadPixels();
    stepUntil(false);
    EXPECT_EQ(ReadPixels(), idleOn) << "no caret is drawn while the field is not edited";

    Edit();
    stepUntil(false);
    EXPECT_FALSE(field->CaretShown());
    const std::vector<uint32_t> off = ReadPixels();
    stepUntil(true);
    EXPECT_TRUE(field->CaretShown());
    const std::vector<uint32_t> on = ReadPixels();
    ASSERT_EQ(on.size(), off.size());
    ASSERT_FALSE(on.empty());
    // The only change is the caret's bar after the text.
    const float caretLeft = field->box.left + field->caretX + kEditLineInset;
    int changed = 0, outside = 0;
    for (int y = 0; y < 768; ++y)
        for (int x = 0; x < 1024; ++x) {
            if (PixelAt(on, x, y) == PixelAt(off, x, y)) continue;
            ++changed;
            const bool inBar = x >= int(caretLeft) - 1 && x <= int(caretLeft) + 3 &&
                               y >= int(field->box.top) - 1 && y <= int(field->box.bottom) + 1;
            if (!inBar) ++outside;
        }
    EXPECT_GT(changed, 0) << "the caret was not drawn in the lit half of the blink";
    EXPECT_EQ(outside, 0) << "the blink changed pixels away from the caret";
}
