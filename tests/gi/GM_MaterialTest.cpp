// Material and texture records and the three list kinds: sizes, nesting, failing members.
#include "gi/GM_Material.h"
#include "gi/GM_List.h"
#include "gi/GM_Texture.h"

#include "tests/gi/GiTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

GM_Texture* Texture(const char* name, const char* bitmap, int32_t slot) {
    auto* t = new GM_Texture();
    t->SetName(name);
    t->className.Set("Bitmap");
    t->bitmap.Set(bitmap);
    t->mapSlot = slot;
    return t;
}

GM_Material* Material(const char* name) {
    auto* m = new GM_Material();
    m->SetName(name);
    m->className.Set("Standard");
    m->diffuse = 0xFF8040;
    m->shading = 12;
    return m;
}

// Reads a list written alone; the material list's type id is the caller's to read.
template <class List>
int ReadList(List& list, const std::string& path) {
    GM_Stream s;
    if (!s.OpenRead(path.c_str(), GM_STREAM_BINARY)) return -1;
    uint32_t id = 0;
    if (list.TypeId() == GMID_MATERIAL_LIST) s.ReadExact(&id, 4, 1);
    return list.Read(&s);
}

template <class List>
std::string WriteList(List& list, const std::string& path) {
    GM_Stream s;
    if (!s.OpenWrite(path.c_str(), GM_STREAM_BINARY) || !list.Write(&s)) return "";
    s.Close();
    return FileBytes(path);
}

// Overwrites the u32 at the first place `marker` occurs, plus `offset`.
void Patch(std::string& bytes, const std::string& marker, size_t offset, uint32_t value) {
    size_t at = bytes.find(marker);
    ASSERT_NE(at, std::string::npos);
    for (int i = 0; i < 4; ++i)
        bytes[at + offset + i] = (char)(value >> (8 * i));
}

} // namespace

TEST(GM_Material, MaterialsWithAndWithoutMaps) {
    TempDir dir;
    GM_Material plain;
    plain.SetName("Plain");
    plain.className.Set("Standard");
    std::string bytes = WriteRecord(plain, dir / "p.gmf");
    EXPECT_EQ(plain.PayloadSize(), 6u + 9u + 68u);
    ASSERT_EQ(bytes.size(), 12u + plain.PayloadSize());
    EXPECT_EQ(bytes.substr(bytes.size() - 8), GmfBytes().U32(0).U32(0).b)
        << "no maps: texture count 0, no list, sub-material count 0";

    GM_Material full;
    full.SetName("Full");
    full.textures.Append(Texture("Diffuse", "Maps\\paint.tga", 1));
    GM_Texture* bump = Texture("Bump", "Maps\\bump.tga", 8);
    bump->subTextures.Append(Texture("Inner", "Maps\\noise.tga", 13));
    full.textures.Append(bump);
    full.subMaterials.Append(Material("Sub"));
    std::string first = WriteRecord(full, dir / "f.gmf");
    ASSERT_EQ(first.size(), 12u + full.PayloadSize());
    auto back = ReadRecord<GM_Material>(dir / "f.gmf", ReadBy::OwnId);
    ASSERT_TRUE(back);
    EXPECT_EQ(WriteRecord(*back, dir / "g.gmf"), first);
    ASSERT_EQ(back->textures.Count(), 2);
    EXPECT_STREQ(back->textures.Texture(1)->subTextures.Texture(0)->bitmap.c_str(),
                 "Maps\\noise.tga");
    EXPECT_STREQ(back->subMaterials.Material(0)->Name(), "Sub");
    EXPECT_EQ(back->textures.Texture(5), nullptr);
}

TEST(GM_Material, ListsKeepTheMembersAroundAFailingOne) {
    TempDir dir;
    GM_MaterialList list;
    for (const char* name : {"A", "B", "C"})
        list.Append(Material(name));
    EXPECT_EQ(list.ComputeSize(), 4 + 3 * (12 + list.Material(0)->ComputeSize()));
    std::string bytes = WriteList(list, dir / "l.gmf");
    ASSERT_FALSE(bytes.empty());
    // B's class length (just after its name) claims far more than there is.
    Patch(bytes, GmfBytes().U32(2).Raw(std::string("B\0", 2)).b, 6, 0x00FFFFFF);
    WriteTextFile(dir / "l.gmf", bytes);
    GM_MaterialList back;
    testing::internal::CaptureStderr();
    EXPECT_EQ(ReadList(back, dir / "l.gmf"), 1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("ERROR Reading Material\n"),
              std::string::npos);
    ASSERT_EQ(back.Count(), 2);
    EXPECT_STREQ(back.Material(0)->Name(), "A");
    EXPECT_STREQ(back.Material(1)->Name(), "C");

    GM_TextureList maps;
    for (const char* name : {"T1", "T2", "T3"})
        maps.Append(Texture(name, "x.tga", 1));
    bytes = WriteList(maps, dir / "t.gmf");
    // T2 claims a nested list that is not there: the next word is T3's type id, beyond T2.
    size_t t3 = bytes.find(GmfBytes().U32(3).Raw(std::string("T3\0", 3)).b);
    ASSERT_NE(t3, std::string::npos);
    size_t subCount = t3 - 12 - 4; // T3's header, then T2's last word
    for (int i = 0; i < 4; ++i)
        bytes[subCount + i] = i == 0 ? 1 : 0;
    WriteTextFile(dir / "t.gmf", bytes);
    GM_TextureList mapsBack;
    EXPECT_EQ(ReadList(mapsBack, dir / "t.gmf"), 1);
    ASSERT_EQ(mapsBack.Count(), 2);
    EXPECT_STREQ(mapsBack.Texture(1)->Name(), "T3");

    GM_TextureList empty;
    GM_Stream s;
    ASSERT_EQ(s.OpenWrite((dir / "e.gmf").c_str(), GM_STREAM_BINARY), 1);
    EXPECT_EQ(empty.Write(&s), 0) << "an empty list writes nothing";
    s.Close();
    EXPECT_EQ(FileBytes(dir / "e.gmf"), "");
}

TEST(GM_Material, NestingDeeperThanEightListsFails) {
    TempDir dir;
    for (int levels : {8, 9}) {
        GM_MaterialList top;
        GM_Material* m = Material("L1");
        top.Append(m);
        for (int i = 2; i <= levels; ++i) {
            GM_Material* sub = Material(("L" + std::to_string(i)).c_str());
            m->subMaterials.Append(sub);
            m = sub;
        }
        ASSERT_FALSE(WriteList(top, dir / "n.gmf").empty());
        GM_MaterialList back;
        EXPECT_EQ(ReadList(back, dir / "n.gmf"), 1);
        int depth = 0;
        for (GM_MaterialList* l = &back; l->HasItems(); l = &l->Material(0)->subMaterials)
            ++depth;
        // The material holding the ninth list fails and is dropped from the eighth.
        EXPECT_EQ(depth, levels <= 8 ? levels : 7)
            << levels << " nested lists: a ninth must fail instead of recursing on";
    }
}
