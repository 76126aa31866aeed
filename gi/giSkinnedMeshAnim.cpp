// The skinned mesh's animation layers: starting, fading and retiring them, and each frame's
// evaluation on the application clock into one blended pose.
#include "gi/giSkinnedMesh.h"

#include "gi/giAnimation.h"
#include "gi/giDebug.h"
#include "gi/giSkeleton.h"
#include "gi/giString.h"

#include "engine/Timers.h"

#include <algorithm>
#include <cmath>

namespace {

// Weights below this count as faded out.
constexpr float kGone = 0.001f;
// Wraps sent in one evaluation at most: a clock far past a short clip (after a long hold) would
// otherwise take a pass per length, and a float time far past the length stops shrinking.
constexpr int kMaxWraps = 1000;

float Now() {
    return (float)AppTimer(APPTIMER_APPTIME);
}

} // namespace

// ---- animation list ----

// A clip already listed is not added again: a descriptor naming one file twice gets the
// shared clip once (FindAnimation would find the first either way).
void giSkinnedMesh::AddAnimation(giAnimation* anim) {
    if (!anim || std::find(animations.begin(), animations.end(), anim) != animations.end()) return;
    const int tracks = (int)anim->Tracks().size();
    if (m_skeleton && tracks != BoneCount())
        giOutputDebugString(giStrFormat("giSkinnedMesh::AddAnimation: %s has %d tracks for a "
                                        "skeleton of %d bones; tracks past its bones are not "
                                        "played\n",
                                        anim->Name().c_str(), tracks, BoneCount())
                                .c_str());
    animations.push_back(anim);
}

void giSkinnedMesh::RemoveAnimation(const std::string& name) {
    std::erase_if(animations, [&](const giAnimation* a) { return a->Name() == name; });
}

giAnimation* giSkinnedMesh::FindAnimation(const std::string& name) const {
    for (giAnimation* a : animations)
        if (a->Name() == name) return a;
    return nullptr;
}

// ---- groups and layers ----

giAnimGroup* giSkinnedMesh::FindGroup(int32_t id) const {
    for (const auto& g : groups)
        if (g->id == id) return g.get();
    return nullptr;
}

giAnimGroup* giSkinnedMesh::GetGroup(int32_t id) {
    if (giAnimGroup* g = FindGroup(id)) return g;
    groups.push_back(std::make_unique<giAnimGroup>());
    groups.back()->id = id;
    return groups.back().get();
}

giAnimLayer* giSkinnedMesh::FindLayer(const std::string& name, int32_t group) const {
    giAnimGroup* g = FindGroup(group);
    if (!g) return nullptr;
    for (const auto& l : g->layers)
        if (l->anim && l->anim->Name() == name) return l.get();
    return nullptr;
}

giAnimLayer* giSkinnedMesh::NewLayer(const std::string& name, bool looping, float fadeTime,
                                     float weight, giAnimGroup* group, bool firstEver,
                                     bool exclusive) {
    giAnimation* anim = FindAnimation(name);
    if (!anim) return nullptr;
    auto layer = std::make_unique<giAnimLayer>();
    layer->anim = anim;
    layer->fadeStart = 0;
    layer->fadeFinal = weight;
    layer->looping = looping;
    // The first layer a mesh ever plays has nothing to fade in over.
    if (firstEver) {
        layer->fadeTime = 0;
        layer->fadeCurrent = exclusive ? weight : 1.0f;
    } else {
        layer->fadeTime = fadeTime;
        layer->fadeCurrent = 0;
    }
    layer->fadeStartTime = layer->startTime = Now();
    giAnimLayer* made = layer.get();
    group->layers.push_back(std::move(layer));
    if (updateOnLayerChange) UpdateAnimationBoxes();
    return made;
}

void giSkinnedMesh::AddLayer(const std::string& name, bool looping, float fadeTime, float weight,
                             int32_t group) {
    const bool firstEver = groups.empty();
    giAnimGroup* g = GetGroup(group);
    if (giAnimLayer* l = FindLayer(name, group)) {
        l->fadeFinal = weight;
        l->fadeStart = l->fadeCurrent;
        l->fadeStartTime = Now();
        l->fadeTime = fadeTime;
        Animate(false);
        return;
    }
    NewLayer(name, looping, fadeTime, weight, g, firstEver, false);
}

void giSkinnedMesh::PlayExclusive(const std::string& name, bool looping, float fadeTime,
                                  float weight, int32_t group) {
    const bool firstEver = groups.empty();
    giAnimGroup* g = GetGroup(group);
    const float now = Now();
    for (const auto& l : g->layers) {
        l->fadeStart = l->fadeCurrent;
        if (l->fadeFinal > 0) l->fadeStartTime = now;
        l->fadeTime = fadeTime;
        l->fadeFinal = 0;
        // A layer that is fading out fires no more triggers.
        l->SetAllTriggersFired(true);
    }
    if (giAnimLayer* l = FindLayer(name, group)) {
        l->fadeFinal = weight;
        l->fadeStart = l->fadeCurrent;
        l->fadeStartTime = now;
        l->fadeTime = fadeTime;
        return;
    }
    NewLayer(name, looping, fadeTime, weight, g, firstEver, true);
}

void giSkinnedMesh::FadeOutLayer(const std::string& name, float fadeTime, int32_t group) {
    giAnimLayer* l = FindLayer(name, group);
    if (!l) return;
    l->fadeTime = fadeTime;
    l->fadeStartTime = Now();
    l->fadeStart = l->fadeCurrent;
    l->fadeFinal = 0;
}

bool giSkinnedMesh::IsPlaying(const std::string& name, int32_t group) {
    const giAnimLayer* l = FindLayer(name, group);
    if (!l) return false;
    // In layer time, as Animate measures it, so that a faster speed ends a clip sooner here too.
    return l->looping || (Now() - l->startTime) * speed < l->anim->Length();
}

void giSkinnedMesh::SetSpeed(float s) {
    if (s == 0 || !std::isfinite(s)) return;
    if (!groups.empty()) {
        const float now = Now();
        for (const auto& g : groups)
            for (const auto& l : g->layers) {
                const float e = now - l->startTime;
                if (e > 0) l->startTime = now - e * speed / s;
            }
    }
    speed = s;
}

void giSkinnedMesh::NotePoseMemory(giPoseMemory* memory) const {
    if (!memory) return;
    // The arrays every animate writes first: a full list then leaves out the layers of a rare
    // many-layered mesh, never the pose.
    memory->Add(this, sizeof *this);
    memory->Add(bonePos.data(), bonePos.size() * sizeof bonePos[0]);
    memory->Add(boneRot.data(), boneRot.size() * sizeof boneRot[0]);
    memory->Add(m_boneMatrix.data(), m_boneMatrix.size() * sizeof m_boneMatrix[0]);
    memory->Add(groups.data(), groups.size() * sizeof groups[0]);
    for (const auto& g : groups) {
        memory->Add(g.get(), sizeof *g);
        memory->Add(g->layers.data(), g->layers.size() * sizeof g->layers[0]);
        for (const auto& l : g->layers)
            memory->Add(l.get(), sizeof *l);
    }
}

// ---- evaluation ----

void giSkinnedMesh::Send(int32_t id, giAnimTrigger* trigger) {
    if (!listener) return;
    int32_t event = id;
    listener->OnAnimEvent(event, trigger);
}

void giSkinnedMesh::FlushTriggers(giAnimLayer& layer) {
    if (!listener || !layer.anim || layer.anim->TriggersBusy()) return;
    // The count is read on every pass: the listener may change the list.
    for (int i = 0; i < layer.anim->TriggerCount(); ++i) {
        if (layer.TriggerFired(i)) continue;
        layer.SetTriggerFired(i, true);
        Send(GI_ANIM_EVENT_TRIGGER, layer.anim->GetTrigger(i));
    }
}

void giSkinnedMesh::Retire(giAnimGroup& group, size_t index) {
    std::unique_ptr<giAnimLayer> layer = std::move(group.layers[index]);
    group.layers.erase(group.layers.begin() + (ptrdiff_t)index);
    if (listener) {
        FlushTriggers(*layer);
        Send(GI_ANIM_EVENT_FADED_OUT, nullptr);
    }
    layer.reset();
    if (updateOnLayerChange) UpdateAnimationBoxes();
}

void giSkinnedMesh::Evaluate(giAnimLayer& l, float now, bool first) {
    if (l.fadeCurrent != l.fadeFinal) {
        const float f = (now - l.fadeStartTime) * speed;
        if (!(l.fadeTime > 0) || f >= l.fadeTime)
            l.fadeCurrent = l.fadeFinal;
        else if (f > 0)
            l.fadeCurrent = l.fadeStart + (l.fadeFinal - l.fadeStart) * f / l.fadeTime;
        else // a clock or speed running backwards holds the fade at its start
            l.fadeCurrent = l.fadeStart;
    }

    giAnimation* a = l.anim;
    if (!a) return;
    const float length = a->Length();
    float t = (now - l.startTime) * speed;
    if (!std::isfinite(t)) t = 0;
    if (!(length > 0)) {
        // A one-pose clip has no passes: wrapping it would subtract nothing for ever.
        t = 0;
    } else {
        int wraps = 0;
        while (t > length) {
            if (l.looping) {
                Send(GI_ANIM_EVENT_WRAPPED, nullptr);
                float next = t - length;
                if (++wraps >= kMaxWraps || next == t) next = std::fmod(t, length);
                t = next;
                // startTime is in clock time, t in layer time.
                l.startTime = now - t / speed;
            } else {
                t = length;
                l.startTime = now - length / speed;
            }
            if (!a->TriggersBusy()) {
                FlushTriggers(l);
                // A clip that has ended stays ended: re-armed triggers would all fire again at
                // the next evaluation, and every one after, as long as the clip holds its end.
                if (l.looping) l.SetAllTriggersFired(false);
            }
        }
    }
    if (listener && !a->TriggersBusy())
        for (int i = 0; i < a->TriggerCount(); ++i) {
            giAnimTrigger* trig = a->GetTrigger(i);
            if (l.TriggerFired(i) || !(trig->time < t)) continue;
            l.SetTriggerFired(i, true);
            Send(GI_ANIM_EVENT_TRIGGER, trig);
        }
    time = t;

    const std::vector<float>& times = a->KeyTimes();
    const int k = giAnimKeyIndex(times, t);
    if (k < 0) return;
    float u = 0;
    if (k >= 1) {
        // Equal key times would divide by zero, and a last key before the length would be
        // extrapolated past.
        const float span = times[(size_t)k] - times[(size_t)k - 1];
        if (span > 0) u = std::clamp((t - times[(size_t)k - 1]) / span, 0.0f, 1.0f);
        if (!(u == u)) u = 0;
    }
    const int bones = BoneCount();
    for (const giAnimTrack& track : a->Tracks()) {
        const int b = track.boneIndex;
        // A clip made for a larger rig has tracks past this skeleton's bones.
        if (b < 0 || b >= bones || (size_t)k >= track.keys.size()) continue;
        const giAnimKey& k1 = track.keys[(size_t)k];
        giVec3 p(k1.pos[0], k1.pos[1], k1.pos[2]);
        giQuat q = k1.Rotation();
        if (k >= 1) {
            const giAnimKey& k0 = track.keys[(size_t)k - 1];
            const giVec3 p0(k0.pos[0], k0.pos[1], k0.pos[2]);
            p = p0 + (p - p0) * u;
            q = giQuaternionSlerpAlong(k0.Rotation(), q, track.arcs[(size_t)k], u);
        }
        if (first) {
            bonePos[(size_t)b] = p;
            boneRot[(size_t)b] = q;
        } else {
            bonePos[(size_t)b] = bonePos[(size_t)b] + (p - bonePos[(size_t)b]) * l.fadeCurrent;
            boneRot[(size_t)b] = giQuaternionSlerp(boneRot[(size_t)b], q, l.fadeCurrent);
        }
    }
}

void giSkinnedMesh::Animate(bool force) {
    // A listener that starts or stops layers may call back in here; the outer call finishes
    // the frame.
    if (!m_skeleton || groups.empty() || m_animating) return;
    if (!force && AppTimerHold(2) == 1) return;
    m_animating = true;
    bonePos.resize((size_t)BoneCount());
    boneRot.resize((size_t)BoneCount());
    const float now = Now();
    bool evaluated = false;
    // Indices, not iterators: a listener may add groups and layers while events are sent.
    for (size_t g = 0; g < groups.size(); ++g) {
        giAnimGroup& group = *groups[g];
        for (size_t i = 0; i < group.layers.size();) {
            const giAnimLayer& l = *group.layers[i];
            if (l.fadeCurrent < kGone && l.fadeFinal < kGone)
                Retire(group, i);
            else
                ++i;
        }
        for (size_t i = 0; i < group.layers.size(); ++i) {
            Evaluate(*group.layers[i], now, !evaluated);
            evaluated = true;
        }
    }
    if (evaluated) BuildBoneMatrices();
    m_animating = false;
}
