// The time-of-day entity: its table of six key frames, its clock, the blend and the push into
// the sun, the sky dome and the environment.
#include "world/EntTimeOfDay.h"

#include "engine/MathConst.h"
#include "engine/PropDb.h"
#include "world/SkyDome.h"
#include "world/Sun.h"

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>

namespace {

// The day's key frames as a new entity has them (the table defaults are not these).
constexpr TodKey kDayKeys[TOD_KEYS] = {
    {0.2f, {0.1f, 0.1f, 0.1f}, {0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, 0.06f},
    {0.3f, {0.2f, 0.2f, 0.2f}, {1.0f, 1.0f, 0.0f}, {0.5f, 0.5f, 0.5f}, 0.03f},
    {0.4f, {0.3f, 0.3f, 0.3f}, {1.0f, 1.0f, 1.0f}, {1.0f, 1.0f, 1.0f}, 0.02f},
    {0.6f, {0.3f, 0.3f, 0.3f}, {1.0f, 1.0f, 1.0f}, {1.0f, 1.0f, 1.0f}, 0.02f},
    {0.7f, {0.2f, 0.2f, 0.2f}, {1.0f, 0.0f, 1.0f}, {0.5f, 0.5f, 0.5f}, 0.03f},
    {0.8f, {0.1f, 0.1f, 0.1f}, {0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, 0.06f},
};

// One clock second at scale 1 is this fraction of a day.
constexpr float kDayPerSecond = 9.645062e-7f;

// Field names live as long as the table.
char s_names[5][TOD_KEYS][16];
char s_headings[TOD_KEYS][16];

intptr_t KeyOffset(int i, size_t member) {
    return PROP_OFFSET(EntTimeOfDay, keys) + intptr_t(i) * intptr_t(sizeof(TodKey)) +
           intptr_t(member);
}

PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDb* db = &s_db;
        PropDbSetName(db, "TimeOfDay");
        PropDbAddSeparator(db, "General:");
        PropDbAddStringBlank(db, "name", PROP_OFFSET(EntTimeOfDay, name), 32);
        PropDbAddBool(db, "paused", PROP_OFFSET(EntTimeOfDay, paused), 0);
        if (PropField* f =
                PropDbAddFloat(db, "timeScale", PROP_OFFSET(EntTimeOfDay, timeScale), 0.0f))
            f->SetRangeFloat(0.5f, 200.0f, 0.5f);
        if (PropField* f = PropDbAddFloat(db, "time", PROP_OFFSET(EntTimeOfDay, time), 0.5f))
            f->SetRangeFloat(0.0f, 1.0f, 1.0f / 24.0f);
        for (int i = 0; i < TOD_KEYS; ++i) {
            std::snprintf(s_headings[i], sizeof s_headings[i], "KeyFrame %i", i);
            const char* formats[5] = {"time%i", "ambient%i", "light%i", "fog%i", "sunScale%i"};
            for (int k = 0; k < 5; ++k)
                std::snprintf(s_names[k][i], sizeof s_names[k][i], formats[k], i);
            PropDbAddSeparator(db, s_headings[i]);
            PropDbAddFloat(db, s_names[0][i], KeyOffset(i, offsetof(TodKey, time)), 0.0f);
            PropDbAddColor3fWhite(db, s_names[1][i], KeyOffset(i, offsetof(TodKey, ambient)));
            PropDbAddColor3fWhite(db, s_names[2][i], KeyOffset(i, offsetof(TodKey, light)));
            PropDbAddColor3fWhite(db, s_names[3][i], KeyOffset(i, offsetof(TodKey, fog)));
            PropDbAddFloat(db, s_names[4][i], KeyOffset(i, offsetof(TodKey, sunScale)), 0.2f);
        }
    }
    return &s_db;
}

const WorldClassDef kClass = {"TimeOfDay", Db, WorldMake<EntTimeOfDay>,
                              WorldClassFlags<EntTimeOfDay>::Reset};

float Lerp(float a, float b, float f) {
    return a + (b - a) * f;
}

uint32_t Argb(float r, float g, float b) {
    return 0xFF000000u | uint32_t(TodByte(r)) << 16 | uint32_t(TodByte(g)) << 8 | TodByte(b);
}
} // namespace

intptr_t EcTimeOfDayProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}

uint8_t TodByte(float value) {
    if (!(value > 0.0f)) return 0;
    if (value >= 255.0f) return 255;
    return uint8_t(value);
}

int EntTimeOfDay::CopyClassName(char* buffer) {
    return WorldCopyClassName("TimeOfDay", buffer);
}

int EntTimeOfDay::Create(EntNode*) {
    if (classDb) PropDbInitObject(classDb, this);
    timeScale = 1.0f;
    keys[TOD_KEYS] = keys[0];
    std::memcpy(keys, kDayKeys, sizeof kDayKeys);
    return 0;
}

int EntTimeOfDay::Start() {
    keys[TOD_KEYS] = keys[0];
    ENTBASE* root = EntGetRoot(this);
    sun = EntTreeFindName(root, "Sun");
    skyDome = EntTreeFindName(root, "SkyDome");
    environment = EntTreeFindName(root, "Environment");
    return 0;
}

int EntTimeOfDay::Update(float seconds) {
    if (paused) return 1;
    time += seconds * timeScale * kDayPerSecond;
    if (time > 1.0f) time -= 1.0f;
    VarsChanged();
    return 1;
}

float EntTimeOfDay::BlendTime() const {
    // Scripts and the editor may store any number; the stored value is left as it was set.
    if (!std::isfinite(time)) return 0.5f;
    if (time >= 0.0f && time <= 1.0f) return time;
    const float t = time - std::floor(time);
    return t < 1.0f ? t : 0.0f;
}

TodBlend EntTimeOfDay::Blend(float t) const {
    TodBlend out{};
    constexpr int kLast = TOD_KEYS - 1, kWrap = TOD_KEYS;
    float span, at;
    if (keys[0].time >= t) {
        // Across midnight, seen from after it: t counts one day later.
        out.prev = kLast;
        out.next = 0;
        span = keys[0].time + 1.0f - keys[kLast].time;
        at = t + 1.0f - keys[kLast].time;
    } else {
        int i = 1;
        while (i < kWrap && keys[i].time < t)
            ++i;
        out.prev = i - 1;
        out.next = i;
        if (i == kWrap) {
            span = keys[0].time + 1.0f - keys[kLast].time;
        } else {
            span = keys[i].time - keys[i - 1].time;
        }
        at = t - keys[i - 1].time;
    }
    // Keys out of order or sharing a time give no span: the earlier key's values.
    out.factor = span > 0.0f ? at / span : 0.0f;
    if (!std::isfinite(out.factor)) out.factor = 0.0f;
    const TodKey& p = keys[out.prev];
    const TodKey& n = keys[out.next];
    for (int c = 0; c < 3; ++c) {
        out.ambient[c] = Lerp(p.ambient[c], n.ambient[c], out.factor);
        out.light[c] = Lerp(p.light[c], n.light[c], out.factor);
        out.fog[c] = Lerp(p.fog[c], n.fog[c], out.factor);
    }
    out.sunScale = Lerp(p.sunScale, n.sunScale, out.factor);
    return out;
}

int EntTimeOfDay::VarsChanged() {
    keys[TOD_KEYS] = keys[0];
    const float t = BlendTime();
    const TodBlend b = Blend(t);
    const float elevation = t * kTwoPi6 - kHalfPi6;
    if (ENTBASE* s = sun.Get()) {
        // "elevation" is an angle, which the named float setter does not reach.
        if (std::strcmp(s->GetTypeName(), "Sun") == 0) {
            auto* real = static_cast<Sun*>(s);
            real->elevation = elevation;
            std::memcpy(real->lightColor, b.light, sizeof b.light);
            real->scale = b.sunScale;
        } else {
            s->SetColor3("lightColor", b.light[0], b.light[1], b.light[2]);
            s->SetFloat("scale", b.sunScale);
        }
        s->VarsChanged();
    }
    ENTBASE* dome = skyDome.Get();
    // The colours are no properties: only a real sky dome has them.
    if (dome && std::strcmp(dome->GetTypeName(), "SkyDome") == 0) {
        auto* d = static_cast<SkyDome*>(dome);
        d->sunElevation = elevation;
        d->highlightColor = Argb(b.light[0] * 255.0f, b.light[1] * 255.0f, b.light[2] * 255.0f);
        d->zenithColor = Argb(b.ambient[0] * 382.5f, b.ambient[1] * 382.5f, b.ambient[2] * 510.0f);
        d->horizonColor = Argb(b.fog[0] * 255.0f, b.fog[1] * 255.0f, b.fog[2] * 255.0f);
        d->VarsChanged();
    }
    if (ENTBASE* env = environment.Get()) {
        env->SetColor3("ambient", b.ambient[0], b.ambient[1], b.ambient[2]);
        env->SetColor3("fogClr", b.fog[0], b.fog[1], b.fog[2]);
    }
    return 1;
}

int EntTimeOfDay::Destroy() {
    // The game object caches this entity and writes its time every update.
    EntTreeNotifyRemoved(EntGetRoot(this), this);
    return ENTBASE::Destroy();
}
