// The ini reader on any file: the section walk, every section made current, key lookups, typed
// reads and the line reader of the "Entities" list, as the game's loaders use them.
#include "engine/IniFile.h"
#include "tests/fuzz/FuzzInput.h"

#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = FuzzWriteFile("Fuzz.ini", data, size);
    if (IniOpen(path.c_str()) != 0) return 0;

    std::vector<std::string> sections;
    char name[64];
    size_t full = 0;
    IniRewindSections();
    while (IniNextSection(name, sizeof name, &full) == 1)
        if (full < sizeof name) sections.push_back(name);

    char value[INI_VALUE_MAX + 1];
    for (const std::string& s : sections) {
        if (IniSetSection(s.c_str()) != 0) continue;
        int i;
        float f;
        IniFindKey("name", value, sizeof value);
        IniFindKey("class", value, 8); // a copy cut short
        IniReadInt(&i, "count", 7);
        IniReadInt(&i, "windowed", 1);
        IniReadFloat(&f, "speed", 1.5f);
        IniReadString(value, "title", "none", sizeof value);
        IniReadString(value, "", "", 1);
    }

    if (IniSectionReader* reader = IniSectionOpen("Entities")) {
        char line[256];
        while (IniSectionReadLine(reader, line, sizeof line) == 1)
            IniSetSection(line); // lookups between reads, as the entity loader does
        IniSectionClose(reader);
    }
    IniClose();
    return 0;
}
