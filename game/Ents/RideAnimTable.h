// The ride animators' table: for every attraction type index, the animator family, the moving
// nodes with the motion each one gets, and a ride's step factor, ramps and stop rule. The
// builder picks the member by it and the table-driven members read their numbers from it.
#pragma once

#include <string>
#include <vector>

enum RideFamily {
    RIDE_FAMILY_STATIC,    // a plain RideAnim: no moving parts
    RIDE_FAMILY_STAND,     // product nodes turning or wobbling on the state time
    RIDE_FAMILY_SPIN,      // a ride that spins up, runs, slows down and stops (table-driven)
    RIDE_FAMILY_CAROUSEL,  // the carousel: its own draw on the spin ride's states
    RIDE_FAMILY_LOOP,      // the loop ride: its own step and full-turn stop
    RIDE_FAMILY_DROP,      // the drop tower: a height instead of an angle
    RIDE_FAMILY_GENERATOR, // supplies power and wears with the grid's load
    RIDE_FAMILY_ARCH,      // static, but its idle update does nothing
};

// A rotation about an axis of the node's own frame, or a rise along its y.
enum RideAxis { RIDE_AXIS_X, RIDE_AXIS_Y, RIDE_AXIS_Z, RIDE_AXIS_RISE };

enum RideStopRule {
    RIDE_STOP_ZERO,      // ramps straight down to speed 0
    RIDE_STOP_HALF_TURN, // creeps, then stops at the next half turn of the angle
    RIDE_STOP_TURN,      // creeps, then stops when the angle completes its turn (back at 0)
};

// One moving node, or a numbered run of them ("Car" with count 12, first 1 and 2 digits is
// "Car01" .. "Car12"; node k of the run is k = 0, 1, ...). Its value, in radians or units:
//   turn x a + amp x (speed when ampBySpeed, else 1) x sin(freq x a + phase + k x phaseStep)
//   + offset + lift x speed
// where a is the ride's angle (a stand's: its state time). Turns that are not whole numbers
// run on an angle of their own, so that they do not jump when the ride's angle wraps.
struct RideNodeMotion {
    const char* name = nullptr;
    int count = 0; // 0: the single node `name`
    int first = 1;
    int digits = 2;
    RideAxis axis = RIDE_AXIS_Y;
    float turn = 0.0f;
    float amp = 0.0f;
    float freq = 1.0f;
    float phase = 0.0f;
    float phaseStep = 0.0f;
    float offset = 0.0f;
    float lift = 0.0f;
    bool ampBySpeed = false;
};

enum { RIDE_TABLE_TYPES = 62, RIDE_TABLE_MOTIONS = 5 };

struct RideTypeRow {
    RideFamily family = RIDE_FAMILY_STATIC;
    // Rides: angle step = speed x dt x stepFactor.
    float stepFactor = 0.0f;
    // Speed = ramp timer x rampUp while starting (1 / rampUp seconds to full speed).
    float rampUp = 0.0f;
    // Stopping: the ramp timer starts at stopTimer and speed = ramp timer x rampDown.
    float rampDown = 0.0f;
    float stopTimer = 0.0f;
    RideStopRule stop = RIDE_STOP_ZERO;
    float creep = 0.0f; // the creep speed of the turn rules
    // The running update subtracts dt before the base running update does: half of "duration".
    bool countedTwice = false;
    int numMotions = 0;
    RideNodeMotion motions[RIDE_TABLE_MOTIONS];
};

// The row of a type index; the static row for any index outside 0..61.
const RideTypeRow& RideTypeRowOf(int type);
// The node name of run member k (the name itself for a single node).
std::string RideNodeName(const RideNodeMotion& motion, int k);
// Every node name the member of that type searches for, in table order.
std::vector<std::string> RideTypeNodeNames(int type);
