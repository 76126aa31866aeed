// The game object: the one "Game" entity of a running carnival. It owns the game data (attraction
// and venue lists, tuning values, preferences, career), the money, the current venue, the day
// clock and the day's purchases. Other entities find it by its type "MtGame".
#pragma once

#include "engine/EntBase.h"
#include "engine/EntTree.h"
#include "game/AttrInfo.h"
#include "game/Career.h"
#include "game/GameVals.h"
#include "game/MtGameMoney.h"
#include "game/Prefs.h"
#include "game/VenueInfo.h"

#include <cstdint>
#include <memory>
#include <vector>

class Font;

// Game modes.
enum : int32_t { MTGAME_SANDBOX = 1, MTGAME_CAREER = 2 };
// Game events the game object sends to the root.
enum : int { GE_HOURLY = 28, GE_END_OF_DAY = 29 };
// Marketing bits of `marketingFlags`.
enum : uint32_t { MKT_BILLS = 0x1, MKT_PAPER = 0x2, MKT_RADIO = 0x4, MKT_TV = 0x8 };

enum { MTGAME_FONTS = 6, MTGAME_PATH_MAX = 260 };

// The patron draw distance shared by every patron, in world units: "patronVisDist" x 512.
extern float g_patronDrawDistance;

class MtGame : public ENTBASE {
  public:
    MtGame() = default;
    ~MtGame() override;

    int CopyClassName(char* buffer) override;
    uint32_t GetClassFlags() override;
    const char* GetTypeName() override { return "MtGame"; }
    int Create(EntNode* node) override;
    int Start() override;
    int Destroy() override;
    int OnEntityRemoved(ENTBASE* gone) override;
    int Update(float seconds) override;
    int DrawPre() override { return 1; }
    int VarsChanged() override { return 0; }
    void RestoreClockSpeed() override;
    void SetClassFlags(uint32_t word);

    // The cached day entities, or null (and forgotten) once they have gone.
    ENTBASE* TimeOfDay();
    ENTBASE* RubeGen();

    int32_t venueId = -1;
    VenueInfo* venue = nullptr; // not owned
    GameVals gameVals;
    Prefs prefs;
    Career career;
    int32_t cash = 0;
    int32_t onDeposit = 0;
    MtGameDayAccount day;  // what the day has booked, and the value standing at its start and close
    uint8_t dayClosed = 0; // from the day's end to the next start of day: its money is settled
    AttrInfoList* attrList = nullptr;
    VenueInfoList* venueList = nullptr;
    // The lists an earlier Start read: attractions and screens still point into their records
    // until they bind the new ones, so they go only with the game object (one pair a Start).
    std::vector<std::unique_ptr<AttrInfoList>> retiredAttrLists;
    std::vector<std::unique_ptr<VenueInfoList>> retiredVenueLists;
    float degRateFact = 1.0f;
    float degFailThresh = 0.75f;
    char scriptPath[MTGAME_PATH_MAX] = {};
    int32_t ticketCost = 50;
    uint32_t marketingFlags = 0;
    uint8_t surveyBought = 0;
    uint8_t freeTicketPromo = 0; // kept for the set-up screens; nothing reads it
    int32_t freeTickets = 0;
    float gameTimeScale = 1.0f / 120.0f;
    float gameTime = 10.0f;
    uint8_t dayOver = 1;
    uint8_t chargeCostsPending = 0; // the day is running and its costs are still to be charged
    uint8_t showHourlyReport = 1;
    float hourCountdown = 1.0f;
    Font* fonts[MTGAME_FONTS] = {};
    int particleTexture = -1;
    float timerScale = 1.0f;
    int32_t mode = 0; // set by the main menu before a game starts
    ENTBASE* timeOfDay = nullptr;
    ENTBASE* rubeGen = nullptr;
    char sandboxName[MTGAME_PATH_MAX] = {};
    char layoutName[MTGAME_PATH_MAX] = {};
    int32_t carnyCounter = 0;
};

// Class "MtGame"; registering it publishes nothing else (the application connects the scripts'
// StartNewDay to MtGameStartDay).
intptr_t EcMtGameProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);

// ---- the operations the menus, scripts and simulation call ----

void MtGameSetTimerScale(MtGame* game, float scale);
void MtGameSetVenue(MtGame* game, int venueIndex);
// The venue chosen to play: its index and its world script's path, as the venue selector's Next
// gives them to the world loader. False (nothing changed) when the index is outside the list.
bool MtGameChooseVenue(MtGame* game, int venueIndex);
// The in-game screen's Start: the gates open and the day's costs are charged on its first hour.
void MtGameOpenGates(MtGame* game);
// The current venue, or null when the index is outside the list.
VenueInfo* MtGameVenue(MtGame* game);
void MtGameApplyPrefs(MtGame* game);
void MtGameLoadPrefs(MtGame* game);
float MtGameVenuePower(MtGame* game);
int MtGameCashMult(MtGame* game);
void MtGameSetDifficulty(MtGame* game, int difficulty);
const char16_t* MtGameRankName(MtGame* game, int value);
void MtGameChargeDailyCosts(MtGame* game);
// Takes an ENTBASE so that the scripts' StartNewDay can call it; anything that is not a live
// "MtGame" is refused with a log line.
void MtGameStartDay(ENTBASE* game);
void MtGameEndOfDay(MtGame* game);
void MtGameNextDay(MtGame* game);
void MtGameCheckUnlocks(MtGame* game, int cash);
void MtGamePause(MtGame* game);
// Cash, deposits and (in sandbox mode) the career start afresh, then the venue starts. Both are
// false when the venue script could not run: no name, no host, a file that did not load, or an
// error before the script's first wait.
bool MtGameNewGame(MtGame* game);
bool MtGameStartVenue(MtGame* game);
void MtGameHireCarny(MtGame* game);
void MtGameSumAttrValue(ENTBASE* entity, int32_t* sum);
void MtGameForEachAttr(ENTBASE* entity);
void MtGameRemovePatrons(ENTBASE* entity);

// The per-user save folder: the documents folder's "Fairlark/", else "Saves/" in the program
// folder. Fixed when the class registers.
const char* MtGameSaveFolder();
