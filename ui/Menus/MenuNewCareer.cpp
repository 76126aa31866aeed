// The new-career screen.
#include "ui/Menus/MenuNewCareer.h"

#include "I3d/Font.h"
#include "engine/DebugLog.h"
#include "engine/Input/SlInput.h"
#include "engine/Input/SlScanCodes.h"
#include "engine/PropDb.h"
#include "engine/WideFormat.h"
#include "engine/WorldClass.h"
#include "game/MtGame.h"
#include "game/MtGameSave.h"
#include "game/WideText.h"
#include "ui/EditLine.h"
#include "ui/GraphicButton.h"
#include "ui/MenuKit.h"
#include "ui/Menus/CareerMenus.h"
#include "ui/Menus/MenuCareerSummary.h"
#include "ui/Menus/MenuFrontEnd.h"
#include "ui/Menus/MenuYesNo.h"

#include <cstdio>
#include <cstring>

namespace {
enum : int32_t { kBack = 0, kStart = 1, kName = 2, kEasy = 4, kMedium = 5, kHard = 6 };
// The name shown in a message box is cut short enough to fit the box.
constexpr size_t kShownNameMax = 40;

struct DifficultyButton {
    int32_t id;
    const char* name;
    float x;
    const char* texture;
    int32_t bottom;
};
const DifficultyButton kDifficulties[] = {
    {kEasy, "Easy", 309.0f, "Menu\\NewCareer\\buttonEasy.dds", 43},
    {kMedium, "Medium", 458.0f, "Menu\\NewCareer\\buttonMedium.dds", 39},
    {kHard, "Hard", 607.0f, "Menu\\NewCareer\\buttonHard.dds", 42},
};

void AddDifficulty(const DifficultyButton& row, ENTBASE* menu) {
    auto* b = dynamic_cast<GraphicButton*>(EntCreateChild("GraphicButton", menu));
    if (!b) return;
    b->id = row.id;
    b->SetPos2D(row.x, 460.0f);
    b->SetText(row.name);
    b->colour = 0xFFFFFFFFu;
    b->image.left = 0;
    b->image.top = 0;
    b->image.right = 114;
    b->image.bottom = row.bottom;
    std::snprintf(b->image.textureName, sizeof b->image.textureName, "%s", row.texture);
    b->radioGroup = 0;
    b->SetRadioMode(true);
    b->Start();
}

void AddNameField(ENTBASE* menu) {
    auto* field = dynamic_cast<EditLine*>(EntCreateChild("EditLine", menu));
    if (!field) return;
    field->id = kName;
    field->SetPos2D(357.0f, 358.0f);
    field->width = 318.0f;
    field->height = 30.0f;
    field->SetFont(FontFind("Georgia_20"));
    field->SetMaxLength(MENU_NEW_CAREER_NAME_MAX);
    field->SetText("New Player");
    field->Start();
}

int32_t StartingCash(const GameVals& vals, int32_t difficulty) {
    switch (difficulty) {
        case 0: return vals.cashStart[GV_EASY];
        case 2: return vals.cashStart[GV_HARD];
        default: return vals.cashStart[GV_MEDIUM];
    }
}
} // namespace

int MenuNewCareer::Create(EntNode* n) {
    MenuCreateConcrete(this, n, MenuNames{}, "Menu\\NewCareer\\MenuNewCareer.lua");
    alpha = 1.0f;
    difficulty = 1;
    confirmed = 0;
    MenuKitBackground(kMenuPurpleBackground, this);
    MenuKitAnimLogo(this);
    MenuKitPanel(512.0f, 380.0f, this);
    // Back and Start sit inside the panel (at 530 they hung over its bottom edge).
    MenuKitButtonBack(kBack, 330.0f, 518.0f, this);
    MenuKitButtonStart(kStart, 560.0f, 518.0f, this);
    AddNameField(this);
    for (const DifficultyButton& row : kDifficulties)
        AddDifficulty(row, this);
    SetCtlChecked(kMedium, true);
    LinkCtlNav(kBack, kMedium, kName, kStart, kStart);
    LinkCtlNav(kName, kStart, kMedium, kName, kName);
    LinkCtlNav(kStart, kMedium, kName, kBack, kBack);
    LinkCtlNav(kEasy, kName, kStart, kHard, kMedium);
    LinkCtlNav(kMedium, kName, kStart, kEasy, kHard);
    LinkCtlNav(kHard, kName, kStart, kMedium, kEasy);
    // Each choice says what it is, and the screen opens on the name field, so that typing
    // edits the name at once.
    MenuFrontEndText(u"Name", 357.0f, 326.0f, kMenuTextFont, 0xFFFFFFFFu, 0, this);
    MenuFrontEndText(u"Difficulty", 309.0f, 428.0f, kMenuTextFont, 0xFFFFFFFFu, 0, this);
    MenuFinishConcrete(this, "NewCareer");
    FocusCtl(kName);
    return 1;
}

EditLine* MenuNewCareer::NameField() {
    return dynamic_cast<EditLine*>(FindCtl(kName));
}

MtGame* MenuNewCareer::Game() {
    return dynamic_cast<MtGame*>(game);
}

int MenuNewCareer::OnMessage(const SlEvent* event) {
    if (!active) return 2;
    if (!event) return 1;
    // Escape goes back, as on every other screen, unless it only ends the typing of the name.
    if (event->type == SL_KEYDOWN && event->a == DIK_ESCAPE) {
        EditLine* field = NameField();
        m_escapeEndsEditing = field && field->Editing();
        return 1;
    }
    if (event->type == SL_MENUBACK || event->type == SL_MENUBACK + 1) {
        if (m_escapeEndsEditing) {
            if (event->type == SL_MENUBACK + 1) m_escapeEndsEditing = false;
            return 1;
        }
        return ForwardToCtl(event, kBack) ? 0 : 1;
    }
    if (event->type != CTL3_EVENT || event->b != CTL3_CLICK) return 1;
    switch (event->a) {
        case kEasy: difficulty = 0; return 1;
        case kMedium: difficulty = 1; return 1;
        case kHard: difficulty = 2; return 1;
        case kBack: return MenuSwitchTo(this, "MenuCareer");
        case kStart: StartPressed(); return 1;
        default: return 1;
    }
}

void MenuNewCareer::Tell(const char16_t* title, const char16_t* line2, const char16_t* line3) {
    char16_t shown[kShownNameMax + 1];
    WideFromUtf8(careerName, shown, sizeof shown / sizeof shown[0]);
    if (MenuYesNoOpen(EntGetParent(this), title, shown, line2, line3, nullptr, this)) ClearActive();
}

void MenuNewCareer::StartPressed() {
    EditLine* field = NameField();
    std::snprintf(careerName, sizeof careerName, "%s", field ? field->Text() : "");
    // The name becomes a folder and a file name: the save layer's rule decides, before anything
    // on disk is asked about it.
    if (!MtGameSaveNameValid(careerName)) {
        Tell(u"NAME NOT ALLOWED", u"A name cannot hold / \\ : or control characters,",
             u"nor start with a blank, nor end in a dot or blank.");
        return;
    }
    if (!MtGameCareerExists(careerName)) {
        confirmed = 1;
        return;
    }
    confirmed = 0;
    char16_t wide[MENU_YES_NO_TEXT_MAX];
    WideFromUtf8(careerName, wide, MENU_YES_NO_TEXT_MAX);
    if (MenuYesNoOpen(EntGetParent(this), u"OVERWRITE?", wide, u"This career file already exists.",
                      u"Do you want to overwrite?", &confirmed, this))
        ClearActive();
}

int MenuNewCareer::Update(float seconds) {
    if (confirmed && CreateCareer()) return 0; // this menu is gone
    return Menu3Base::Update(seconds);
}

bool MenuNewCareer::CreateCareer() {
    confirmed = 0;
    MtGame* g = Game();
    if (!g) {
        DbgPrintf(DBG_GENERAL, "MenuNewCareer: no game object; no career made\n");
        return false;
    }
    // A career that cannot be saved is no career: the game goes back to what it was.
    // The record is a plain block of fields (its base holds no data): copied as bytes.
    Career keptCareer;
    std::memcpy(static_cast<void*>(&keptCareer), &g->career, sizeof keptCareer);
    const float keptWear = g->degRateFact;
    const int32_t keptMode = g->mode;

    g->career.Reset();
    g->career.difficulty = difficulty;
    MtGameSetDifficulty(g, difficulty);
    std::snprintf(g->career.name, sizeof g->career.name, "%s", careerName);
    g->career.cash = StartingCash(g->gameVals, difficulty);
    if (!MtGameSaveCareer(g, careerName)) {
        std::memcpy(static_cast<void*>(&g->career), &keptCareer, sizeof keptCareer);
        g->degRateFact = keptWear;
        g->mode = keptMode;
        char path[1024];
        if (!MtGameCareerPath(path, sizeof path, careerName)) path[0] = '\0';
        DbgPrintf(DBG_GENERAL, "MenuNewCareer: the career \"%s\" could not be saved to %s\n",
                  careerName, path);
        char16_t why[128];
        MenuYesNoReasonLine(MtGameSaveError(), why, sizeof why / sizeof why[0]);
        Tell(u"CANNOT SAVE", u"The career file could not be written.", why);
        return false;
    }
    g->mode = MTGAME_CAREER;
    // The day's terms are the game object's, not the career's: a new career starts from the
    // set-up's own (50-cent tickets, no advertising, no free tickets), not from the last
    // sandbox's.
    g->ticketCost = 50;
    g->marketingFlags = 0;
    g->freeTickets = 0;
    if (!MenuCareerSummaryOpen(EntGetParent(this), "MenuNewCareer")) return false;
    EntDestroyTree(this);
    return true;
}

MenuNewCareer* MenuNewCareerOpen(ENTBASE* parent) {
    return dynamic_cast<MenuNewCareer*>(MenuOpen("MenuNewCareer", parent, nullptr));
}

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "MenuNewCareer");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(MenuNewCareer, name), 32);
    }
    return &s_db;
}

const WorldClassDef kClass = {"MenuNewCareer", Db, WorldMake<MenuNewCareer>, nullptr};
} // namespace

intptr_t EcMenuNewCareerProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
