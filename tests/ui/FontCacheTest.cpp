// The font cache as the menus reach it: paths with either separator, doubled ones, any case,
// and a second folder holding a font of the same title.
#include "tests/harness/UiHarness.h"

#include "I3d/Font.h"

#include <filesystem>
#include <string>

using FontCacheTest = UiTest;

TEST_F(FontCacheTest, EverySpellingOfThePathFindsTheOneCachedFont) {
    StartUi();
    const std::string data = Ctl3DataFolder(); // ends with its separator
    Font* a = FontAcquire((data + "\\Fonts\\Georgia_14").c_str());
    ASSERT_TRUE(a) << "the doubled separator was not collapsed";
    EXPECT_STREQ(a->name, "GEORGIA_14");
    Font* b = FontAcquire((data + "\\fonts\\GEORGIA_14").c_str());
    EXPECT_EQ(a, b);
    EXPECT_EQ(a->refCount, 2);

    // Another folder, the same title: the first font, not a second load.
    namespace fs = std::filesystem;
    const fs::path other = fs::path(std::string(m_dir / "Other"));
    fs::create_directories(other);
    for (const char* ext : {".abc", ".tga"})
        fs::copy_file(std::string(FAIRLARK_BUILD_DATA_DIR) + "Fonts/Georgia_14" + ext,
                      other / (std::string("Georgia_14") + ext));
    Font* c = FontAcquire((other / "Georgia_14").c_str());
    EXPECT_EQ(c, a);
    EXPECT_EQ(a->refCount, 3);
    SharedObjRelease(c);
    SharedObjRelease(b);
    EXPECT_EQ(SharedObjRelease(a), 0);
}
