// The interface-art generator's reading of a venue list: the thumbnail names it takes from any
// text, and the rows it makes of them, which must name clean files inside the data folder.
#include "datagen/Interface/InterfaceArt.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<ArtVenueThumbnail> venues = ArtVenueThumbnails(text);
    for (const ArtRow& row : ArtVenueThumbnailRows(venues)) {
        const std::string file = row.file;
        if (file.empty() || file[0] == '/' || file.find("..") != std::string::npos ||
            file.size() > 260 || row.cellHeight > row.texHeight) {
            std::fprintf(stderr, "an unclean thumbnail name: \"%s\"\n", file.c_str());
            std::abort();
        }
        for (const char* c = row.caption; *c; ++c)
            if ((unsigned char)*c < 0x20) {
                std::fprintf(stderr, "a control character in a venue's caption\n");
                std::abort();
            }
    }
    return 0;
}
