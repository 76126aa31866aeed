// Writes the interface art (the control images of "Menu/Common/", the venue thumbnails, the
// attraction types' cards and the slide-show series) into the data folder, and beside it the list
// of what every image says, which the data checks read.
#include "datagen/Interface/InterfaceArt.h"
#include "game/AttrInfo.h"

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: gen_interface <Data folder>/\n");
        return 2;
    }
    std::string error;
    const std::string data = argv[1];
    std::ifstream in(data + "Venue.ini", std::ios::binary);
    std::stringstream venues;
    venues << in.rdbuf();
    // A thumbnail for every venue and a card for every attraction type the shipped lists name
    // (they are copied in before this runs), the types read as the game reads them.
    const std::vector<ArtVenueThumbnail> thumbnails = ArtVenueThumbnails(venues.str());
    const std::unique_ptr<AttrInfoList> types(AttrInfoList::Load((data + "Data.ini").c_str()));
    const std::vector<ArtTypeCard> cards = ArtTypeCards(*types);
    // One title check over every image: the game shares textures by title across folders.
    std::vector<ArtRow> rows = ArtTable();
    for (const std::vector<ArtRow>& more :
         {ArtVenueThumbnailRows(thumbnails), ArtTypeCardRows(cards)})
        rows.insert(rows.end(), more.begin(), more.end());
    if (!ArtWriteAll(rows, data, &error) || !SlideWriteAll(SlideTable(), data, &error)) {
        std::fprintf(stderr, "gen_interface: %s\n", error.c_str());
        return 1;
    }
    const std::string list = ArtCaptionListText(ArtCaptions(rows, ArtTable().size(), SlideTable()));
    if (!GenWriteFile(data + kArtCaptionListFile, std::vector<uint8_t>(list.begin(), list.end()))) {
        std::fprintf(stderr, "gen_interface: cannot write %s%s\n", data.c_str(),
                     kArtCaptionListFile);
        return 1;
    }
    return 0;
}
