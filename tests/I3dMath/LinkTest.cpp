// The GL-free half of the kernel is what the simulation links: this program, which links only
// it, must load no render, window or sound library.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

TEST(I3dMathLink, LoadsNoGlWindowOrSoundLibrary) {
    std::ifstream maps("/proc/self/maps");
    ASSERT_TRUE(maps) << "no /proc/self/maps to read";
    std::string line, found;
    while (std::getline(maps, line))
        for (const char* lib : {"libGL", "libEGL", "libOpenGL", "libSDL2", "libopenal"})
            if (line.find(lib) != std::string::npos) found += line + "\n";
    EXPECT_TRUE(found.empty()) << "the GL-free library pulled in:\n" << found;
}

} // namespace
