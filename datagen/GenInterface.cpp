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
    const auto readAll = [&](const char* file) {
        std::ifstream in(std::string(argv[1]) + file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    };
    // A thumbnail for every venue the shipped list names (the list is copied in before this runs),
    // and one for every attraction type the shipped list names, read the same way.
    const std::vector<std::string> thumbnails = ArtVenueThumbnailFiles(readAll("Venue.ini"));
    const std::vector<std::string> typeThumbnails = ArtVenueThumbnailFiles(readAll("Data.ini"));
    if (!ArtWriteAll(ArtTable(), argv[1], &error) ||
        !ArtWriteAll(ArtVenueThumbnailRows(thumbnails), argv[1], &error) ||
        !ArtWriteAll(ArtVenueThumbnailRows(typeThumbnails), argv[1], &error) ||
        !SlideWriteAll(SlideTable(), argv[1], &error)) {
        std::fprintf(stderr, "gen_interface: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
