// The day's money: bookings, the account's opening and close, and the day's profit.
#include "game/MtGameMoney.h"

#include "engine/EntTree.h"
#include "game/Money.h"
#include "game/MtGame.h"

bool MtGameBook(MtGame* game, MtGameMoneyKind kind, int32_t amount) {
    if (!game || game->dayClosed) return false;
    const int32_t before = game->cash;
    MtGameDayAccount& day = game->day;
    switch (kind) {
        case MONEY_SALE:
        case MONEY_REFUND:
            game->cash = MoneyAdd(before, amount);
            (kind == MONEY_SALE ? day.sales : day.refunds) += (int64_t)game->cash - before;
            break;
        case MONEY_COST:
        case MONEY_DEPOSIT:
            game->cash = MoneyCharge(before, amount);
            (kind == MONEY_COST ? day.costs : day.deposits) += (int64_t)before - game->cash;
            break;
    }
    return true;
}

int32_t MtGameStandingValue(MtGame* game) {
    int32_t sum = 0;
    if (game) MtGameSumAttrValue(EntGetRoot(game), &sum);
    return sum;
}

void MtGameOpenAccount(MtGame* game) {
    if (!game) return;
    game->day = MtGameDayAccount{};
    game->day.startValue = MtGameStandingValue(game);
    game->dayClosed = 0;
}

void MtGameCloseAccount(MtGame* game) {
    if (!game || game->dayClosed) return;
    game->day.closeValue = MtGameStandingValue(game);
    game->dayClosed = 1;
}

int32_t MtGameDayReturns(MtGame* game) {
    if (!game) return 0;
    return game->dayClosed ? game->day.closeValue : MtGameStandingValue(game);
}

int64_t MtGameDayProfit(MtGame* game) {
    if (!game) return 0;
    return (int64_t)game->cash + MtGameDayReturns(game) - game->career.cash - game->day.startValue;
}
