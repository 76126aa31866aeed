// XML documents of any content loaded as character descriptors are, then every element read as
// each typed value a descriptor field can be (text, numbers, switches, vectors).
#include "gi/giXmlDocument.h"
#include "gi/giXmlValue.h"
#include "tests/fuzz/FuzzInput.h"

#include <cstdint>
#include <string>

namespace {

void ReadAll(const TiXmlElement* e, int depth) {
    for (; e; e = e->NextSiblingElement()) {
        giXmlGetText(e);
        giXmlGetFloat(e);
        giXmlGetBool(e);
        giXmlGetInt(e);
        giXmlGetUnsigned(e);
        giXmlGetVector2(e);
        giXmlGetVector3(e);
        giXmlGetVector4(e);
        // TinyXML's own parse is recursive already; this walk is no deeper than what it built.
        if (depth < 256) ReadAll(e->FirstChildElement(), depth + 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = FuzzWriteFile("Character.xml", data, size);
    giXmlDocument doc;
    if (doc.LoadFile(path.c_str())) ReadAll(doc.RootElement(), 0);
    return 0;
}
