// Model-info files: lights with their defaults and both colour forms, the attach yaws, counts
// held in range, hostile values, and truncated or byte-damaged copies of a valid file (the
// loader must answer, never crash or size an allocation from garbage).
#include "gi/Mdl3ExInfo.h"
#include "engine/DebugLog.h"
#include "engine/PropDb.h"
#include "engine/Random.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

class Mdl3ExInfoFile : public ::testing::Test {
  protected:
    void SetUp() override {
        Mdl3ExSchemasAcquire();
        DbgSetLogFile((m_dir / "Debug.txt").c_str());
        DbgSetLevelMask(0xFFFFFFFFu);
        DbgSetOutputMask(DBG_OUT_FILE);
    }
    void TearDown() override {
        Mdl3ExSchemasRelease();
        DbgSetLevelMask(0);
        DbgSetOutputMask(0);
        DbgSetLogFile("Debug.txt");
    }
    std::string Write(const std::string& text, const std::string& name = "Model.ini") {
        const std::string path = m_dir / name;
        WriteTextFile(path, text);
        return path;
    }
    std::string Log() const {
        const std::string p = m_dir / "Debug.txt";
        return PathExistsOnDisk(p) ? ReadTextFile(p) : std::string();
    }

    TempDir m_dir;
};

TEST_F(Mdl3ExInfoFile, LightsReadTheirKeysAndMissingKeysTakeTheDefaults) {
    Mdl3ExInfo info;
    ASSERT_EQ(Mdl3ExInfoRead(Write("[ModelInfo]\nnumNodes=3\nnumPointLights=2\n"
                                   "[PointLights0000]\npos.x=1\npos.y=2.5\npos.z=-3\n"
                                   "color.a=255\ncolor.r=128\ncolor.g=0\ncolor.b=64\n"
                                   "radius=0.75\nflashMask=0x55555555\n"
                                   "[PointLights0001]\n")
                                 .c_str(),
                             0, &info),
              1);
    EXPECT_EQ(info.counts.numNodes, 3);
    ASSERT_EQ(info.lights.size(), 2u);
    EXPECT_EQ(info.nodes.size(), 3u) << "node records are allocated from the count";
    const Mdl3ExPtLight& a = info.lights[0];
    EXPECT_FLOAT_EQ(a.pos.x, 1);
    EXPECT_FLOAT_EQ(a.pos.y, 2.5f);
    EXPECT_FLOAT_EQ(a.pos.z, -3);
    EXPECT_EQ(a.color, 0xFF800040u) << "whole numbers are bytes";
    EXPECT_FLOAT_EQ(a.radius, 0.75f);
    EXPECT_EQ(a.flashMask, 0x55555555u);
    const Mdl3ExPtLight& b = info.lights[1];
    EXPECT_EQ(b.pos.x, 0.0f);
    EXPECT_EQ(b.color, 0xFFFFFFFFu) << "a light without colour keys is white";
    EXPECT_FLOAT_EQ(b.radius, 1.0f);
    EXPECT_EQ(b.flashMask, 0xaaaaaaaau) << "the default blink pattern";
}

TEST_F(Mdl3ExInfoFile, ColourChannelsWithADotAreFractions) {
    Mdl3ExInfo info;
    Mdl3ExInfoRead(Write("[ModelInfo]\nnumPointLights=1\n[PointLights0000]\n"
                         "color.a=1.0\ncolor.r=0.5\ncolor.g=0\ncolor.b=0.25\n")
                       .c_str(),
                   0, &info);
    ASSERT_EQ(info.lights.size(), 1u);
    EXPECT_EQ(info.lights[0].color, 0xFF800040u);
}

TEST_F(Mdl3ExInfoFile, AttachYawsAreReadForTheIndicesAskedFor) {
    Mdl3ExInfo info;
    Mdl3ExInfoRead(Write("[ModelInfo]\nattachYaw00=1.5708\nattachYaw02=nan\nattachYaw03=2\n"
                         "attachYaw100=0.5\n")
                       .c_str(),
                   101, &info);
    ASSERT_EQ(info.attachYaw.size(), 101u);
    EXPECT_FLOAT_EQ(info.attachYaw[0], 1.5708f);
    EXPECT_TRUE(std::isnan(info.attachYaw[1])) << "a missing key keeps the authored matrix";
    EXPECT_TRUE(std::isnan(info.attachYaw[2])) << "a non-finite yaw would poison the matrix";
    EXPECT_FLOAT_EQ(info.attachYaw[3], 2.0f);
    EXPECT_FLOAT_EQ(info.attachYaw[100], 0.5f) << "three digits beyond 99";
}

TEST_F(Mdl3ExInfoFile, CountsOutsideTheirRangeAreHeldAndLogged) {
    struct Case {
        const char* text;
        int32_t nodes, lights;
    };
    for (const Case& c :
         {Case{"numNodes=5\nnumPointLights=-1\n", 5, 0},
          Case{"numNodes=1000000\nnumPointLights=100000\n", MDL3EX_MAX_NODES, MDL3EX_MAX_LIGHTS},
          Case{"numNodes=many\nnumPointLights=0x7fffffff\n", 0, MDL3EX_MAX_LIGHTS}}) {
        Mdl3ExInfo info;
        const std::string path = Write(std::string("[ModelInfo]\n") + c.text, "Hostile.ini");
        ASSERT_EQ(Mdl3ExInfoRead(path.c_str(), 0, &info), 1) << c.text;
        EXPECT_EQ(info.counts.numNodes, c.nodes) << c.text;
        EXPECT_EQ(info.counts.numPointLights, c.lights) << c.text;
        EXPECT_EQ(info.lights.size(), (size_t)c.lights);
        EXPECT_EQ(info.nodes.size(), (size_t)c.nodes);
    }
    EXPECT_NE(Log().find("Hostile.ini: numPointLights -1 outside 0..400"), std::string::npos)
        << Log();
    EXPECT_NE(Log().find("numNodes 1000000 outside 0..1024"), std::string::npos) << Log();
}

TEST_F(Mdl3ExInfoFile, MissingSectionsGiveDefaultsAndAMissingFileGivesNothing) {
    Mdl3ExInfo info;
    Mdl3ExInfoRead(Write("[ModelInfo]\nnumPointLights=5\n[PointLights0001]\nradius=2\n"
                         "[PointLights0004]\nradius=oops\n")
                       .c_str(),
                   0, &info);
    ASSERT_EQ(info.lights.size(), 5u);
    EXPECT_FLOAT_EQ(info.lights[3].radius, 1.0f) << "a missing section reads as defaults";
    EXPECT_FLOAT_EQ(info.lights[1].radius, 2.0f);
    EXPECT_TRUE(std::isfinite(info.lights[4].radius)) << "text where a number belongs";

    info.lights.resize(3);
    EXPECT_EQ(Mdl3ExInfoRead((m_dir / "Missing.ini").c_str(), 4, &info), 0);
    EXPECT_TRUE(info.lights.empty() && info.nodes.empty() && info.attachYaw.empty())
        << "a missing file leaves no lights, node records or yaws behind";
}

// Every truncation and a run of byte-damaged copies of a valid file load to an answer within
// the limits (the sanitizers catch what a result cannot show).
TEST_F(Mdl3ExInfoFile, TruncatedAndDamagedFilesAreReadWithinTheLimits) {
    const std::string valid = "[ModelInfo]\nnumNodes=2\nnumPointLights=3\nattachYaw00=0.5\n"
                              "attachYaw01=1\n[PointLights0000]\npos.x=1\ncolor.r=255\n"
                              "radius=2\nflashMask=0xaaaaaaaa\n[PointLights0001]\ncolor.a=0.5\n"
                              "[PointLights0002]\npos.z=-4\nflashMask=1\n";
    auto check = [&](const std::string& text) {
        Mdl3ExInfo info;
        Mdl3ExInfoRead(Write(text, "Damaged.ini").c_str(), 2, &info);
        ASSERT_LE(info.lights.size(), (size_t)MDL3EX_MAX_LIGHTS);
        ASSERT_LE(info.nodes.size(), (size_t)MDL3EX_MAX_NODES);
        ASSERT_EQ(info.lights.size(), (size_t)info.counts.numPointLights);
        ASSERT_EQ(info.attachYaw.size(), 2u);
    };
    for (size_t n = 0; n <= valid.size(); ++n)
        check(valid.substr(0, n));
    MsSeed(45);
    const char kBytes[] = {'\0', '\n', '[', ']', '=', '-', '9', 'x', '.', char(0xFF)};
    for (int round = 0; round < 300; ++round) {
        std::string text = valid;
        for (int k = 0; k < 1 + MsRand() % 4; ++k)
            text[(size_t)MsRand() % text.size()] = kBytes[MsRand() % sizeof kBytes];
        check(text);
    }
}

TEST_F(Mdl3ExInfoFile, TheSchemasAreCountedAndGoWithTheLastRelease) {
    ASSERT_NE(Mdl3ExSchema(), nullptr);
    EXPECT_STREQ(Mdl3ExPtLightSchema()->name, "Mdl3ExPtLight");
    EXPECT_STREQ(Mdl3ExNodeSchema()->name, "Mdl3ExNode");
    EXPECT_NE(PropDbFindField(Mdl3ExPtLightSchema(), "flashMask"), nullptr);
    Mdl3ExSchemasAcquire();
    Mdl3ExSchemasRelease();
    EXPECT_NE(Mdl3ExSchema(), nullptr) << "one holder is left";
    Mdl3ExSchemasRelease();
    EXPECT_EQ(Mdl3ExSchema(), nullptr);
    Mdl3ExSchemasAcquire(); // for TearDown
}

} // namespace
