// Skeleton files of any content built against the generated adult character model, as a
// character's skeleton is built: bones, their hierarchy and the skin of every part.
#include "gi/giDebug.h"
#include "gi/giGmModel.h"
#include "gi/giSkeleton.h"
#include "tests/fuzz/FuzzInput.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const giGmModel& AdultModel() {
    static giGmModel* s_model = [] {
        auto* m = new giGmModel;
        if (!m->Load(FAIRLARK_BUILD_DATA_DIR "Characters/Adult.gmf")) {
            std::fputs("fuzz: no generated Characters/Adult.gmf (build the data target)\n", stderr);
            std::abort();
        }
        return m;
    }();
    return *s_model;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const giGmModel& model = AdultModel();
    const std::string path = FuzzWriteFile("Skeleton.gmf", data, size);
    {
        giSkeleton skeleton;
        skeleton.Build(path, model);
    }
    giMessageBoxReset();
    return 0;
}
