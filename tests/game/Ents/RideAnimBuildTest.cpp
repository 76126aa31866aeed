// The builder's choice by type index: each index's family and the node names it searches, a
// plain animator for indices outside the table (whose attraction still cycles), and the rides'
// numbers that the table must keep.
#include "game/Ents/RideAnimArch.h"
#include "game/Ents/RideAnimCarousel.h"
#include "game/Ents/RideAnimDropTower.h"
#include "game/Ents/RideAnimGenerator.h"
#include "game/Ents/RideAnimLoop.h"
#include "game/Ents/RideAnimStand.h"
#include "tests/game/Ents/AttrTestSupport.h"
#include "tests/game/Ents/RideAnimRigs.h"

#include <typeinfo>

namespace {

// s stand, r ride, c carousel, l loop, d drop tower, g generator, a arch, - static.
const char kFamilies[] = "ssssssssssss--rrrrcrdrg----g------rss" // 0..36
                         "alrrr--------"                         // 37..49
                         "rrrrrrrrrrrr";                         // 50..61

char FamilyLetter(RideAnimCore* anim) {
    if (dynamic_cast<RideAnimCarousel*>(anim)) return 'c';
    if (dynamic_cast<RideAnimLoop*>(anim)) return 'l';
    if (dynamic_cast<RideAnimSpin*>(anim)) return 'r';
    if (dynamic_cast<RideAnimStand*>(anim)) return 's';
    if (dynamic_cast<RideAnimDropTower*>(anim)) return 'd';
    if (dynamic_cast<RideAnimGenerator*>(anim)) return 'g';
    if (dynamic_cast<RideAnimArch*>(anim)) return 'a';
    if (anim && typeid(*anim) == typeid(RideAnim)) return '-';
    return '?';
}

std::string Joined(const std::vector<std::string>& names) {
    std::string s;
    for (const std::string& n : names)
        s += (s.empty() ? "" : " ") + n;
    return s;
}

TEST(RideAnimBuild, EachIndexGetsItsFamily) {
    ASSERT_EQ(sizeof kFamilies - 1, 62u);
    RideRig rig;
    for (int type = 0; type < 62; ++type) {
        RideAnim* anim = rig.Build(type);
        ASSERT_NE(anim, nullptr);
        EXPECT_EQ(FamilyLetter(anim), kFamilies[type]) << "type " << type;
        EXPECT_EQ(anim->runState, RIDE_IDLE) << "type " << type << " was not started";
    }
    for (int type : {-1, 62, 70, 1000})
        EXPECT_EQ(FamilyLetter(rig.Build(type)), '-') << "type " << type;
    EXPECT_EQ(AttrBaseBuildAnimator(18, nullptr, "", rig.owner), nullptr)
        << "no type record, no animator";
}

TEST(RideAnimBuild, EachIndexSearchesItsNodeNames) {
    const std::pair<int, const char*> expected[] = {
        {0, "SodaLeft SodaRight"},
        {1, "MugLeft MugRight Keg"},
        {2, "HotDog"},
        {10, "FriedLeft FriedRight"},
        {11, "Ribs"},
        {14, "Spinner Arm"},
        {15, "Arm Seats"},
        {16, "Spinner ArmLeft ArmRight"},
        {17, "ZipperArm ZipperCar01 ZipperCar02 ZipperCar03 ZipperCar04 ZipperCar05 ZipperCar06 "
             "ZipperCar07 ZipperCar08 ZipperCar09 ZipperCar10"},
        {18, "Merrygoround Horses1 Horse2"},
        {19, "Arms Cars1 Cars2 Cars3"},
        {20, "Trolley"},
        {21, "Rotate Arm01 Arm02 Arm03 Arm04"},
        {22, ""},
        {34, "Spinner Arm01 Arm02"},
        {35, "Spot01 Spot02 Spot03 Spot04 SpotlightBeam"},
        {36, "Cradle Light"},
        {38, "Cars"},
        {40, "Arm Seats"},
        {52, "Boat"},
        {55, "KiddieBoats"},
        {57, "KiddieTrain"},
        {58, "Floor Spinner"},
        {59, "Swing1 Swing2"},
        {60, "Platform Cup1 Cup2 Cup3 Cup4 Cup5 Cup6"},
        {61, "Arms Cars1 Cars2 Cars3"},
        {70, ""},
    };
    for (const auto& [type, names] : expected)
        EXPECT_EQ(Joined(RideTypeNodeNames(type)), names) << "type " << type;
    const std::vector<std::string> chairs = RideTypeNodeNames(39);
    ASSERT_EQ(chairs.size(), 3u + 24u);
    EXPECT_EQ(chairs[3], "Chair01");
    EXPECT_EQ(chairs.back(), "Chair24");
    const std::vector<std::string> pods = RideTypeNodeNames(51);
    EXPECT_EQ(pods[1], "Pod00") << "the grand wheel's pods count from 00";
    EXPECT_EQ(RideTypeNodeNames(50)[1], "Car01");
    for (int type = 0; type < 62; ++type)
        if (kFamilies[type] == '-' || kFamilies[type] == 'g' || kFamilies[type] == 'a')
            EXPECT_TRUE(RideTypeNodeNames(type).empty()) << "type " << type;
        else
            EXPECT_FALSE(RideTypeNodeNames(type).empty()) << "type " << type;
}

// The fixed numbers: step factors, ramps, stop rules and the counted-twice members.
TEST(RideAnimBuild, TheRidesKeepTheirFactorsRampsAndStopRules) {
    struct Fixed {
        int type;
        float step, rampUp;
        RideStopRule stop;
        bool twice;
    };
    const Fixed fixed[] = {
        {14, 1.25664f, 0.0666f, RIDE_STOP_ZERO, false},
        {15, 1.25664f, 0.0666f, RIDE_STOP_TURN, false},
        {16, 0.392699f, 0.0666f, RIDE_STOP_ZERO, false},
        {17, 1.1781f, 0.0666f, RIDE_STOP_HALF_TURN, true},
        {18, 0.785398f, 0.0666f, RIDE_STOP_HALF_TURN, true},
        {19, 1.570796f, 0.0666f, RIDE_STOP_ZERO, false},
        {21, 1.49226f, 0.1f, RIDE_STOP_ZERO, true},
        {34, 1.09956f, 0.0666f, RIDE_STOP_ZERO, false},
        {38, 1.570796f, 0.1333f, RIDE_STOP_TURN, false},
        {39, 1.03673f, 0.0666f, RIDE_STOP_HALF_TURN, true},
        {40, 1.25664f, 0.0666f, RIDE_STOP_TURN, false},
        {41, 1.49226f, 0.1f, RIDE_STOP_HALF_TURN, true},
        {50, 0.628318f, 0.0666f, RIDE_STOP_HALF_TURN, false},
        {51, 0.314159f, 0.0666f, RIDE_STOP_HALF_TURN, false},
        {52, 0.7951f, 0.0666f, RIDE_STOP_ZERO, true},
        {53, 0.785398f, 0.0666f, RIDE_STOP_ZERO, false},
        {56, 0.785398f, 0.0666f, RIDE_STOP_ZERO, false},
        {57, 0.518363f, 0.1333f, RIDE_STOP_HALF_TURN, false},
        {58, 3.141593f, 0.0666f, RIDE_STOP_HALF_TURN, false},
        {59, 0.98f, 0.04f, RIDE_STOP_ZERO, true},
        {60, 0.942478f, 0.0666f, RIDE_STOP_ZERO, false},
        {61, 1.178097f, 0.0666f, RIDE_STOP_ZERO, false},
    };
    for (const Fixed& f : fixed) {
        const RideTypeRow& row = RideTypeRowOf(f.type);
        EXPECT_NEAR(row.stepFactor, f.step, 1e-5f) << "type " << f.type;
        EXPECT_EQ(row.rampUp, f.rampUp) << "type " << f.type;
        EXPECT_EQ(row.stop, f.stop) << "type " << f.type;
        EXPECT_EQ(row.countedTwice, f.twice) << "type " << f.type;
    }
    EXPECT_EQ(RideTypeRowOf(18).stopTimer, 15.0f);
    EXPECT_EQ(RideTypeRowOf(18).creep, 0.14f);
    EXPECT_EQ(RideTypeRowOf(38).stopTimer, 7.5f);
    EXPECT_EQ(RideTypeRowOf(57).rampDown, 0.0421f);
    EXPECT_EQ(RideTypeRowOf(58).rampDown, 0.0655f);
    EXPECT_EQ(RideTypeRowOf(58).creep, 0.07f);
}

// A type the table does not know rides the plain animator, and its attraction still cycles.
class RideAnimBuildAttr : public AttrTest {};

TEST_F(RideAnimBuildAttr, AnUnknownIndexCyclesOnThePlainAnimator) {
    AttrBase* attr = Place(T_RIDE);
    ASSERT_NE(attr->animator, nullptr);
    delete attr->animator;
    attr->animator = AttrBaseBuildAnimator(70, attr->info, "", attr);
    ASSERT_NE(attr->animator, nullptr);
    EXPECT_EQ(typeid(*attr->animator), typeid(RideAnim));
    for (int i = 0; i < 4; ++i)
        AttrBaseJoinQueue(attr, Patron());
    ASSERT_TRUE(UntilState(attr, ATTR_RIDING));
    EXPECT_EQ(attr->animator->runState, RIDE_RUNNING);
    ASSERT_TRUE(UntilState(attr, ATTR_UNLOADING)) << "the ride on index 70 never ended";

    // The spider's index with a list that stops short of it: no type record, no animator.
    AttrBase* spider = Place(61, "Spider");
    EXPECT_TRUE(spider->inert);
    EXPECT_EQ(spider->animator, nullptr);
}

} // namespace
