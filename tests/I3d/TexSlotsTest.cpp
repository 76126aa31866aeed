// Texture slots without pixels, on the recording device: loading by name and key, counts,
// binding through the stage records, logs, locking rules and the format tables.
#include "tests/I3d/KernelFixture.h"
#include "tests/I3d/TexFiles.h"

#include <string>

namespace {

class TexSlots : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartRecording();
        ASSERT_EQ(I3dTexTableAlloc(800), 0);
        CreateOffscreen(64, 64);
        Log().Clear();
    }
    std::string Path(const std::string& rel) const { return m_files / rel; }
    // A small 24-bit TGA at `rel`.
    void Tga(const std::string& rel, uint32_t argb = 0xFF336699) {
        ASSERT_TRUE(WriteTga(Path(rel), SolidImage(4, 2, argb), IMG_R8G8B8));
    }
    int SetTextureCalls(DWORD stage) { return Log().Count("SetTexture", {stage}); }

    TempDir m_files;
};

} // namespace

// ---- loading by name ----

TEST_F(TexSlots, LoadTriesDdsThenTgaUnderTheLowerCaseTitle) {
    Tga("Menu/Cursor.tga");
    int slot = I3dTexLoad(Path("Menu\\Cursor.png").c_str(), nullptr, 1);
    ASSERT_GE(slot, 0);
    const I3dTexSlot* s = I3dTexGetSlot(slot);
    EXPECT_STREQ(s->name, "cursor");
    EXPECT_EQ(s->format, I3DTEX_R5G6B5) << "no DDS: the TGA was loaded (24-bit -> R5G6B5)";
    EXPECT_EQ(s->count, 1);
    EXPECT_EQ(s->width, 4);
    EXPECT_EQ(s->height, 2);
    EXPECT_EQ(s->loadedByD3dx, 0);

    EXPECT_EQ(I3dTexLoad(Path("Menu\\Cursor.png").c_str(), nullptr, 1), slot);
    EXPECT_EQ(s->count, 2) << "a shared load of the same key adds a reference";
    EXPECT_EQ(I3dTexRelease(slot), 1);
    EXPECT_EQ(I3dTexRelease(slot), 0);
    EXPECT_EQ(s->count, 0);
    EXPECT_EQ(s->texture, nullptr);
    EXPECT_STREQ(s->name, "");

    int a = I3dTexLoad(Path("Menu\\Cursor.png").c_str(), nullptr, 0);
    int b = I3dTexLoad(Path("Menu\\Cursor.png").c_str(), nullptr, 0);
    EXPECT_GE(a, 0);
    EXPECT_NE(a, b) << "without share every load makes a new slot";

    ASSERT_TRUE(WriteDds(Path("Menu/Cursor.dds"), GenDds::Argb32, SolidImage(8, 8, 0xFF00FF00)));
    int dds = I3dTexLoad(Path("Menu/Cursor").c_str(), nullptr, 0);
    ASSERT_GE(dds, 0);
    EXPECT_EQ(I3dTexGetSlot(dds)->format, I3DTEX_A8R8G8B8) << "the DDS comes first when there";
}

TEST_F(TexSlots, ExtensionsStartOnlyAfterTheLastSeparator) {
    Tga("Fonts/Arial.tga");
    EXPECT_GE(I3dTexLoad(Path("Fonts\\Arial").c_str(), nullptr, 0), 0)
        << "a name without an extension gets one appended";
    // Names in dotted folders: the folder must survive (every font is loaded this way).
    Tga(".local/game-1.0/Fonts/Georgia_14.tga");
    int slot = I3dTexLoad(Path(".local/game-1.0/Fonts/Georgia_14").c_str(), nullptr, 0);
    ASSERT_GE(slot, 0);
    EXPECT_STREQ(I3dTexGetSlot(slot)->name, "georgia_14");
    Tga("a.b/c.tga");
    EXPECT_GE(I3dTexLoad(Path("a.b\\c").c_str(), nullptr, 0), 0);
    EXPECT_EQ(I3dTexLoad(Path("a.b\\d").c_str(), nullptr, 0), -1);
}

TEST_F(TexSlots, KeysAreCutAt127Characters) {
    Tga("t.tga");
    std::string longKey(200, 'K');
    int slot = I3dTexLoad(Path("t.tga").c_str(), longKey.c_str(), 1);
    ASSERT_GE(slot, 0);
    EXPECT_EQ(std::string(I3dTexGetSlot(slot)->name), std::string(127, 'k'));
    // Keys equal in their first 127 characters are the same key: they share a slot.
    std::string other = std::string(127, 'k') + "different tail";
    EXPECT_EQ(I3dTexLoad(Path("t.tga").c_str(), other.c_str(), 1), slot);
    EXPECT_EQ(I3dTexFind(longKey.c_str()), slot);
    EXPECT_EQ(I3dTexLoad(Path("t.tga").c_str(), "", 1), -1) << "an empty key";
    EXPECT_EQ(I3dTexLoad(nullptr, "x", 1), -1);
}

// ---- binding ----

TEST_F(TexSlots, BindingGoesThroughTheStageRecords) {
    TestClock clock;
    Tga("a.tga");
    int a = I3dTexLoad(Path("a.tga").c_str(), nullptr, 0);
    ASSERT_GE(a, 0);
    EXPECT_EQ(D3dSetTexture(0, a), 0);
    uint32_t first = I3dTexGetSlot(a)->lastUse;
    clock.AdvanceMs(40);
    EXPECT_EQ(D3dSetTexture(0, a), 0);
    EXPECT_EQ(SetTextureCalls(0), 1) << "rebinding the held slot must not reach the device";
    EXPECT_EQ(I3dTexGetSlot(a)->lastUse, first + 40) << "but its last use is now";

    EXPECT_EQ(D3dSetTexture(0, -1), 0);
    EXPECT_EQ(SetTextureCalls(0), 1) << "a negative slot leaves the stage as it is";
    EXPECT_EQ(D3dStageTexture(0), a);

    EXPECT_EQ(D3dSetTexture(2, a), 0);
    EXPECT_EQ(I3dTexRelease(a), 0);
    EXPECT_EQ(D3dStageTexture(2), -1) << "a freed slot is forgotten by the stages holding it";
    Tga("b.tga");
    int b = I3dTexLoad(Path("b.tga").c_str(), nullptr, 0);
    EXPECT_EQ(b, a) << "the new texture reuses the freed index";
    EXPECT_EQ(D3dSetTexture(2, b), 0);
    EXPECT_EQ(SetTextureCalls(2), 2) << "so binding it must reach the device";
}

TEST_F(TexSlots, ClearingAStageUnbindsItOnceAndAFreshBindFollows) {
    Tga("a.tga");
    int a = I3dTexLoad(Path("a.tga").c_str(), nullptr, 0);
    ASSERT_GE(a, 0);
    D3dSetTexture(1, a);
    Log().Clear();
    EXPECT_EQ(D3dClearTexture(1), 0);
    EXPECT_EQ(Log().Count("SetTexture", {1, 0}), 1) << "the stage is unbound";
    EXPECT_EQ(D3dStageTexture(1), D3D_STAGE_EMPTY);
    D3dClearTexture(1);
    EXPECT_EQ(SetTextureCalls(1), 1) << "a stage known to be empty is left alone";
    D3dSetTexture(1, a);
    EXPECT_EQ(Log().Count("SetTexture", {1, 1}), 1) << "the cleared slot binds again";
    I3dResetStateCache();
    D3dStagesForgetTextures();
    D3dClearTexture(1);
    EXPECT_EQ(Log().Count("SetTexture", {1, 0}), 2) << "after a reset nothing is known";
    I3dTexRelease(a);
}

// ---- failures and logs ----

TEST_F(TexSlots, FailuresGiveMinusOneAndTheirLogLines) {
    EXPECT_EQ(I3dTexLoad(Path("Missing").c_str(), nullptr, 1), -1);
    EXPECT_NE(
        LogText().find("(WARN) I3dTexFromTga(-1, " + Path("Missing.tga") + "): File not found!\n"),
        std::string::npos);

    int made = D3dTexCreate(16, 8, I3DTEX_A8R8G8B8, 1, "made", 0);
    EXPECT_GE(made, 0);
    EXPECT_NE(LogText().find("  D3dTexCreate(16, 1, made)\n"), std::string::npos);
    EXPECT_EQ(D3dTexCreate(16, 8, I3DTEX_P8, 1, "refused", 0), -1);
    EXPECT_NE(LogText().find("  D3dTexCreate(16, 12, refused)\n"), std::string::npos)
        << "the creation is logged whatever its result";

    while (D3dTexCreate(1, 1, I3DTEX_A8, 1, "fill", 0) >= 0) {
    }
    EXPECT_EQ(I3dTexFindFree(), -1) << "all 800 slots are used";
    Tga("x.tga");
    EXPECT_EQ(I3dTexLoad(Path("x").c_str(), nullptr, 0), -1);
    EXPECT_NE(LogText().find("I3dTexFromTga(-1, " + Path("x.tga") +
                             "): Could not create texture based on file.  Check size.!\n"),
              std::string::npos);
    EXPECT_EQ(D3dCubeTexFromFile(0, Path("x.dds").c_str(), "x"), -1);
    I3dTexTableFree();
    EXPECT_EQ(I3dTexCount(), 0);
}

// ---- locking ----

TEST_F(TexSlots, LockingGivesTheLevelAsAnImage) {
    int slot = D3dTexCreate(8, 4, I3DTEX_A8R8G8B8, 0, "lock", 0);
    ASSERT_GE(slot, 0);
    I3dImage img;
    ASSERT_EQ(I3dTexLockImage(slot, 3, &img), 0);
    EXPECT_EQ(img.width, 1);
    EXPECT_EQ(img.height, 1) << "the short side stays 1, never 0";
    EXPECT_EQ(D3dTextureUnlock(slot, 3), 0);

    EXPECT_EQ(I3dTexLockImage(slot, 4, &img), -1) << "no level 4";
    EXPECT_EQ(I3dTexLockImage(799, 0, &img), -1) << "a free slot";
    EXPECT_NE(LogText().find("D3dTextureLock(799): ERROR could not lock texture!\n"),
              std::string::npos);
}

// ---- formats ----

TEST_F(TexSlots, FormatTablesGoBothWays) {
    for (int code = 0; code < I3DTEX_FORMAT_COUNT; ++code)
        EXPECT_EQ(I3dTexFormatFromD3d(I3dTexFormatToD3d(code)), code) << code;
    EXPECT_EQ(I3dTexFormatToD3d(29), -1);
    EXPECT_EQ(I3dTexFormatFromD3d(D3DFMT_D24S8), -1);
    EXPECT_EQ(I3dTexFormatOfImage(IMG_RAW32), -1);
    EXPECT_EQ(I3dTexImageFormat(I3DTEX_DXT1), -1) << "compressed textures are no image";
    EXPECT_EQ(I3dTexTgaFormat(I3DTEX_P8), I3DTEX_A8R8G8B8)
        << "palette files become 32-bit textures, filled B, G, R, 255";
}

// Callers pass only slots they hold: a slot outside the table stops a debug build, and a
// release build changes nothing.
TEST(TexSlotsDeathTest, CountsOfSlotsNotHeldAreCallersErrors) {
    ASSERT_EQ(I3dTexTableAlloc(4), 0);
    EXPECT_DEBUG_DEATH(EXPECT_EQ(I3dTexAddRef(4), 0), "slot the caller holds");
    EXPECT_DEBUG_DEATH(EXPECT_EQ(I3dTexRelease(-2), 0), "slot the caller holds");
    EXPECT_DEBUG_DEATH(EXPECT_EQ(I3dTexRelease(1), 0), "slot the caller holds") << "a free slot";
    I3dTexTableFree();
}

// ---- framed textures ----

TEST_F(TexSlots, FramedTexturesAreOneLevelAutogenWithTheirBorderInside) {
    const int slot = TexMakeFramed(64, 64, 0x00FFFFFF, 2, 0xFFFFFFFF);
    ASSERT_GE(slot, 0);
    const I3dTexSlot* s = I3dTexGetSlot(slot);
    EXPECT_STREQ(s->name, "autogen");
    EXPECT_EQ(s->width, 64);
    EXPECT_EQ(s->height, 64);
    EXPECT_EQ(s->format, I3DTEX_A8R8G8B8);
    EXPECT_EQ(Log().Count("CreateTexture", {64, 64, 1}), 1) << "one level";
    I3dImage img;
    ASSERT_EQ(I3dTexLockImage(slot, 0, &img), 0);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const uint32_t texel =
                *reinterpret_cast<const uint32_t*>(img.pixels + y * img.pitch + x * 4);
            const bool border = x < 2 || y < 2 || x >= 62 || y >= 62;
            ASSERT_EQ(texel, border ? 0xFFFFFFFFu : 0x00FFFFFFu) << x << "," << y;
        }
    D3dTextureUnlock(slot, 0);

    // A border wider than half the image frames all of it; a negative one none.
    const int thick = TexMakeFramed(4, 4, 0x11111111, 9, 0x22222222);
    const int bare = TexMakeFramed(4, 4, 0x11111111, -3, 0x22222222);
    ASSERT_EQ(I3dTexLockImage(thick, 0, &img), 0);
    EXPECT_EQ(*reinterpret_cast<const uint32_t*>(img.pixels + img.pitch + 4), 0x22222222u);
    D3dTextureUnlock(thick, 0);
    ASSERT_EQ(I3dTexLockImage(bare, 0, &img), 0);
    EXPECT_EQ(*reinterpret_cast<const uint32_t*>(img.pixels), 0x11111111u);
    D3dTextureUnlock(bare, 0);
    EXPECT_EQ(TexMakeFramed(0, 64, 0, 2, 0), -1) << "no image of no size";
}

TEST(TexMakeFramed, WithoutADeviceThereIsNoTexture) {
    EXPECT_EQ(TexMakeFramed(64, 64, 0x00FFFFFF, 2, 0xFFFFFFFF), -1);
}

// ---- class shut-down releases ----

TEST_F(TexSlots, ForgettingReleasesAHeldSlotOnceAndIgnoresOnesTheKernelFreed) {
    int held = TexMakeFramed(4, 4, 0x11111111, 1, 0x22222222);
    ASSERT_GE(held, 0);
    I3dTexAddRef(held);
    const int index = held;
    int copy = held;
    I3dTexForget(&held);
    EXPECT_EQ(held, -1);
    EXPECT_EQ(I3dTexGetSlot(index)->count, 1) << "one reference given back";
    I3dTexForget(&copy);
    EXPECT_EQ(I3dTexGetSlot(index)->count, 0);

    // A slot the table freed under the caller, and no slot at all, are simply forgotten.
    int stale = TexMakeFramed(4, 4, 0x11111111, 1, 0x22222222);
    ASSERT_GE(stale, 0);
    I3dTexFreeSlot(stale);
    I3dTexForget(&stale);
    EXPECT_EQ(stale, -1);
    int none = -1;
    I3dTexForget(&none);
    I3dTexForget(nullptr);
    EXPECT_EQ(none, -1);
}
