// Writes the interface art (the control images of "Menu/Common/" and the slide-show series)
// into the data folder.
#include "datagen/Interface/InterfaceArt.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: gen_interface <Data folder>/\n");
        return 2;
    }
    std::string error;
    if (!ArtWriteAll(ArtTable(), argv[1], &error) ||
        !SlideWriteAll(SlideTable(), argv[1], &error)) {
        std::fprintf(stderr, "gen_interface: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
