// The ride animators' table. The step factors, ramps, amplitudes and stop rules are the rides'
// own; which node turns about which axis, and the role of the secondary constants, are chosen
// here:
//   stands    turns about y by t x pi/2 (or -t x pi/2); wobbles about x by (sin t + 1) x 0.26;
//             the keg rocks about z by sin t x 0.2; the ribs rock about x by 0.4 sin(t pi/2);
//             the searchlights swing about x by (sin t + 1) x 0.26; the lamp's cradle swings
//             about x by 0.26 sin(0.8 t) and its light turns about y by 0.2 t.
//   rides     the main node of a turning ride turns about y by -a (as the carousel) or about x
//             by a (wheels, arms, loops); counter-turning parts (octopus and spider cars, cups)
//             turn the other way by the listed multiple; cars and pods on a wheel turn back by
//             -a to stay level and sway by sin(a) x speed / the listed constant; swinging boats
//             swing about x by 1.04718 x speed x sin(a); arms that tilt out lift by the listed
//             angle x speed and bob by the listed amplitude x sin(a + k x the listed phase step);
//             the chair swing's middle cylinder rises 1.225 x speed, its top tilts by
//             0.17453 x speed and bobs by 0.066 x speed, its chairs fly out by 0.785385 x speed
//             and bob by 0.066 sin(a + 0.25 k).
#include "game/Ents/RideAnimTable.h"
#include "engine/MathConst.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <initializer_list>

namespace {

constexpr float kRamp = 0.0666f;    // about 15 s to full speed
constexpr float kStopTimer = 15.0f; // the stopping ramp timer that goes with it
constexpr float kCreep = 0.14f;

RideNodeMotion Node(const char* name, RideAxis axis) {
    RideNodeMotion m;
    m.name = name;
    m.axis = axis;
    return m;
}

// A numbered run has a fixed count, the parts the rides' own models have: a model with more
// leaves the extra parts standing (the seats under them have matrices only for these).
RideNodeMotion Run(const char* name, int count, int first, int digits, RideAxis axis) {
    RideNodeMotion m = Node(name, axis);
    m.count = count;
    m.first = first;
    m.digits = digits;
    return m;
}

RideNodeMotion Turn(RideNodeMotion m, float turn) {
    m.turn = turn;
    return m;
}

RideNodeMotion Wave(RideNodeMotion m, float amp, float freq = 1.0f, float phase = 0.0f,
                    float phaseStep = 0.0f) {
    m.amp = amp;
    m.freq = freq;
    m.phase = phase;
    m.phaseStep = phaseStep;
    return m;
}

RideNodeMotion Lift(RideNodeMotion m, float lift) {
    m.lift = lift;
    return m;
}

RideNodeMotion BySpeed(RideNodeMotion m) {
    m.ampBySpeed = true;
    return m;
}

RideNodeMotion Offset(RideNodeMotion m, float offset) {
    m.offset = offset;
    return m;
}

// A wobble: (sin t + 1) x 0.26 about x.
RideNodeMotion Wobble(const char* name) {
    return Offset(Wave(Node(name, RIDE_AXIS_X), 0.26f), 0.26f);
}

RideTypeRow WithMotions(RideTypeRow row, std::initializer_list<RideNodeMotion> motions) {
    for (const RideNodeMotion& m : motions)
        if (row.numMotions < RIDE_TABLE_MOTIONS) row.motions[row.numMotions++] = m;
    return row;
}

RideTypeRow Family(RideFamily family, std::initializer_list<RideNodeMotion> motions = {}) {
    RideTypeRow row;
    row.family = family;
    return WithMotions(row, motions);
}

RideTypeRow Stand(std::initializer_list<RideNodeMotion> motions) {
    return Family(RIDE_FAMILY_STAND, motions);
}

// A ride with the usual 15 s ramps and the creep speed of the turn rules.
RideTypeRow Ride(float step, RideStopRule stop, bool twice,
                 std::initializer_list<RideNodeMotion> motions,
                 RideFamily family = RIDE_FAMILY_SPIN) {
    RideTypeRow row = Family(family, motions);
    row.stepFactor = step;
    row.rampUp = row.rampDown = kRamp;
    row.stopTimer = kStopTimer;
    row.stop = stop;
    row.creep = stop == RIDE_STOP_ZERO ? 0.0f : kCreep;
    row.countedTwice = twice;
    return row;
}

RideTypeRow Ramps(RideTypeRow row, float up, float down, float stopTimer) {
    row.rampUp = up;
    row.rampDown = down;
    row.stopTimer = stopTimer;
    return row;
}

const std::array<RideTypeRow, RIDE_TABLE_TYPES>& Table() {
    static const std::array<RideTypeRow, RIDE_TABLE_TYPES> table = [] {
        std::array<RideTypeRow, RIDE_TABLE_TYPES> t{};
        const RideAxis X = RIDE_AXIS_X, Y = RIDE_AXIS_Y, Z = RIDE_AXIS_Z;
        // ---- stands ----
        t[0] = Stand({Turn(Node("SodaLeft", Y), kHalfPi), Turn(Node("SodaRight", Y), -kHalfPi)});
        t[1] = Stand({Turn(Node("MugLeft", Y), kHalfPi), Turn(Node("MugRight", Y), kHalfPi),
                      Wave(Node("Keg", Z), 0.2f)});
        t[2] = Stand({Wobble("HotDog")});
        t[3] = Stand({Turn(Node("ConeLeft", Y), kHalfPi), Turn(Node("ConeRight", Y), -kHalfPi)});
        t[4] = Stand({Wobble("ChickenLeg")});
        t[5] = Stand({Turn(Node("Burger", Y), kHalfPi), Turn(Node("Fries", Y), kHalfPi)});
        t[6] = Stand({Wobble("CheeseSteak")});
        t[7] = Stand({Turn(Node("Corn", Y), kHalfPi)});
        t[8] = Stand({Turn(Node("CottonCandy", Y), kHalfPi)});
        t[9] = Stand({Wobble("ElephantEar")});
        t[10] = Stand({Turn(Node("FriedLeft", Y), kHalfPi),
                       Offset(Turn(Node("FriedRight", Y), -kHalfPi), kPi)});
        t[11] = Stand({Wave(Node("Ribs", X), 0.4f, kHalfPi)});
        t[35] =
            Stand({Offset(Wave(Run("Spot", 4, 1, 2, X), 0.26f), 0.26f), Wobble("SpotlightBeam")});
        // The lamp's "beam2" material keeps the look the model gives it: the beam is part of the
        // light node and swings with it, lit or not.
        t[36] = Stand({Wave(Node("Cradle", X), 0.26f, 0.8f), Turn(Node("Light", Y), 0.2f)});

        // ---- rides ----
        t[14] = Ride(1.25664f, RIDE_STOP_ZERO, false,
                     {Turn(Node("Spinner", Y), -1.0f),
                      Lift(Wave(Node("Arm", X), 0.08f, 1.0f, kHalfPi), kPi / 4.0f)});
        t[15] = Ride(1.25664f, RIDE_STOP_TURN, false,
                     {Turn(Node("Arm", X), 1.0f), Turn(Node("Seats", X), -1.0f)});
        t[40] = t[15];
        const float armTurn = 1.44513f / 0.392699f; // the arms' own step factor
        t[16] = Ride(0.392699f, RIDE_STOP_ZERO, false,
                     {Turn(Node("Spinner", Y), -1.0f), Turn(Node("ArmLeft", X), armTurn),
                      Turn(Node("ArmRight", X), -armTurn)});
        t[17] = Ride(1.1781f, RIDE_STOP_HALF_TURN, true,
                     {Turn(Node("ZipperArm", X), 1.0f),
                      Wave(Turn(Run("ZipperCar", 10, 1, 2, X), -1.0f), 1.37f, 1.0f, kHalfPi, kPi)});
        // The carousel's running update takes dt off the countdown and then runs the base
        // update, which takes it off again: a carousel ride lasts half of "duration", as the
        // zipper's and the other rides' marked to count it twice.
        t[18] = Ride(kPi / 4.0f, RIDE_STOP_HALF_TURN, true,
                     {Node("Merrygoround", Y), Node("Horses1", RIDE_AXIS_RISE),
                      Node("Horse2", RIDE_AXIS_RISE)},
                     RIDE_FAMILY_CAROUSEL);
        t[19] = Ride(kHalfPi, RIDE_STOP_ZERO, false,
                     {Turn(Node("Arms", Y), -1.0f), Turn(Run("Cars", 3, 1, 1, Y), 2.0f)});
        t[20] = Family(RIDE_FAMILY_DROP, {Node("Trolley", RIDE_AXIS_RISE)});
        t[21] = Ramps(
            Ride(1.49226f, RIDE_STOP_ZERO, true,
                 {Turn(Node("Rotate", Y), -1.0f),
                  Lift(Wave(Run("Arm", 4, 1, 2, X), 0.34906f, 1.0f, 0.0f, kHalfPi), 0.87265f)}),
            0.1f, 0.1f, 10.0f);
        // The small generator draws as the big one: its model needs no render state of its own
        // (no blended or unlit part), so none is set for it.
        t[22] = Family(RIDE_FAMILY_GENERATOR);
        t[27] = Family(RIDE_FAMILY_GENERATOR);
        t[34] = Ride(1.09956f, RIDE_STOP_ZERO, false,
                     {Turn(Node("Spinner", Y), -1.0f),
                      Lift(Wave(Run("Arm", 2, 1, 2, X), 0.2f, 1.0f, 0.0f, kHalfPi), 0.52f)});
        t[37] = Family(RIDE_FAMILY_ARCH);
        t[38] = Ramps(
            Ride(kHalfPi, RIDE_STOP_TURN, false, {Turn(Node("Cars", X), 1.0f)}, RIDE_FAMILY_LOOP),
            0.1333f, 0.1333f, 7.5f);
        t[39] = Ride(1.03673f, RIDE_STOP_HALF_TURN, true,
                     {Turn(Node("GondolierTop", Y), -1.0f),
                      Lift(Node("CylinderMiddle", RIDE_AXIS_RISE), 1.225f),
                      Lift(BySpeed(Wave(Node("CylinderTop", X), 0.066f)), 0.17453f),
                      Lift(Wave(Run("Chair", 24, 1, 2, Z), 0.066f, 1.0f, 0.0f, 0.25f), 0.785385f)});
        t[41] = Ramps(
            Ride(1.49226f, RIDE_STOP_HALF_TURN, true,
                 {Turn(Node("Spindle", Y), -1.0f),
                  Lift(Wave(Run("Arm", 8, 1, 2, X), 0.5f, 1.0f, 0.0f, kPi / 4.0f), 0.52359f)}),
            0.1f, 0.1f, 10.0f);
        t[50] = Ride(0.628318f, RIDE_STOP_HALF_TURN, false,
                     {Turn(Node("Wheel", X), 1.0f),
                      BySpeed(Wave(Turn(Run("Car", 12, 1, 2, X), -1.0f), 1.0f / 2.54647f))});
        t[51] = Ride(0.314159f, RIDE_STOP_HALF_TURN, false,
                     {Turn(Node("Wheel", X), 1.0f),
                      BySpeed(Wave(Turn(Run("Pod", 20, 0, 2, X), -1.0f), 1.0f / 5.09295f))});
        t[52] = Ride(0.7951f, RIDE_STOP_ZERO, true, {BySpeed(Wave(Node("Boat", X), 1.04718f))});
        t[53] = Ride(kPi / 4.0f, RIDE_STOP_ZERO, false, {Turn(Node("Planes", Y), -1.0f)});
        t[54] = Ride(kPi / 4.0f, RIDE_STOP_ZERO, false, {Turn(Node("KiddieCars", Y), -1.0f)});
        t[55] = Ride(kPi / 4.0f, RIDE_STOP_ZERO, false, {Turn(Node("KiddieBoats", Y), -1.0f)});
        t[56] = Ride(kPi / 4.0f, RIDE_STOP_ZERO, false, {Turn(Node("KiddieChoppers", Y), -1.0f)});
        t[57] = Ramps(
            Ride(0.518363f, RIDE_STOP_HALF_TURN, false, {Turn(Node("KiddieTrain", Y), -1.0f)}),
            0.1333f, 0.0421f, 1.0f / 0.0421f);
        t[58] = Ramps(Ride(kPi, RIDE_STOP_HALF_TURN, false,
                           {Turn(Node("Floor", Y), -1.0f), Turn(Node("Spinner", Y), -1.0f)}),
                      kRamp, 0.0655f, 1.0f / 0.0655f);
        t[58].creep = 0.07f;
        t[59] = Ramps(Ride(0.98f, RIDE_STOP_ZERO, true,
                           {BySpeed(Wave(Run("Swing", 2, 1, 1, X), 1.04718f, 1.0f, 0.0f, kPi))}),
                      0.04f, 0.04f, 25.0f);
        t[60] = Ride(0.942478f, RIDE_STOP_ZERO, false,
                     {Turn(Node("Platform", Y), -1.0f), Turn(Run("Cup", 6, 1, 1, Y), 2.0f)});
        t[61] = Ride(3.0f * kPi / 8.0f, RIDE_STOP_ZERO, false,
                     {Turn(Node("Arms", Y), -1.0f), Turn(Run("Cars", 3, 1, 1, Y), 1.5f)});
        return t;
    }();
    return table;
}

} // namespace

const RideTypeRow& RideTypeRowOf(int type) {
    static const RideTypeRow s_static;
    if (type < 0 || type >= RIDE_TABLE_TYPES) return s_static;
    return Table()[(size_t)type];
}

std::string RideNodeName(const RideNodeMotion& motion, int k) {
    if (!motion.name) return {};
    if (motion.count <= 0) return motion.name;
    char name[40];
    std::snprintf(name, sizeof name, "%s%0*d", motion.name, motion.digits, motion.first + k);
    return name;
}

std::vector<std::string> RideTypeNodeNames(int type) {
    const RideTypeRow& row = RideTypeRowOf(type);
    std::vector<std::string> names;
    for (int i = 0; i < row.numMotions; ++i) {
        const RideNodeMotion& m = row.motions[i];
        const int n = m.count > 0 ? m.count : 1;
        for (int k = 0; k < n; ++k)
            names.push_back(RideNodeName(m, k));
    }
    return names;
}
