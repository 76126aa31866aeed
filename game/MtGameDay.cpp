// The game object's day: the clock's speed and pause, the daily costs, the start, end and
// settling of a day, and the unlocks a day's cash earns.
#include "engine/DebugLog.h"
#include "engine/Timers.h"
#include "game/Money.h"
#include "game/MtGame.h"
#include "game/MtGameHost.h"
#include "game/MtGameLinks.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
void SetClockSpeed(float factor) {
    if (MtGameHost* host = MtGameGetHost()) host->SetClockSpeed(factor);
}

// An unlock string holds one character per index, 127 at most (the field keeps 128 and its
// terminator). A string loaded shorter than the list is padded with '-' first, so that a '+'
// written past its end is kept by the next save.
template <typename Price>
void Unlock(char* field, size_t fieldSize, int count, int cash, Price price) {
    const int n = std::min(count, 127);
    if (n <= 0) return;
    const size_t length = strnlen(field, fieldSize - 1);
    if (length < (size_t)n) {
        std::memset(field + length, '-', (size_t)n - length);
        field[n] = 0;
    }
    for (int i = 0; i < n; ++i)
        if (field[i] != '+' && cash > price(i)) field[i] = '+';
}
} // namespace

// ---- clock speed ----

void MtGameOpenGates(MtGame* game) {
    if (!game) return;
    game->dayOver = 0;
    game->chargeCostsPending = 1;
}

void MtGameSetTimerScale(MtGame* game, float scale) {
    if (!game) return;
    if (std::isnan(scale) || scale < 0.0f) {
        DbgPrintf(DBG_GENERAL, "MtGameSetTimerScale: %g is no speed; %g kept\n", (double)scale,
                  (double)game->timerScale);
        return;
    }
    game->timerScale = scale;
    SetClockSpeed(scale);
}

void MtGamePause(MtGame*) {
    SetClockSpeed(0.0f);
    AppTimer(APPTIMER_STOP);
}

void MtGame::RestoreClockSpeed() {
    SetClockSpeed(timerScale);
    AppTimer(APPTIMER_START);
}

// ---- daily costs ----

void MtGameChargeDailyCosts(MtGame* game) {
    if (!game) return;
    const GameVals& vals = game->gameVals;
    const VenueInfo* venue = MtGameVenue(game);
    if (!venue)
        DbgPrintf(DBG_GENERAL, "MtGame: no venue %i: no rent and no extra patrons today\n",
                  game->venueId);
    const int32_t extraRubes = venue ? venue->extraRubes : 0;
    // Summed wide: costs read from the data may be anything.
    int64_t cost = venue ? venue->rent : 0;
    int32_t extra = 0;
    if (game->surveyBought) cost += vals.surveyCost;
    struct Buy {
        uint32_t bit;
        int32_t cost;
        float share;
    };
    const Buy buys[] = {{MKT_BILLS, vals.billsCost, 0.25f},
                        {MKT_PAPER, vals.paperCost, 0.4f},
                        {MKT_RADIO, vals.radioCost, 0.2f},
                        {MKT_TV, vals.tvCost, 0.15f}};
    for (const Buy& buy : buys) {
        if (!(game->marketingFlags & buy.bit)) continue;
        cost += buy.cost;
        extra = MoneyAdd(extra, (int32_t)((float)extraRubes * buy.share));
    }
    cost = std::clamp<int64_t>(cost, INT32_MIN, INT32_MAX);
    MtGameBook(game, MONEY_COST, (int32_t)cost);
    if (ENTBASE* generator = game->RubeGen()) MtGameRubeGenAddExtra(generator, extra);
    game->chargeCostsPending = 0;
}

// ---- the day ----

void MtGameStartDay(ENTBASE* entity) {
    if (!EntIsLive(entity) || std::strcmp(entity->GetTypeName(), "MtGame") != 0) {
        DbgPrintf(DBG_GENERAL, "MtGameStartDay: %s is no game object\n",
                  EntIsLive(entity) ? entity->GetName() : "(none)");
        return;
    }
    auto* game = static_cast<MtGame*>(entity);
    ENTBASE* root = EntGetRoot(game);
    MtGameForEachAttr(root);
    MtGameRemovePatrons(root);

    game->gameTime = game->gameVals.openingTime;
    game->hourCountdown = 1.0f;
    game->dayOver = 1; // the in-game screen starts the clock
    game->timerScale = 1.0f;
    SetClockSpeed(1.0f);
    game->chargeCostsPending = 0;

    game->timeOfDay = EntTreeFindType(root, "TimeOfDay");
    game->rubeGen = EntTreeFindType(root, "RubeGen");
    if (ENTBASE* generator = game->RubeGen()) {
        generator->Start();
        if (!EntIsLive(game)) return;
    }
    if (ENTBASE* sky = game->TimeOfDay()) sky->SetFloat("time", game->gameTime * 0.041666668f);
    if (game->mode == MTGAME_CAREER) game->cash = game->career.cash;
    MtGameOpenAccount(game);
}

void MtGameEndOfDay(MtGame* game) {
    if (!game) return;
    // Closed before anyone hears of it: the summary that the event opens reads settled figures.
    MtGameCloseAccount(game);
    EntGetRoot(game)->GameEventPre(GE_END_OF_DAY, 0);
    if (!EntIsLive(game)) return;
    game->dayOver = 1;
    game->timeOfDay = nullptr;
    game->rubeGen = nullptr;
}

void MtGameNextDay(MtGame* game) {
    if (!game) return;
    if (game->career.daysRun < INT32_MAX) ++game->career.daysRun;
    game->career.cash = game->cash;
    MtGameCheckUnlocks(game, game->cash);
}

void MtGameCheckUnlocks(MtGame* game, int cash) {
    if (!game) return;
    Career& career = game->career;
    if (const VenueInfoList* venues = game->venueList)
        Unlock(career.venueUnlock, sizeof career.venueUnlock, venues->Count(), cash,
               [venues](int i) { return venues->Get(i)->unlockPrice; });
    if (const AttrInfoList* types = game->attrList)
        Unlock(career.attrUnlock, sizeof career.attrUnlock, types->Count(), cash,
               [types](int i) { return types->Get(i)->unlockPrice; });
}
