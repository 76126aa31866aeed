// Animation layers: one animation playing with its own start time, looping flag and fading
// weight, kept in numbered groups by a skinned mesh, and the listener that hears what they do.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class giAnimation;
struct giAnimTrigger;
class TiXmlElement;

// Events a mesh sends its listener.
enum : int32_t {
    GI_ANIM_EVENT_FADED_OUT = 1, // a layer faded out and was removed (no trigger)
    GI_ANIM_EVENT_WRAPPED = 2,   // a looping layer wrapped round (no trigger)
    GI_ANIM_EVENT_TRIGGER = 3,   // a trigger was passed (the trigger is given)
};

class giAnimListener {
  public:
    virtual ~giAnimListener();
    // `trigger` is null for events 1 and 2.
    virtual void OnAnimEvent(int32_t& id, giAnimTrigger* trigger) = 0;
};

class giAnimLayer {
  public:
    giAnimLayer() = default;
    virtual ~giAnimLayer();

    // The child values "fadeStart", "fadeFinal", "fadeCurrent", "fadeTime", "elapsedTime",
    // "elapsedFadeTime" and "looping"; times are kept relative to the application clock, so a
    // layer read later resumes where it was. False for a null element.
    virtual bool Read(const TiXmlElement* e);
    virtual bool Write(TiXmlElement* e) const;

    giAnimation* anim = nullptr; // owned by the mesh's animation cache
    float fadeStart = 0;
    float fadeFinal = 0;
    float fadeCurrent = 0;
    float fadeTime = 0; // seconds; 0 jumps to fadeFinal
    float fadeStartTime = 0;
    float startTime = 0; // application time of the animation's time 0
    bool looping = true;

    // Whether this layer has fired the animation's trigger i in its present pass. The flags are
    // the layer's own, not the triggers': one animation is shared by every mesh that plays it.
    bool TriggerFired(int i);
    void SetTriggerFired(int i, bool fired);
    void SetAllTriggersFired(bool fired);

  private:
    // Follows the animation's trigger list, keeping the flags of the triggers still in it.
    void SyncTriggers();

    std::vector<const giAnimTrigger*> m_triggers;
    std::vector<uint8_t> m_fired;
};

struct giAnimGroup {
    int32_t id = -1;
    std::vector<std::unique_ptr<giAnimLayer>> layers;
};

// The key a layer time samples towards: the first index below the last whose time is at or after
// t, else the last; -1 without keys.
int giAnimKeyIndex(const std::vector<float>& keyTimes, float t);
