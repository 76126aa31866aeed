// Money arithmetic: cash, deposits, costs and prices are signed 32-bit counts of cents. The game's
// own charges never drive cash below 0, and no income carries it past the largest count.
#pragma once

#include <cstdint>

// cash + amount, computed in 64 bits and held within INT32_MIN .. INT32_MAX: a long sandbox
// would otherwise pass 2^31 - 1.
int32_t MoneyAdd(int32_t cash, int32_t amount);
// cash - cost, or 0 when the cost is larger than the cash (a negative cash stays as it is when
// nothing is charged: a cost of 0 or less leaves it).
int32_t MoneyCharge(int32_t cash, int32_t cost);
