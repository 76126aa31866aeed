// Writes the character set the game loads into the data folder's "Characters/": the adult and
// child models, skeletons and maps, the clips in "Anims/", the descriptors and the skins.
#include "datagen/Characters/CharSet.h"

#include "gi/giFileIO.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: gen_characters <Data folder>/\n");
        return 2;
    }
    const std::string error = CharWriteSet(CharBuildSet(), argv[1]);
    delete giFileIO::Instance(); // made on first use by the writers
    if (!error.empty()) {
        std::fprintf(stderr, "gen_characters: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
