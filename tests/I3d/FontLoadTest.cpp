// Loading fonts and sharing them through the cache, on the recording layer: the generated game
// fonts, missing textures, and metrics files that are short, corrupt or of another version.
#include "tests/I3d/FontFixture.h"

#include "engine/Files.h"

namespace {

std::vector<uint8_t> FileBytes(const std::string& path) {
    std::string s = ReadTextFile(path);
    return std::vector<uint8_t>(s.begin(), s.end());
}

void PutBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    ASSERT_EQ(FileWriteAll(path.c_str(), bytes.data(), bytes.size()), 1);
}

class FontLoad : public FontTest {};

} // namespace

TEST_F(FontLoad, AcquireSharesOneFontByTitleUntilTheLastRelease) {
    const std::string path = std::string(FAIRLARK_BUILD_DATA_DIR) + "\\Fonts\\Georgia_14";
    Font* f = FontAcquire(path.c_str());
    ASSERT_NE(f, nullptr) << "the generated Georgia_14 did not load";
    EXPECT_TRUE(FontIsLoaded(f));
    EXPECT_EQ(FontGetCurrent(), f) << "a loaded font becomes current";
    EXPECT_STREQ(f->name, "GEORGIA_14");
    EXPECT_EQ(f->refCount, 1);

    // Another folder, another case: the title alone names the font.
    EXPECT_EQ(FontAcquire((m_files / "georgia_14").c_str()), f);
    EXPECT_EQ(f->refCount, 2);
    EXPECT_EQ(SharedObjRelease(f), 1);
    EXPECT_EQ(FontGetCurrent(), f);
    EXPECT_EQ(SharedObjRelease(f), 0);
    EXPECT_EQ(FontGetCurrent(), nullptr) << "the last release deletes the font";
}

TEST_F(FontLoad, AMissingTextureGivesNullAndALaterAcquireTriesAgain) {
    const GenFont font = MakeTestFont(LayoutGlyphs());
    const std::string path = m_files / "Lone";
    PutBytes(path + ".abc", AbcBytes(font.metrics));
    EXPECT_EQ(FontAcquire(path.c_str()), nullptr);
    EXPECT_EQ(FontGetCurrent(), nullptr);

    Write("Lone", font);
    Font* f = FontAcquire(path.c_str());
    ASSERT_NE(f, nullptr) << "the failed acquire left something behind";
    EXPECT_EQ(f->refCount, 1);
    SharedObjRelease(f);
}

TEST_F(FontLoad, AFontOfAnotherVersionIsNeitherLoadedNorCurrentAndDrawsNothing) {
    Font* good = LayoutFont();
    const std::string path = Write("Old", MakeTestFont(LayoutGlyphs()));
    std::vector<uint8_t> bytes = FileBytes(path + ".abc");
    bytes[0] = 4;
    PutBytes(path + ".abc", bytes);

    Font* old = Load(path);
    EXPECT_FALSE(FontIsLoaded(old));
    EXPECT_EQ(FontGetCurrent(), good) << "a refused font must not become current";
    float w = -7, h = -7;
    EXPECT_EQ(FontMeasure(old, u"AB", &w, &h, 0), 0);
    EXPECT_EQ(w, -7.0f);
    EXPECT_EQ(h, -7.0f);
    Log().Clear();
    EXPECT_EQ(FontDraw(old, 0, 0, u"AB"), 0);
    EXPECT_EQ(Log().Count("VbLock"), 0);
    EXPECT_EQ(FontAcquire(path.c_str()), nullptr);
}

// Every file that cannot hold its own table and records is refused whole; nothing reads past it
// (AddressSanitizer watches the block).
TEST_F(FontLoad, ShortAndCorruptMetricsAreRefused) {
    const GenFont font = MakeTestFont(LayoutGlyphs());
    const std::string path = Write("Cut", font);
    const std::vector<uint8_t> whole = AbcBytes(font.metrics);
    for (size_t n = 0; n < whole.size(); ++n) {
        PutBytes(path + ".abc", std::vector<uint8_t>(whole.begin(), whole.begin() + ptrdiff_t(n)));
        EXPECT_FALSE(FontIsLoaded(Load(path))) << "a file cut to " << n << " bytes loaded";
    }
    PutBytes(path + ".abc", whole);
    EXPECT_TRUE(FontIsLoaded(Load(path)));

    std::vector<uint8_t> bad = whole;
    bad[20] = bad[21] = 0xFF; // N = 65535 in a file of a few hundred bytes
    PutBytes(path + ".abc", bad);
    EXPECT_FALSE(FontIsLoaded(Load(path)));

    GenFont none = font;
    none.metrics.records.clear(); // M = 0
    PutBytes(path + ".abc", AbcBytes(none.metrics));
    EXPECT_FALSE(FontIsLoaded(Load(path)));

    FileDelete((path + ".abc").c_str());
    EXPECT_FALSE(FontIsLoaded(Load(path))) << "a texture without metrics is no font";
}

TEST_F(FontLoad, ATableEntryBeyondTheRecordsReadsRecordZero) {
    GenFont font = MakeTestFont(LayoutGlyphs());
    font.metrics.table[u'A'] = 99;
    Font* f = Load(Write("Stray", font));
    ASSERT_TRUE(FontIsLoaded(f));
    EXPECT_EQ(FontTextWidth(f, u"A"), 5.0f) << "record 0 is 5 wide";
}
