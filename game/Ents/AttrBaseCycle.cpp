// The attraction's cycle: the waiting line and the riders, the per-frame update through loading,
// boarding, riding and unloading, closing and breaking, and the start of day.
#include "game/Ents/AttrBase.h"

#include "game/AttrInfo.h"
#include "game/Ents/AttrPatron.h"
#include "game/RideAnimCore.h"

#include <algorithm>

namespace {
bool Live(const AttrRingEntry& e) {
    return e.patron && EntIsLiveSerial(e.entity, e.serial);
}

// The patron calls below may destroy anything, the attraction too; its entry in the live set is
// looked up by address and serial, never through the object.
bool StillHere(AttrBase* attr, uint64_t serial) {
    return EntIsLiveSerial(attr, serial);
}
} // namespace

// ---- patrons joining and sitting ----

bool AttrBaseJoinQueue(AttrBase* attr, AttrPatron* patron) {
    if (!attr || !patron || attr->inert || !attr->info) return false;
    ENTBASE* entity = patron->PatronEntity();
    const int place = attr->line.Find(entity);
    if (place >= 0) {
        patron->PatronPlace(attr, place, &attr->entry);
        return true;
    }
    if (attr->board.Find(entity) >= 0) {
        patron->PatronPlace(attr, ATTR_PLACE_BOARD, &attr->entry);
        return true;
    }
    // A closed or broken attraction never empties its line again until it opens: a patron let in
    // now would wait there for ever.
    if (attr->closed || attr->broken) return false;
    AttrRingEntry e;
    e.patron = patron;
    e.entity = entity;
    e.serial = EntSerialOf(entity);
    if (!attr->line.Push(e)) return false;
    patron->PatronPlace(attr, attr->line.Count() - 1, &attr->entry);
    return true;
}

void AttrBaseRiderSeated(AttrBase* attr, AttrPatron* patron) {
    if (!attr || !patron) return;
    const int i = attr->board.Find(patron->PatronEntity());
    if (i < 0) return;
    AttrRingEntry& rider = attr->board.At(i);
    if (rider.seated) return;
    rider.seated = true;
    if (attr->ridersToBoard > 0) --attr->ridersToBoard;
}

int AttrBaseQueueCount(const AttrBase* attr) {
    return attr ? attr->line.Count() : 0;
}

int AttrBaseRiderCount(const AttrBase* attr) {
    return attr ? attr->board.Count() : 0;
}

void AttrBaseEntryPoint(const AttrBase* attr, VECTOR3* out) {
    if (attr && out) *out = attr->entry;
}

void AttrBaseStartOfDay(AttrBase* attr) {
    if (!attr) return;
    // The patrons are destroyed next, so they are not told.
    attr->line.Clear();
    attr->board.Clear();
    // An attraction caught boarding would otherwise wait for riders that no longer exist.
    attr->ridersToBoard = 0;
    if (attr->inert) return;
    attr->attrState = attr->broken ? ATTR_BROKEN : attr->closed ? ATTR_CLOSED : ATTR_LOADING;
    if (attr->animator) {
        const int run = attr->animator->runState;
        if (run >= RIDE_START && run <= RIDE_STOPPING) RideAnimSetState(attr->animator, RIDE_IDLE);
    }
    if (attr->info) attr->cycleTimer = attr->info->queueWaitTime;
}

// ---- the update ----

namespace {
// Tells every patron in the line its place, from `from` on. False when the attraction went.
bool TellPlaces(AttrBase* attr, int from, uint64_t serial) {
    for (int i = from; i < attr->line.Count(); ++i) {
        const AttrRingEntry e = attr->line.At(i);
        if (!Live(e)) continue;
        e.patron->PatronPlace(attr, i, &attr->entry);
        if (!StillHere(attr, serial)) return false;
    }
    return true;
}

// Pops one from the line and sends it away. False when the attraction went.
bool SendOneAway(AttrBase* attr, uint64_t serial) {
    const AttrRingEntry e = attr->line.Pop();
    if (Live(e)) e.patron->PatronSentAway(attr);
    return StillHere(attr, serial);
}

bool Loading(AttrBase* attr, uint64_t serial) {
    const AttrInfo* info = attr->info;
    if (attr->closed || attr->broken) {
        while (attr->line.Count() > 0)
            if (!SendOneAway(attr, serial)) return false;
        attr->attrState = attr->closed ? ATTR_CLOSED : ATTR_BROKEN;
        return true;
    }
    if (attr->line.Count() == 0) {
        attr->cycleTimer = info->queueWaitTime;
        return true;
    }
    const int capacity = attr->board.Capacity();
    if (attr->cycleTimer >= 0.0f && attr->line.Count() < capacity) return true;

    // Riders left from an aborted ride would otherwise hold seats for ever.
    const int n = std::min(attr->line.Count(), capacity - attr->board.Count());
    attr->ridersToBoard = 0;
    attr->attrState = ATTR_BOARDING;
    for (int k = 0; k < n; ++k) {
        AttrRingEntry e = attr->line.Pop();
        if (!Live(e)) continue;
        e.seated = false;
        attr->board.Push(e);
        ++attr->ridersToBoard;
        // A patron may sit at once, from inside this call.
        e.patron->PatronPlace(attr, ATTR_PLACE_BOARD, &attr->entry);
        if (!StillHere(attr, serial)) return false;
    }
    return TellPlaces(attr, 0, serial);
}

bool Riding(AttrBase* attr, uint64_t serial) {
    RideAnimCore* anim = attr->animator;
    if (!anim) {
        attr->attrState = ATTR_UNLOADING;
        return true;
    }
    const int seats = anim->SeatCount();
    if (seats > 0) {
        // Only RIDE_SEAT_MAX seat matrices exist, however many attach nodes the model has.
        const int n = std::min({attr->board.Count(), seats, (int)RIDE_SEAT_MAX});
        for (int i = 0; i < n && i < attr->board.Count(); ++i) {
            const AttrRingEntry e = attr->board.At(i);
            if (!Live(e)) continue;
            e.patron->PatronSit(attr, i, &attr->seats[i]);
            if (!StillHere(attr, serial)) return false;
        }
    }
    const int run = anim->runState;
    if (run == RIDE_IDLE || run == RIDE_BROKEN || run == RIDE_CLOSED)
        attr->attrState = ATTR_UNLOADING;
    return true;
}

bool Unloading(AttrBase* attr, uint64_t serial) {
    const AttrInfo* info = attr->info;
    if (attr->cycleTimer >= 0.0f) return true;
    if (attr->board.Count() > 0) {
        const AttrRingEntry e = attr->board.Pop();
        attr->cycleTimer = info->unloadDelay;
        if (Live(e)) e.patron->PatronRideOver(attr);
        return StillHere(attr, serial);
    }
    if (!attr->broken && !attr->closed) {
        attr->attrState = ATTR_LOADING;
        attr->cycleTimer = info->queueWaitTime;
        return true;
    }
    if (attr->line.Count() == 0) {
        attr->attrState = attr->broken ? ATTR_BROKEN : ATTR_CLOSED;
        return true;
    }
    attr->cycleTimer = info->unloadDelay;
    return SendOneAway(attr, serial);
}

void Closed(AttrBase* attr) {
    if (attr->closed) return;
    attr->powerFailure = false;
    if (attr->broken) {
        attr->attrState = ATTR_BROKEN;
        return;
    }
    attr->attrState = ATTR_LOADING;
    if (attr->animator) RideAnimSetState(attr->animator, RIDE_IDLE);
}
} // namespace

void AttrPowerCheck(AttrBase* attr, float seconds);
bool AttrRunCheck(AttrBase* attr);

int AttrBase::Update(float seconds) {
    if (inert || !info) return 1;
    const uint64_t me = serial;
    cycleTimer -= seconds;
    AttrPowerCheck(this, seconds);
    icon.cell = AttrBaseStatusIcon(this);

    bool here = true;
    switch (attrState) {
        case ATTR_LOADING: here = Loading(this, me); break;
        case ATTR_BOARDING:
            if (ridersToBoard <= 0) {
                attrState = ATTR_RIDING;
                if (animator) RideAnimSetState(animator, RIDE_START);
            }
            break;
        case ATTR_RIDING: here = Riding(this, me); break;
        case ATTR_UNLOADING: here = Unloading(this, me); break;
        case ATTR_BROKEN: break;
        case ATTR_CLOSED: Closed(this); break;
        default: break;
    }
    if (!here) return 0;

    lightsOn = AttrRunCheck(this);
    if (animator) animator->Tick(seconds);
    return 1;
}
