// Writes the interface art (the control images of "Menu/Common/", the venue thumbnails and the
// slide-show series) into the data folder, and the attraction types' thumbnails.
#include "datagen/Interface/InterfaceArt.h"

#include <cstdio>
#include <fstream>
#include <sstream>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: gen_interface <Data folder>/\n");
        return 2;
    }
    std::string error;
    // A thumbnail for every venue the shipped list names (the list is copied in before this runs).
    std::ifstream venues(std::string(argv[1]) + "Venue.ini", std::ios::binary);
    std::stringstream venueText;
    venueText << venues.rdbuf();
    const std::vector<std::string> thumbnails = ArtVenueThumbnailFiles(venueText.str());
    // And one for every attraction type the shipped list names, read the same way.
    std::ifstream types(std::string(argv[1]) + "Data.ini", std::ios::binary);
    std::stringstream typeText;
    typeText << types.rdbuf();
    const std::vector<std::string> typeThumbnails = ArtVenueThumbnailFiles(typeText.str());
    if (!ArtWriteAll(ArtTable(), argv[1], &error) ||
        !ArtWriteAll(ArtVenueThumbnailRows(thumbnails), argv[1], &error) ||
        !ArtWriteAll(ArtVenueThumbnailRows(typeThumbnails), argv[1], &error) ||
        !SlideWriteAll(SlideTable(), argv[1], &error)) {
        std::fprintf(stderr, "gen_interface: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
