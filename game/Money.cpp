// Money arithmetic that saturates instead of wrapping.
#include "game/Money.h"

int32_t MoneyAdd(int32_t cash, int32_t amount) {
    const int64_t sum = (int64_t)cash + (int64_t)amount;
    if (sum > INT32_MAX) return INT32_MAX;
    if (sum < INT32_MIN) return INT32_MIN;
    return (int32_t)sum;
}

int32_t MoneyCharge(int32_t cash, int32_t cost) {
    if (cost <= 0) return cash;
    return cash >= cost ? cash - cost : 0;
}
