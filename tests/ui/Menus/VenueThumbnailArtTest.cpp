// The venue thumbnails the interface-art generator makes from a venue list: one 128 x 128 picture
// per named ".dds" inside the data folder, and nothing but clean names out of damaged lists.
#include "datagen/Interface/InterfaceArt.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

TEST(VenueThumbnailArt, EveryShippedVenueGetsAThumbnailWithItsPictureOnTop) {
    const std::string shipped = ReadTextFile(FAIRLARK_SOURCE_DIR "/data/Venue.ini");
    const std::vector<ArtVenueThumbnail> venues = ArtVenueThumbnails(shipped);
    ASSERT_EQ(venues.size(), 5u);
    EXPECT_EQ(venues[0].file, "Menu/Venues/CedarCounty.dds");
    // The venue's own name, not its picture's file name.
    EXPECT_EQ(venues[0].caption, "Cedar County Fairgrounds");
    for (const ArtRow& row : ArtVenueThumbnailRows(venues)) {
        GenImage img;
        std::string error;
        ASSERT_TRUE(ArtPaint(row, &img, &error)) << row.file << ": " << error;
        EXPECT_EQ(img.width, 128u);
        EXPECT_EQ(img.height, 128u);
        EXPECT_EQ(img.Get(4, 4), kArtVenueFill);
        EXPECT_NE(img.Get(4, kArtThumbnailRows - 8) >> 24, 0u) << "the picture fills 95 rows";
        EXPECT_EQ(img.Get(4, kArtThumbnailRows + 1) >> 24, 0u) << "nothing below the picture";
    }
    for (const std::string& built : {std::string("Menu/Venues/StateFair.dds")})
        EXPECT_TRUE(PathExistsOnDisk(FAIRLARK_BUILD_DATA_DIR + built)) << built;
}

TEST(VenueThumbnailArt, OnlyCleanPictureNamesAreTaken) {
    const std::string text = "[Venue00]\r\ntexFileName = Menu\\Venues\\A.dds \r\n"
                             "texFileName=Menu\\Venues\\A.dds\n"
                             "  texFileName=Menu\\Venues\\B.DDS\n"
                             "texFileName=..\\..\\etc\\passwd.dds\n"
                             "texFileName=/abs/C.dds\ntexFileName=C:\\x\\D.dds\n"
                             "texFileName=Menu\\E.png\ntexFileName=\ntexFileNameX=F.dds\n"
                             "; texFileName=G.dds\ntexFileName=H\tI.dds\n" +
                             std::string("texFileName=\0/J.dds\n", 20);
    EXPECT_EQ(ArtVenueThumbnailFiles(text),
              (std::vector<std::string>{"Menu/Venues/A.dds", "Menu/Venues/B.DDS"}));
    // A section's name reaches the pictures it names, written before or after them, and a name
    // in UTF-8 keeps its Latin-1 letters.
    const std::vector<ArtVenueThumbnail> named =
        ArtVenueThumbnails("[V0]\ntexFileName=A.dds\nname=Fair \xC3\xBC \xE2\x82\xAC\r\n"
                           "[V1]\nname=Pier\ntexFileName=B.dds\n[V2]\ntexFileName=C.dds\n");
    ASSERT_EQ(named.size(), 3u);
    EXPECT_EQ(named[0].caption, "Fair \xFC ?");
    EXPECT_EQ(named[1].caption, "Pier");
    EXPECT_EQ(named[2].caption, "");
    // Every cut and every damaged byte of the shipped list still gives clean names only.
    const std::string shipped = ReadTextFile(FAIRLARK_SOURCE_DIR "/data/Venue.ini");
    uint32_t seed = 12345;
    for (size_t cut = 0; cut <= shipped.size(); cut += 7) {
        std::string damaged = shipped.substr(0, cut);
        if (!damaged.empty()) {
            seed = seed * 1103515245u + 12345u;
            damaged[(seed >> 8) % damaged.size()] = char(seed >> 16);
        }
        for (const std::string& f : ArtVenueThumbnailFiles(damaged)) {
            EXPECT_EQ(f.find(".."), std::string::npos);
            EXPECT_NE(f[0], '/');
            EXPECT_LE(f.size(), 260u);
            EXPECT_EQ(f.find('\0'), std::string::npos);
        }
    }
}
