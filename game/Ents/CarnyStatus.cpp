// The carny's activity line for the employee screens, and the names of its clips.
#include "game/AttrInfo.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/Carny.h"

#include <initializer_list>

namespace {
// Appends wide text, cut to fit; `at` is where the terminator goes.
void Append(char16_t* out, int size, int* at, const char16_t* text) {
    for (; text && *text && *at < size - 1; ++text)
        out[(*at)++] = *text;
    out[*at] = 0;
}

const char16_t* Line(char16_t* out, int size, std::initializer_list<const char16_t*> parts) {
    if (!out || size < 1) return out;
    int at = 0;
    out[0] = 0;
    for (const char16_t* part : parts)
        Append(out, size, &at, part);
    return out;
}

// The target's catalogue name, or null without a live target or its record.
const char16_t* TargetName(const Carny* carny) {
    const auto* attr = static_cast<const AttrBase*>(carny->target.Get());
    return attr && attr->info ? attr->info->name : nullptr;
}

const char* const kClips[CARNY_ANIM_COUNT] = {"AdultIdle1",      "AdultWalk",     "AdultMalePound",
                                              "AdultMaleWrench", "AdultSweeping", "CarnyNap",
                                              "CarnySleepy"};
} // namespace

const char16_t* CarnyStatusText(const Carny* carny, char16_t* out, int size) {
    if (!carny) return Line(out, size, {u" "});
    switch (carny->task) {
        case CARNY_IDLE: return Line(out, size, {u" "});
        case CARNY_WALK: {
            const char16_t* name = TargetName(carny);
            return name ? Line(out, size, {u"Walking to ", name, u"."})
                        : Line(out, size, {u"Patrolling."});
        }
        case CARNY_REPAIR: {
            // A target gone or without its record is named as nothing rather than read.
            const char16_t* name = TargetName(carny);
            return Line(out, size, {u"Repairing the ", name ? name : u"", u"."});
        }
        case CARNY_SWEEP: return Line(out, size, {u"Picking up trash."});
        case CARNY_WANDER: return Line(out, size, {u"Wandering around."});
        case CARNY_SLEEP: return Line(out, size, {u"Sleeping on the job."});
        default: return Line(out, size, {u"Unknown State"});
    }
}

const char* CarnyAnimName(int anim) {
    return anim >= 0 && anim < CARNY_ANIM_COUNT ? kClips[anim] : kClips[CARNY_ANIM_IDLE];
}
