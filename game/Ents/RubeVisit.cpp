// The patron's visit to an attraction: the choice, the arrival, the line, going in, the seat,
// the ride exit and the end of the ride (see RubeVisit.h).
#include "game/Ents/RubeVisit.h"

#include "I3d/Math/Mat4Math.h"
#include "engine/Random.h"
#include "game/AttrInfo.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/AttrPatron.h"
#include "game/Ents/AttrRegistry.h"
#include "game/Ents/Rube1.h"
#include "game/GameGridCore.h"
#include "game/Money.h"
#include "game/MtGame.h"
#include "game/RouteWalk.h"
#include "game/RubeRules.h"
#include "game/WaypointPath.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace {
float NeedValue(const AttrBase* attr, int need) {
    return attr && attr->info ? attr->info->needs[need] : 0.0f;
}

// A route from the patron to the attraction's entry point; true when it has points.
bool RouteTo(Rube1* p, const AttrBase* attr) {
    if (!attr) return false;
    VECTOR3 entry;
    AttrBaseEntryPoint(attr, &entry);
    return RouteWalkTo(p->Grid(), p->route, p->pos, entry.x, entry.z) > 0 &&
           RouteWalkHasPoints(p->route);
}

bool InRange(const Rube1* p, const AttrBase* attr) {
    VECTOR3 entry;
    AttrBaseEntryPoint(attr, &entry);
    const double dx = (double)entry.x - p->pos.x, dy = (double)entry.y - p->pos.y,
                 dz = (double)entry.z - p->pos.z;
    const double range = kRubeChoiceRange;
    return dx * dx + dy * dy + dz * dz <= range * range; // NaN is never in range
}

const GameVals* Vals(Rube1* p) {
    const MtGame* game = p->Game();
    return game ? &game->gameVals : nullptr;
}

int32_t Clamp32(int64_t v) {
    return (int32_t)std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                        std::numeric_limits<int32_t>::max());
}

float HeadingTo(float fromX, float fromZ, float toX, float toZ) {
    const float dx = toX - fromX, dz = toZ - fromZ;
    if (!std::isfinite(dx) || !std::isfinite(dz)) return 0.0f;
    return std::atan2(dx, dz);
}

void Think(Rube1* p) {
    p->EnterThink();
    p->target = EntRef();
}
} // namespace

// ---- the choice ----

int RubeVisitNeed(const RubeNeeds& needs) {
    int chosen = -1;
    float threshold = 0.5f;
    for (int need = RUBE_EAT; need <= RUBE_POTTY; ++need) {
        if (needs.level[need] > threshold) {
            chosen = need;
            threshold = needs.level[need];
        }
    }
    return chosen;
}

AttrBase* RubeVisitChooseFrom(Rube1* p, AttrBase* const* list, int count) {
    if (!p || !list || count <= 0) return nullptr;
    std::vector<AttrBase*> serving;
    const int need = RubeVisitNeed(p->needs);
    if (need >= 0) {
        for (int i = 0; i < count; ++i)
            if (NeedValue(list[i], need) > 0.0f) serving.push_back(list[i]);
    }
    if (!serving.empty()) {
        const int i = RandInt((int)serving.size());
        if (InRange(p, serving[(size_t)i]) && RouteTo(p, serving[(size_t)i]))
            return serving[(size_t)i];
        if (i >= 1) {
            AttrBase* before = serving[(size_t)i - 1];
            if (InRange(p, before) && RouteTo(p, before)) return before;
        } else if (serving.size() > 1 && RouteTo(p, serving[1])) {
            return serving[1];
        }
    }
    // The fallback: a need at random, eat .. trash. With nothing serving it there is no pick
    // (a random index into an empty list would read past it).
    const int k = RandInt(6);
    serving.clear();
    for (int i = 0; i < count; ++i)
        if (NeedValue(list[i], k) > 0.04f) serving.push_back(list[i]);
    if (serving.empty()) return nullptr;
    AttrBase* pick = serving[(size_t)RandInt((int)serving.size())];
    return RouteTo(p, pick) ? pick : nullptr;
}

AttrBase* RubeVisitChoose(Rube1* p) {
    if (!p) return nullptr;
    AttrBase* list[ATTR_SEARCH_MAX];
    const int n = AttrRegistryList(p, list);
    return RubeVisitChooseFrom(p, list, n);
}

// ---- arrival and the line ----

void RubeVisitArrive(Rube1* p) {
    if (!p) return;
    auto* attr = static_cast<AttrBase*>(p->target.Get());
    if (!attr || !attr->info) { // gone, or a type outside the list: nothing to visit
        Think(p);
        return;
    }
    const GameVals* vals = Vals(p);
    if (attr->closed || attr->broken) {
        p->placeX = p->placeZ = 0.0f;
        if (attr->info->needs[NEED_TRASH] > 0.25f) {
            // A full bin: the patron's rubbish goes on the ground instead.
            p->DropLitter();
            p->needs.level[RUBE_TRASH] = 0.0f;
        }
        p->happiness += vals ? vals->hapAttrOOS : 0.0f;
        Think(p);
        return;
    }
    if (p->tickets < attr->ticketPrice) {
        p->needs.level[RUBE_TICKET] = 1.0f;
        p->EnterChoose();
        p->target = EntRef();
        return;
    }
    RubeVisitJoinLine(p);
}

void RubeVisitJoinLine(Rube1* p) {
    auto* attr = static_cast<AttrBase*>(p->target.Get());
    p->speed = 0.0f;
    p->queuePlace = 0;
    p->state = RUBE_IN_LINE;
    p->PlayAnim(RUBE_ANIM_IDLE);
    if (attr && AttrBaseJoinQueue(attr, p)) return;
    const GameVals* vals = Vals(p);
    p->happiness += vals ? vals->hapQueueFull : 0.0f;
    p->icon.Show(8, 4.0f);
    Think(p);
}

void RubeVisitLineOffset(const Rube1* p, const AttrBase* attr, int place, float* x, float* z) {
    float ox = p->personalX, oz = p->personalZ;
    if (attr && attr->info) {
        VECTOR3 d;
        Mat4XformVector(&attr->info->queueDir, &attr->matrix, &d);
        // A place below 0 (only the boarding place, -2, is handed out) stands at the head.
        const float along = (float)(std::max(place, 0) + 1) * 0.5f;
        if (std::isfinite(d.x) && std::isfinite(d.z)) {
            ox += d.x * along;
            oz += d.z * along;
        }
    }
    *x = ox;
    *z = oz;
}

void RubeVisitLineStep(Rube1* p, float seconds) {
    auto* attr = static_cast<AttrBase*>(p->target.Get());
    if (p->queuePlace == ATTR_PLACE_BOARD) {
        if (attr) RubeVisitEnter(p, attr);
        return;
    }
    RubeVisitLineOffset(p, attr, p->queuePlace, &p->placeX, &p->placeZ);
    if (attr && p->queuePlace == 0) {
        p->heading.SetTarget(
            HeadingTo(p->pos.x + p->placeX, p->pos.z + p->placeZ, attr->pos.x, attr->pos.z));
    } else {
        p->heading.SetTarget(HeadingTo(0.0f, 0.0f, -p->placeX, -p->placeZ));
    }
    p->heading.Update(seconds);
}

void RubeVisitPlace(Rube1* p, AttrBase* attr, int place, const VECTOR3* entry) {
    if (!p) return;
    if (place == ATTR_PLACE_BOARD) {
        if (p->state == RUBE_IN_LINE) {
            RubeVisitEnter(p, attr);
        } else {
            // Not waiting in this line (a state changed from outside): the ride must not wait
            // for it to sit.
            AttrBaseRiderSeated(attr, p);
        }
        return;
    }
    p->queuePlace = place;
    if (p->state != RUBE_IN_LINE) return;
    if (entry && p->route) {
        // The line starts at the entry point: the patron stands on it and keeps its place by
        // the offset.
        p->route->count = 0;
        p->route->current = 0;
        WaypointPathAppend(p->route, entry->x, entry->z);
        p->pos.x = entry->x;
        p->pos.z = entry->z;
    }
    RubeVisitLineStep(p, 0.0f);
}

// ---- inside ----

void RubeVisitPose(int type, int* anim, int* mode) {
    if (RubePoseIn(kRubePayTypes, type)) {
        *anim = RUBE_ANIM_PAY;
        *mode = RUBE_MODE_FREE;
    } else if (RubePoseIn(kRubeSeatTypes, type)) {
        *anim = RUBE_ANIM_SIT;
        *mode = RUBE_MODE_HIDDEN;
    } else if (RubePoseIn(kRubeHiddenIdleTypes, type)) {
        *anim = RUBE_ANIM_IDLE;
        *mode = RUBE_MODE_HIDDEN;
    } else {
        *anim = RUBE_ANIM_IDLE;
        *mode = RUBE_MODE_FREE;
    }
}

void RubeVisitEnter(Rube1* p, AttrBase* attr) {
    if (!p || !attr) return;
    p->placeX = p->placeZ = 0.0f;
    p->speed = 0.0f;
    p->queuePlace = ATTR_PLACE_BOARD;
    p->state = RUBE_INSIDE;
    // The attraction waits in boarding until every rider has reported its seat.
    AttrBaseRiderSeated(attr, p);
    attr->takings = Clamp32((int64_t)attr->takings + attr->ticketPrice);
    p->tickets = Clamp32((int64_t)p->tickets - attr->ticketPrice);
    int anim = RUBE_ANIM_IDLE, mode = RUBE_MODE_FREE;
    RubeVisitPose(attr->type, &anim, &mode);
    p->PlayAnim(anim);
    p->animMode = mode;
    p->heading.SetTarget(HeadingTo(p->pos.x, p->pos.z, attr->pos.x, attr->pos.z));
}

void RubeVisitSit(Rube1* p, AttrBase*, const Mat4* seatMatrix) {
    // Only riders on board are seated: the attraction takes them off before the ride is over.
    if (!p || !seatMatrix) return;
    p->animMode = RUBE_MODE_SEATED;
    p->matrix = *seatMatrix;
}

// ---- leaving ----

int32_t RubeVisitTicketsToBuy(int32_t money, int32_t ticketCost) {
    if (ticketCost <= 0) return 0;
    if ((int64_t)money <= 20 * (int64_t)ticketCost) return money > 0 ? money / ticketCost : 0;
    return 2 * RandInt(7) + 8;
}

float RubeVisitGameWin(float x, int32_t winningOdds) {
    if (winningOdds <= 0) return -1.0f; // odds of 0 never win: no division by 0, no NaN payout
    const float share = 1.0f / (float)winningOdds;
    if (!(x <= share)) return -1.0f;
    return (share - x) / share;
}

void RubeVisitExit(Rube1* p, AttrBase* attr) {
    if (!p) return;
    p->placeX = p->placeZ = 0.0f;
    MtGame* game = p->Game();
    if (attr && attr->info && game) {
        const AttrInfo* info = attr->info;
        if (info->needs[NEED_TICKET] > 0.0f) {
            const int32_t price = game->ticketCost;
            const int32_t n = RubeVisitTicketsToBuy(p->money, price);
            const int64_t spent = (int64_t)price * n;
            // After closing the booth sells nothing: the day's takings are settled.
            if (n > 0 &&
                MtGameBook(game, MONEY_SALE, Clamp32((int64_t)MtGameCashMult(game) * spent))) {
                p->tickets = Clamp32((int64_t)p->tickets + n);
                p->money = Clamp32((int64_t)p->money - spent);
                p->ticketBought = true;
            }
        }
        if (info->attrType == ATTR_TYPE_GAME) {
            const float x = (float)(RandInt(100) + 1) / 100.0f;
            const float f = RubeVisitGameWin(x, info->winningOdds);
            if (f >= 0.0f) {
                const double payout = (double)f * game->gameVals.maxPayout;
                const int32_t cost = std::isfinite(payout) && payout > 0.0
                                         ? Clamp32((int64_t)std::min(payout, (double)INT32_MAX))
                                         : 0;
                MtGameBook(game, MONEY_COST, cost);
                p->happiness += f * game->gameVals.hapWinGame;
                attr->winFlag = 1;
            } else {
                p->happiness += game->gameVals.hapLoseGame;
            }
        }
    }
    p->animMode = RUBE_MODE_FREE;
}

// ---- the end of the ride ----

float RubeVisitScore(const AttrInfo* info, int32_t price) {
    if (!info) return 0.0f;
    if (price == 0) return 1.0f;
    double value = info->duration;
    if (info->attrType == ATTR_TYPE_FOOD || info->attrType == ATTR_TYPE_DRINK)
        value = info->needs[NEED_EAT] != 0.0f ? info->needs[NEED_EAT] : info->needs[NEED_DRINK];
    // A value over an average of 0 is an infinite ratio and rates best; a 0 / 0 (or a value that
    // is not a number) rates worst rather than carry a NaN into the happiness.
    if (std::isnan(info->avgValue)) return 0.0f;
    const double ratio = value / (double)price / (double)info->avgValue;
    if (std::isnan(ratio) || ratio == 0.0) return 0.0f;
    const double s =
        ratio >= 1.0 ? std::min(1.0, ratio * 0.125 + 0.5) : std::max(0.0, 0.5 - 0.125 / ratio);
    return (float)std::clamp(s, 0.0, 1.0);
}

int RubeVisitRatingIcon(float r) {
    if (r > 0.8f) return 18;
    if (r > 0.6f) return 19;
    if (r > 0.4f) return 20;
    if (r > 0.2f) return 21;
    return 22;
}

void RubeVisitRideOver(Rube1* p, AttrBase* attr) {
    if (!p || !attr) return;
    if (p->state != RUBE_INSIDE) {
        // Unloaded without having gone in (a state changed from outside): only out of the ride.
        p->animMode = RUBE_MODE_FREE;
        return;
    }
    const GameVals* vals = Vals(p);
    const AttrInfo* info = attr->info;
    if (attr->broken || attr->closed || !info) {
        p->happiness += vals ? vals->hapRideAborted : 0.0f;
        p->icon.Show(8, 4.0f);
    } else {
        const float trash = p->needs.level[RUBE_TRASH];
        p->needs.Satisfy(info->needs);
        if (info->needs[NEED_TRASH] > 0.25f) {
            // A bin fills by the rubbish it takes; "winningOdds" is its size (1 when not above 0,
            // so that no division by 0 fills it with a NaN).
            const float size = info->winningOdds > 0 ? (float)info->winningOdds : 1.0f;
            attr->repair += trash / size;
            if (attr->repair > 0.99f) {
                attr->repair = 0.99f;
                AttrBaseSetClosed(attr, true);
                attr->repairMe = 1;
            }
        }
        const float r = RandBellSkewF(RandGameSource(), RubeVisitScore(info, attr->ticketPrice));
        const float fact = vals ? vals->hapAttrFact : 0.0f;
        p->happiness += r >= 0.5f ? r * fact : -r * fact;
        p->icon.Show(RubeVisitRatingIcon(r), 4.0f);
    }
    p->target = EntRef(attr);
    Think(p);
}
