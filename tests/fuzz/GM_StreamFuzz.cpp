// The GMF framing on any file: the binary header, then a run of top-level records made by the
// record factory from their type ids and read within their payload sizes, as the object list
// reads its members.
#include "gi/GM_Factory.h"
#include "gi/GM_Object.h"
#include "gi/GM_Stream.h"
#include "gi/giDebug.h"
#include "tests/fuzz/FuzzInput.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = FuzzWriteFile("Records.gmf", data, size);
    GM_Stream s;
    if (s.OpenRead(path.c_str(), GM_STREAM_BINARY) && s.ReadBinaryHeader()) {
        while (s.Remaining() > 0) {
            bool ended = false;
            GM_Object* o = GM_CreateObject(&s, &ended);
            if (ended) break;
            if (o && !o->Read(&s)) {
                delete o;
                break;
            }
            delete o;
        }
    }
    s.Close();
    giMessageBoxReset(); // the shown-once set would otherwise grow with every input
    return 0;
}
