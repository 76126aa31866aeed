// A save file of any content read as the load screens read a career's and a sandbox's numbers.
#include "engine/IniFile.h"
#include "tests/fuzz/FuzzInput.h"
#include "ui/Menus/LoadListHeader.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = FuzzWriteFile("Fuzz.car", data, size);
    static const char* const kKeys[] = {"cash", "daysRun", "venueId"};
    static const int kDefaults[] = {999, 0, 0};
    int values[3];
    LoadListReadInts(path.c_str(), "Career", kKeys, kDefaults, values, 2);
    LoadListReadInts(path.c_str(), "Sandbox", kKeys + 2, kDefaults + 2, values + 2, 1);
    IniClose();
    return 0;
}
