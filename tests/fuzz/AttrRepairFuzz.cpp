// An attraction's section of any content in a save, read as a loaded attraction reads it: its
// properties and the wear ("repair") it keeps, then its placement worked out from them.
#include "engine/EntTree.h"
#include "engine/IniFile.h"
#include "game/Ents/AttrBase.h"
#include "game/MtGameLinks.h"
#include "tests/fuzz/FuzzInput.h"
#include "tests/fuzz/FuzzKernel.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzKernelReady();
    const std::string path = FuzzWriteFile("Fuzz.sbx", data, size);
    if (EntCreateClass(EcAttrBaseProc, 0, 0) == 0) MtGameSetAttrLinks(AttrBaseLinks());
    if (auto* attr = static_cast<AttrBase*>(EntCreateChild("AttrBase", nullptr))) {
        attr->SetName("ENT~1");
        int flag = 0;
        attr->LoadVars(path.c_str(), &flag);
        attr->VarsChanged();
        EntDestroyTree(attr);
    }
    EntSystemShutdown();
    IniClose();
    return 0;
}
