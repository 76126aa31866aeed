// A ride that spins up, runs for its "duration", slows down and stops, its numbers read from the
// ride table: step factor, ramps, stop rule (down to 0, or creep and stop at the next half turn
// or turn) and whether its running time is counted twice. The angle moves in the state updates
// by each update's dt, so the ride cycles the same with one draw per update, several, or none;
// the draw only turns the angle into node overrides. The carousel and the loop ride derive from
// it.
#pragma once

#include "game/Ents/RideAnim.h"
#include "game/Ents/RideAnimNodes.h"

class RideAnimSpin : public RideAnim {
  public:
    explicit RideAnimSpin(int type) : row(&RideTypeRowOf(type)) {}
    int Init(AttrInfo* info, const char* dataFolder, RideAnimOwner* owner) override;
    void Draw(const Mat4* world) override;

    void IdleEnter() override;
    void StartEnter() override;
    void StartUpdate(float seconds) override;
    void RunningEnter() override;
    void RunningUpdate(float seconds) override;
    void StoppingEnter() override;
    void StoppingUpdate(float seconds) override;

    // Moves the angle by speed x seconds x the step rate, in pieces of at most pi so that no
    // half turn is skipped: each half turn passed flips the turn sign, and a creeping ride stops
    // on the boundary its stop rule names.
    void Advance(float seconds);

    const RideTypeRow* row;
    RideNodeSet nodes;
    float angle = 0.0f;     // radians, 0 .. 2 pi
    float speed = 0.0f;     // 0 .. 1 of full speed
    float frameDt = 0.0f;   // the dt of the last state update
    float rampTimer = 0.0f; // seconds
    int32_t turnSign = -1;  // flips at every half turn
    int32_t stopTarget = -1;
    int32_t halfTurn = 0; // truncate(angle / pi)
    bool homed = false;   // the creeping ride reached the boundary of its stop rule

  protected:
    // The angle step per second at full speed, at that angle; and its largest value.
    virtual float StepRate(float) const { return row->stepFactor; }
    virtual float MaxStepRate() const { return row->stepFactor; }

  private:
    bool Creeping() const;
};
