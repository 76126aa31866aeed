// The desktop's user-dirs file of any content, read for the documents folder: the answer is
// empty or an absolute folder ending in "/".
#include "engine/UserFolder.h"
#include "tests/fuzz/FuzzInput.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool s_environment = [] {
        unsetenv("XDG_DOCUMENTS_DIR");
        setenv("XDG_CONFIG_HOME", FuzzScratchPath("").c_str(), 1);
        setenv("HOME", FuzzScratchPath("home").c_str(), 1);
        return true;
    }();
    (void)s_environment;
    FuzzWriteFile("user-dirs.dirs", data, size);
    const std::string documents = UserDocumentsFolder();
    if (!documents.empty() && (documents[0] != '/' || documents.back() != '/')) {
        std::fprintf(stderr, "not an absolute folder: \"%s\"\n", documents.c_str());
        std::abort();
    }
    return 0;
}
