// Animation layers: their saved state and their own record of fired triggers.
#include "gi/giAnimLayer.h"

#include "gi/giAnimation.h"
#include "gi/giXmlValue.h"

#include "engine/Timers.h"

static float Now() {
    return (float)AppTimer(APPTIMER_APPTIME);
}

giAnimListener::~giAnimListener() = default;

giAnimLayer::~giAnimLayer() = default;

bool giAnimLayer::Read(const TiXmlElement* e) {
    if (!e) return false;
    const float now = Now();
    fadeStart = giXmlGetFloat(e->FirstChildElement("fadeStart"));
    fadeFinal = giXmlGetFloat(e->FirstChildElement("fadeFinal"));
    fadeCurrent = giXmlGetFloat(e->FirstChildElement("fadeCurrent"));
    fadeTime = giXmlGetFloat(e->FirstChildElement("fadeTime"));
    startTime = now - giXmlGetFloat(e->FirstChildElement("elapsedTime"));
    fadeStartTime = now - giXmlGetFloat(e->FirstChildElement("elapsedFadeTime"));
    looping = giXmlGetBool(e->FirstChildElement("looping"));
    return true;
}

bool giAnimLayer::Write(TiXmlElement* e) const {
    if (!e) return false;
    const float now = Now();
    giXmlSetChild(e, "fadeStart", fadeStart);
    giXmlSetChild(e, "fadeFinal", fadeFinal);
    giXmlSetChild(e, "fadeCurrent", fadeCurrent);
    giXmlSetChild(e, "fadeTime", fadeTime);
    giXmlSetChild(e, "elapsedTime", now - startTime);
    giXmlSetChild(e, "elapsedFadeTime", now - fadeStartTime);
    giXmlSetChild(e, "looping", looping);
    return true;
}

void giAnimLayer::SyncTriggers() {
    const int count = anim ? anim->TriggerCount() : 0;
    bool same = (int)m_triggers.size() == count;
    for (int i = 0; same && i < count; ++i)
        same = m_triggers[(size_t)i] == anim->GetTrigger(i);
    if (same) return;
    std::vector<const giAnimTrigger*> triggers((size_t)count);
    std::vector<uint8_t> fired((size_t)count, 0);
    for (int i = 0; i < count; ++i) {
        triggers[(size_t)i] = anim->GetTrigger(i);
        for (size_t j = 0; j < m_triggers.size(); ++j)
            if (m_triggers[j] == triggers[(size_t)i]) fired[(size_t)i] = m_fired[j];
    }
    m_triggers.swap(triggers);
    m_fired.swap(fired);
}

bool giAnimLayer::TriggerFired(int i) {
    SyncTriggers();
    return i >= 0 && i < (int)m_fired.size() && m_fired[(size_t)i];
}

void giAnimLayer::SetTriggerFired(int i, bool fired) {
    SyncTriggers();
    if (i >= 0 && i < (int)m_fired.size()) m_fired[(size_t)i] = fired;
}

void giAnimLayer::SetAllTriggersFired(bool fired) {
    SyncTriggers();
    for (uint8_t& f : m_fired)
        f = fired;
}

int giAnimKeyIndex(const std::vector<float>& keyTimes, float t) {
    const int count = (int)keyTimes.size();
    for (int i = 0; i < count - 1; ++i)
        if (t <= keyTimes[(size_t)i]) return i;
    return count - 1;
}
