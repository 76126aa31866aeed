// The attraction types' thumbnails the interface-art generator makes from the type list: a card
// in the category's colour with the type's name on it, in the 95 rows the catalogue shows, one
// per clean picture name, and one image per shared title.
#include "datagen/Interface/InterfaceArt.h"
#include "game/AttrInfo.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

namespace {

// The texels of the card's first frame that are not its fill, and the rows they lie on.
int Lettered(const GenImage& img, const ArtRow& row, std::set<uint32_t>* rows = nullptr) {
    int lettered = 0;
    for (uint32_t y = 2; y + 2 < row.cellHeight; ++y)
        for (uint32_t x = 2; x + 2 < row.cellWidth; ++x)
            if (img.Get(x, y) != row.fill) {
                ++lettered;
                if (rows) rows->insert(y);
            }
    return lettered;
}

void SetType(AttrInfo* t, const char16_t* name, const char* file, int32_t attrType) {
    std::u16string text = name;
    text.resize(63);
    std::copy(text.begin(), text.end(), t->name);
    t->name[63] = 0;
    std::snprintf(t->texFileName, sizeof t->texFileName, "%s", file);
    t->attrType = attrType;
}

} // namespace

TEST(TypeCardArt, EveryShippedTypeHasItsCardAndTheBuiltFileIsIt) {
    const std::unique_ptr<AttrInfoList> list(
        AttrInfoList::Load(FAIRLARK_SOURCE_DIR "/data/Data.ini"));
    ASSERT_GT(list->Count(), 3);
    const std::vector<ArtTypeCard> cards = ArtTypeCards(*list);
    ASSERT_EQ(cards.size(), size_t(list->Count())) << "the shipped types name one picture each";
    EXPECT_EQ(cards[0].file, "Menu/EquipResource/Thumbs/SodaStand.dds");
    EXPECT_EQ(cards[0].caption, "Soda Stand");
    std::set<uint32_t> tabs;
    for (int32_t c : {0, 2, 3, 4})
        tabs.insert(ArtCategoryFill(c));
    EXPECT_EQ(tabs.size(), 4u) << "two tabs share a card colour";

    const std::vector<ArtRow> rows = ArtTypeCardRows(cards);
    for (size_t i = 0; i < rows.size(); ++i) {
        const ArtRow& row = rows[i];
        const AttrInfo* type = list->Get(int(i));
        GenImage img;
        std::string error;
        ASSERT_TRUE(ArtPaint(row, &img, &error)) << row.file << ": " << error;
        ASSERT_EQ(img.width, 128u);
        ASSERT_EQ(img.height, 128u);
        EXPECT_EQ(img.Get(4, 4), ArtCategoryFill(type->attrType)) << row.file;
        EXPECT_EQ(img.Get(123, kArtThumbnailRows - 5), ArtCategoryFill(type->attrType));
        EXPECT_EQ(img.Get(64, kArtThumbnailRows) >> 24, 0u) << row.file << ": below the card";
        EXPECT_GT(Lettered(img, row), 60) << row.file << " carries no name";
        // The data target ran the generator over the shipped list.
        const std::vector<uint8_t> painted = GenDdsBytes(GenDds::Argb32, GenChain{img});
        EXPECT_EQ(ReadTextFile(FAIRLARK_BUILD_DATA_DIR + cards[i].file),
                  std::string(painted.begin(), painted.end()))
            << cards[i].file;
    }
}

TEST(TypeCardArt, NamesWrapAndSharedTitlesShareOneImage) {
    AttrInfoList list;
    list.records = new AttrInfo[7];
    list.count = 7;
    SetType(&list.records[0], u"Extraordinarily Long Carousel Name", "Menu\\T\\Long.dds", 2);
    SetType(&list.records[1], u"Other", "Elsewhere\\LONG.dds", 0);      // the same title
    SetType(&list.records[2], u"Again", "Menu\\T\\Long.dds", 3);        // the same file
    SetType(&list.records[3], u"Up", "..\\..\\Up.dds", 4);              // outside the data folder
    SetType(&list.records[4], u"Png", "Menu\\T\\Picture.png", 4);       // no picture of ours
    SetType(&list.records[5], u"\u0416\u00e9", "Menu\\T\\Wide.dds", 9); // beyond Latin-1
    SetType(&list.records[6], u"", "", 4);
    const std::vector<ArtTypeCard> cards = ArtTypeCards(list);
    ASSERT_EQ(cards.size(), 3u);
    EXPECT_EQ(cards[0].file, "Menu/T/Long.dds");
    EXPECT_EQ(cards[1].file, "Elsewhere/LONG.dds");
    EXPECT_EQ(cards[1].caption, cards[0].caption) << "one title, two images";
    EXPECT_EQ(cards[1].fill, ArtCategoryFill(2));
    EXPECT_EQ(cards[2].caption, "?\xe9");
    EXPECT_EQ(cards[2].fill, ArtCategoryFill(6)) << "categories without a tab share a colour";

    const std::vector<ArtRow> rows = ArtTypeCardRows(cards);
    std::vector<std::vector<uint8_t>> bytes;
    for (const ArtRow& row : rows) {
        GenImage img;
        std::string error;
        ASSERT_TRUE(ArtPaint(row, &img, &error)) << error;
        bytes.push_back(GenDdsBytes(GenDds::Argb32, GenChain{img}));
    }
    std::string error;
    EXPECT_TRUE(ArtCheckTitles(rows, bytes, &error)) << error;

    // The long name stands on several lines, all inside the card.
    GenImage img;
    ASSERT_TRUE(ArtPaint(rows[0], &img, &error)) << error;
    std::set<uint32_t> lines;
    EXPECT_GT(Lettered(img, rows[0], &lines), 100);
    ASSERT_FALSE(lines.empty());
    EXPECT_GT(*lines.rbegin() - *lines.begin(), 2u * uint32_t(kArtCardPoints))
        << "the name was not wrapped";
    for (uint32_t y = 0; y < kArtThumbnailRows; ++y)
        for (uint32_t x : {0u, 1u, 126u, 127u})
            EXPECT_NE(img.Get(x, y), rows[0].fill) << "the caption ran over the border at " << x;
}
