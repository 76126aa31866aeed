// The GMF framing on any file, through the reader that skeleton and animation files share: the
// binary header, the top-level scene and object list, and the records of the list made by the
// record factory from their type ids and read within their payload sizes. Both ways a type id
// that cannot be read is taken (the end of an animation file, an error in a skeleton file).
#include "gi/GM_Object.h"
#include "gi/GM_ObjectFile.h"
#include "gi/giDebug.h"
#include "tests/fuzz/FuzzInput.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = FuzzWriteFile("Records.gmf", data, size);
    for (bool idReadFails : {false, true}) {
        GM_ObjectFileRead read = GM_ReadObjectFile(path.c_str(), "\nstray word\n", idReadFails);
        if (read.objects) {
            GM_FindObject(*read.objects, GMID_SKELETON);
            GM_FindObject(*read.objects, GMID_ANIMATION);
        }
    }
    giMessageBoxReset(); // the shown-once set would otherwise grow with every input
    return 0;
}
