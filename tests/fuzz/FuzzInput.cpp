// The scratch folder of a fuzz process.
#include "tests/fuzz/FuzzInput.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

struct Scratch {
    std::string path;
    Scratch() {
        std::error_code ec;
        std::string base = std::filesystem::temp_directory_path(ec).string();
        if (ec || base.empty()) base = "/tmp";
        std::string pattern = base + "/fairlark-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data())) {
            std::perror("fuzz: no scratch folder");
            std::abort();
        }
        path = pattern + "/";
    }
    ~Scratch() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

Scratch& TheScratch() {
    static Scratch s_scratch;
    return s_scratch;
}

} // namespace

std::string FuzzScratchPath(const char* name) {
    return TheScratch().path + name;
}

std::string FuzzWriteFile(const char* name, const uint8_t* data, size_t size) {
    std::string path = FuzzScratchPath(name);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || (size && std::fwrite(data, 1, size, f) != size) || std::fclose(f) != 0) {
        std::perror(path.c_str());
        std::abort();
    }
    return path;
}
