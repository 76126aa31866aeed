// Compiled into the test programs of the libraries that must stay free of the window, the GPU,
// the sound card and the script language (the engine core, the pathfinder, the simulation, the
// GL-free maths, the model library's file formats). Those programs link without the linker's
// --as-needed, so a library that slips in through a dependency is loaded and caught here.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

TEST(LinkGuard, LoadsNoWindowGlSoundOrScriptLibrary) {
    std::ifstream maps("/proc/self/maps");
    ASSERT_TRUE(maps) << "no /proc/self/maps to read";
    std::string line, found;
    while (std::getline(maps, line))
        for (const char* lib : {"libSDL2", "libGL.", "libGLX", "libEGL", "libOpenGL", "libopenal",
                                "libalut", "libvorbis", "liblua"})
            if (line.find(lib) != std::string::npos) found += line + "\n";
    EXPECT_TRUE(found.empty()) << "this program's library pulled in a window, GL, sound or script "
                                  "library through its links:\n"
                               << found;
}

} // namespace
