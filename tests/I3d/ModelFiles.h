// Model files for the model tests: scene descriptions built with the model tool's parts (and
// changed by hand where a test needs a file the tool would never write), written to a scratch
// folder.
#pragma once

#include "I3d/Math/Mat4Math.h"
#include "I3d/Mdl3.h"
#include "datagen/Models/MdlBuild.h"
#include "datagen/Models/MdlOutput.h"
#include "engine/Files.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

inline const Mat4 kIdentity = [] {
    Mat4 m;
    return *Mat4Identity(&m);
}();

inline Mat4 Translation(float x, float y, float z) {
    Mat4 m = kIdentity;
    m.m[12] = x, m.m[13] = y, m.m[14] = z;
    return m;
}

// The model of a description; a description error fails the test.
inline MdlModel BuildModel(const std::string& description) {
    MdlScene scene;
    MdlModel model;
    std::string error;
    EXPECT_TRUE(MdlParseScene(description, &scene, &error) && MdlBuildModel(scene, &model, &error))
        << error;
    return model;
}

inline std::string WriteBytes(const TempDir& dir, const std::string& file,
                              const std::vector<uint8_t>& bytes) {
    const std::string path = dir / file;
    EXPECT_EQ(FileWriteAll(path.c_str(), bytes.data(), bytes.size()), 1);
    return path;
}

inline std::string WriteModel(const TempDir& dir, const std::string& file, const MdlModel& m) {
    return WriteBytes(dir, file, MdlModelBytes(m));
}

// The description's model and textures in the folder; the model's path.
inline std::string WriteScene(const TempDir& dir, const std::string& description) {
    MdlOutput out;
    std::string error;
    EXPECT_TRUE(MdlCompile(description, &out, &error)) << error;
    EXPECT_TRUE(MdlWriteOutput(out, dir.Path(), &error)) << error;
    return dir / (out.title + ".md3");
}
