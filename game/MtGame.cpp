// The game object's class, lifecycle and cached entities: its property database, creation with
// the preferences and shared resources, the data loaded at Start, and destruction.
#include "game/MtGame.h"

#include "engine/DebugLog.h"
#include "engine/Dirs.h"
#include "engine/IniFile.h"
#include "engine/PropDb.h"
#include "engine/System.h"
#include "engine/UserFolder.h"
#include "engine/WorldClass.h"
#include "game/MtGameHost.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

float g_patronDrawDistance = 256.0f;

namespace {
constexpr float kDefaultClosingTime = 22.5f;
constexpr float kDefaultTimeScale = 1.0f / 120.0f;

const char* const kFontNames[MTGAME_FONTS] = {"Georgia_26", "Georgia_20", "Georgia_16",
                                              "Georgia_14", "Arial_12b",  "CourierNew9o"};

std::string& SaveFolder() {
    static std::string s_folder;
    return s_folder;
}

std::string ProgramFolder() {
    MtGameHost* host = MtGameGetHost();
    return host ? host->ProgramFolder() : std::string(SysProgramFolder());
}

std::string DataFolder() {
    MtGameHost* host = MtGameGetHost();
    return host ? host->DataFolder() : ProgramFolder() + "Data/";
}

// The folder chosen is made when missing (one level): the documents folder's "Fairlark/", or
// "Saves/" beside the program when there is no documents folder.
void FixSaveFolder() {
    SaveFolder() = UserSaveFolder(ProgramFolder());
    if (!SaveFolder().empty() && DirCreate(SaveFolder().c_str()) < 0)
        DbgPrintf(DBG_GENERAL, "MtGame: the save folder %s cannot be made\n", SaveFolder().c_str());
}

PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "MtGame");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(MtGame, name), 32);
        PropDbAddSeparator(&s_db, "General:");
        PropDbAddInt(&s_db, "cash", PROP_OFFSET(MtGame, cash), 0);
        PropDbAddFloat(&s_db, "degRateFact", PROP_OFFSET(MtGame, degRateFact), 1.0f);
        PropDbAddFloat(&s_db, "degFailThresh", PROP_OFFSET(MtGame, degFailThresh), 0.75f);
        PropDbAddFloat(&s_db, "timerScale", PROP_OFFSET(MtGame, timerScale), 1.0f);
        if (PropField* f = PropDbAddFloat(&s_db, "gameTime", PROP_OFFSET(MtGame, gameTime), 10.0f))
            f->SetRangeFloat(0.0f, 24.0f, 1.0f);
        PropDbAddFloat(&s_db, "gameTimeScale", PROP_OFFSET(MtGame, gameTimeScale),
                       kDefaultTimeScale);
    }
    return &s_db;
}

void ResetClass() {
    WorldClassFlags<MtGame>::Reset();
    FixSaveFolder();
}

const WorldClassDef kClass = {"MtGame", Db, WorldMake<MtGame>, ResetClass};

// The cached entity while it lives and is still of its type; otherwise forgotten. The type test
// catches a new entity made at a freed one's address.
ENTBASE* Cached(ENTBASE** link, const char* type) {
    if (*link && (!EntIsLive(*link) || std::strcmp((*link)->GetTypeName(), type) != 0))
        *link = nullptr;
    return *link;
}
// One line for a data file that is cut short or damaged, naming it and what is wrong; the game
// goes on with the defaults in place of what is missing, as it always has. `section` is a
// further section the file must hold.
void ReportDamagedData(const std::string& path, std::string wrong, const char* section) {
    const int opened = IniOpen(path.c_str());
    if (opened < 0)
        wrong = "it cannot be read";
    else if (section && IniSetSection(section) != 0)
        wrong += (wrong.empty() ? "[" : ", [") + std::string(section) + "] is missing";
    if (opened == 0) IniClose();
    if (!wrong.empty())
        DbgPrintf(DBG_GENERAL, "MtGame: %s is cut short or damaged: %s; defaults stand in\n",
                  path.c_str(), wrong.c_str());
}

} // namespace

intptr_t EcMtGameProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}

const char* MtGameSaveFolder() {
    if (SaveFolder().empty()) FixSaveFolder();
    return SaveFolder().c_str();
}

// ---- lifecycle ----

MtGame::~MtGame() {
    delete attrList;
    delete venueList;
}

int MtGame::CopyClassName(char* buffer) {
    return WorldCopyClassName("MtGame", buffer);
}

uint32_t MtGame::GetClassFlags() {
    return WorldClassFlags<MtGame>::word;
}

void MtGame::SetClassFlags(uint32_t word) {
    WorldClassFlags<MtGame>::word = word;
}

int MtGame::Create(EntNode*) {
    if (classDb) PropDbInitObject(classDb, this);
    MtGameLoadPrefs(this);
    venueId = -1;
    venue = nullptr;
    ticketCost = 50;
    surveyBought = 0;
    marketingFlags = 0;
    freeTickets = 0;
    chargeCostsPending = 0;
    timeOfDay = rubeGen = nullptr;
    showHourlyReport = 1;
    onDeposit = 0;
    carnyCounter = 0;
    career.Reset();

    const std::string data = DataFolder();
    if (MtGameHost* host = MtGameGetHost()) {
        for (int i = 0; i < MTGAME_FONTS; ++i)
            fonts[i] = host->AcquireFont((data + "\\Fonts\\" + kFontNames[i]).c_str());
        particleTexture = host->LoadSharedTexture((data + "Particles").c_str());
        host->AcquireInfoIcons((data + "Menu\\InfoIcons").c_str());
    }
    std::snprintf(sandboxName, sizeof sandboxName, "New Sandbox");
    std::snprintf(layoutName, sizeof layoutName, "New Layout");
    return 1;
}

int MtGame::Start() {
    const std::string data = DataFolder();
    if (attrList) retiredAttrLists.emplace_back(attrList);
    if (venueList) retiredVenueLists.emplace_back(venueList);
    attrList = AttrInfoList::Load((data + "Data.ini").c_str());
    venueList = VenueInfoList::Load((data + "Venue.ini").c_str());
    gameVals.Load((data + "Data.ini").c_str(), "GameVals");
    ReportDamagedData(data + "Data.ini", RecordListDamageText("Attraction", attrList->damage),
                      "GameVals");
    ReportDamagedData(data + "Venue.ini", RecordListDamageText("Venue", venueList->damage),
                      nullptr);
    venue = MtGameVenue(this);

    // The clock needs a closing hour inside the day after the opening and a forward time scale;
    // anything else would end every day at once, never end it, or run it backwards.
    const GameVals& vals = gameVals;
    if (!(vals.closingTime > vals.openingTime && vals.closingTime < 24.0f)) {
        DbgPrintf(DBG_GENERAL, "MtGame: closingTime %g is not between openingTime %g and 24; %g\n",
                  (double)vals.closingTime, (double)vals.openingTime, (double)kDefaultClosingTime);
        gameVals.closingTime = kDefaultClosingTime;
    }
    if (!(gameTimeScale > 0.0f) || !std::isfinite(gameTimeScale)) {
        DbgPrintf(DBG_GENERAL, "MtGame: gameTimeScale %g is not a positive number; 1/120\n",
                  (double)gameTimeScale);
        gameTimeScale = kDefaultTimeScale;
    }

    PropDbDumpAll();
    timeOfDay = rubeGen = nullptr;
    dayOver = 1;
    VarsChanged();
    return 0;
}

int MtGame::Destroy() {
    EntTreeNotifyRemoved(EntGetRoot(this), this);
    if (!prefs.Save(MtGameSaveFolder()))
        DbgPrintf(DBG_GENERAL, "MtGame: the preferences could not be saved in %s\n",
                  MtGameSaveFolder());
    MtGameHost* host = MtGameGetHost();
    if (host) host->ReleaseInfoIcons();
    delete attrList;
    delete venueList;
    attrList = nullptr;
    venueList = nullptr;
    venue = nullptr;
    retiredAttrLists.clear();
    retiredVenueLists.clear();
    for (Font*& font : fonts) {
        if (font && host) host->ReleaseFont(font);
        font = nullptr;
    }
    if (particleTexture != -1 && host) host->ReleaseTexture(particleTexture);
    particleTexture = -1;
    ENTBASE::Destroy();
    return 1;
}

int MtGame::OnEntityRemoved(ENTBASE* gone) {
    if (gone == timeOfDay) timeOfDay = nullptr;
    if (gone == rubeGen) rubeGen = nullptr;
    return 1;
}

ENTBASE* MtGame::TimeOfDay() {
    return Cached(&timeOfDay, "TimeOfDay");
}

ENTBASE* MtGame::RubeGen() {
    return Cached(&rubeGen, "RubeGen");
}

// ---- the day clock ----

int MtGame::Update(float seconds) {
    if (!dayOver) {
        const float hours = seconds * gameTimeScale;
        gameTime += hours;
        if (gameTime > 24.0f) gameTime -= 24.0f;
        if (gameTime > gameVals.closingTime) {
            MtGameEndOfDay(this);
            if (!EntIsLive(this)) return 1; // a listener of the event destroyed the game
        }
        if (!dayOver) {
            // One hourly event per frame at most: a long frame catches up over the next ones.
            hourCountdown -= hours;
            if (hourCountdown <= 0.0f) {
                // Counted up before the event goes out: a listener reads the next hour's countdown.
                hourCountdown += 1.0f;
                EntGetRoot(this)->GameEventPre(GE_HOURLY, 0);
                if (!EntIsLive(this)) return 1;
            }
        }
    }
    if (ENTBASE* sky = TimeOfDay()) sky->SetFloat("time", gameTime * 0.041666668f);
    if (chargeCostsPending) MtGameChargeDailyCosts(this);
    return 1;
}
