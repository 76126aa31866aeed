// The MDL3 model tool: compiles scene descriptions (".mds") into ".md3" models and their TGA
// textures.
//   gen_models <Data folder>/ <scene folder>   every description below the scene folder, each
//                                              into the same relative folder of Data/
//   gen_models <output folder>/ <scene file>   one description
// Every description is compiled before anything is written; any error names the file and line,
// and the exit status is then 1.
#include "datagen/Models/MdlOutput.h"
#include "engine/Files.h"
#include "engine/Memory.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Job {
    std::string scene;  // the description
    std::string folder; // where its files go
};

std::vector<Job> FindJobs(const std::string& out, const fs::path& scenes) {
    std::vector<Job> jobs;
    std::error_code ec;
    if (fs::is_regular_file(scenes, ec)) return {{scenes.string(), out}};
    for (const auto& entry : fs::recursive_directory_iterator(scenes, ec)) {
        if (!entry.is_regular_file() || entry.path().extension() != ".mds") continue;
        const fs::path rel = entry.path().parent_path().lexically_relative(scenes);
        std::string folder = out;
        if (!rel.empty() && rel != ".") folder += rel.generic_string() + "/";
        jobs.push_back({entry.path().string(), folder});
    }
    std::sort(jobs.begin(), jobs.end(),
              [](const Job& a, const Job& b) { return a.scene < b.scene; });
    return jobs;
}

bool ReadText(const std::string& path, std::string* text) {
    void* data = nullptr;
    const int size = FileReadAll(&data, path.c_str(), 0);
    if (size < 0) return false;
    text->assign(static_cast<const char*>(data), size_t(size));
    MemFree(data);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: gen_models <output folder>/ <scene folder or .mds file>\n");
        return 2;
    }
    const std::vector<Job> jobs = FindJobs(argv[1], argv[2]);
    if (jobs.empty()) {
        std::fprintf(stderr, "gen_models: no scene descriptions in %s\n", argv[2]);
        return 1;
    }
    std::vector<MdlOutput> outputs(jobs.size());
    bool ok = true;
    for (size_t i = 0; i < jobs.size(); ++i) {
        std::string text, error;
        if (!ReadText(jobs[i].scene, &text)) {
            std::fprintf(stderr, "gen_models: %s: cannot be read\n", jobs[i].scene.c_str());
            ok = false;
        } else if (!MdlCompile(text, &outputs[i], &error)) {
            std::fprintf(stderr, "gen_models: %s: %s\n", jobs[i].scene.c_str(), error.c_str());
            ok = false;
        }
    }
    if (!ok) return 1;
    for (size_t i = 0; i < jobs.size(); ++i) {
        std::string error;
        if (!MdlWriteOutput(outputs[i], jobs[i].folder, &error)) {
            std::fprintf(stderr, "gen_models: %s\n", error.c_str());
            return 1;
        }
    }
    return 0;
}
