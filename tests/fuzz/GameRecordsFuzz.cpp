// Attraction, venue and tuning records ("Data.ini", "Venue.ini") of any content, read by the
// game object's loaders, then every record walked as the game walks them.
#include "game/AttrInfo.h"
#include "game/GameVals.h"
#include "game/VenueInfo.h"
#include "tests/fuzz/FuzzInput.h"

#include <cstdint>
#include <cwchar>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = FuzzWriteFile("Data.ini", data, size);
    if (AttrInfoList* attrs = AttrInfoList::Load(path.c_str())) {
        for (int i = 0; i < attrs->Count(); ++i)
            (void)attrs->Get(i)->attrType;
        (void)attrs->Get(-1);
        (void)attrs->Get(attrs->Count());
        delete attrs;
    }
    if (VenueInfoList* venues = VenueInfoList::Load(path.c_str())) {
        for (int i = 0; i < venues->Count(); ++i)
            (void)venues->Get(i)->scriptFile[0];
        delete venues;
    }
    GameVals vals;
    vals.Load(path.c_str(), "GameVals");
    return 0;
}
