// The day's money: every change a day makes to the cash is booked here, by kind, so that the
// day's figures add up; once the day has closed nothing changes them until the next day starts.
#pragma once

#include <cstdint>

class MtGame;

enum MtGameMoneyKind : int32_t {
    MONEY_SALE = 0,    // tickets sold
    MONEY_COST = 1,    // rent, marketing, hourly costs, wages and fees, prizes paid out
    MONEY_DEPOSIT = 2, // deposits paid on attractions placed
    MONEY_REFUND = 3,  // what attractions removed were worth
};

// What the day has booked, in cents as the cash really moved (a charge larger than the cash
// books what was left), and the value of the attractions standing when it started and when it
// closed.
struct MtGameDayAccount {
    int64_t sales = 0;
    int64_t costs = 0;
    int64_t deposits = 0;
    int64_t refunds = 0;
    int32_t startValue = 0;
    int32_t closeValue = 0;
};

// Sales and refunds are added to the cash, costs and deposits charged (never below 0). Once the
// day has closed nothing is booked and the cash stays: false, and the caller gives nothing
// for it.
bool MtGameBook(MtGame* game, MtGameMoneyKind kind, int32_t amount);
// The value of every attraction standing in the game object's tree (its net worth).
int32_t MtGameStandingValue(MtGame* game);
// Starts the day's account: nothing booked, the value standing now noted as the day's start.
void MtGameOpenAccount(MtGame* game);
// Closes the day: the value standing noted once, and nothing booked from here on.
void MtGameCloseAccount(MtGame* game);
// The deposit returns of the day: the value noted at the close, or standing now while the day
// has not closed.
int32_t MtGameDayReturns(MtGame* game);
// The day's profit, negative for a loss: its ending cash and returns less its start-of-day cash
// and the value that already stood at its start. Equipment bought on earlier days is worth what
// it was worth this morning: only what the day changed counts.
int64_t MtGameDayProfit(MtGame* game);
