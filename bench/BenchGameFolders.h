// A program folder whose Data/ is the build's generated data, for benchmarks that run the game
// application on the headless device.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

// A program folder whose Data/ is the build's generated data, and a documents folder whose
// settings switch the configuration dialog off; both removed at the end.
struct BenchGameFolders {
    BenchGameFolders() {
        char folder[] = "/tmp/fairlark-bench-XXXXXX";
        if (!mkdtemp(folder)) return;
        root = folder;
        program = root + "/program/";
        mkdir(program.c_str(), 0755);
        std::string data = FAIRLARK_BUILD_DATA_DIR;
        data.pop_back();
        ok = symlink(data.c_str(), (program + "Data").c_str()) == 0;
        mkdir((root + "/docs").c_str(), 0755);
        mkdir((root + "/docs/Fairlark").c_str(), 0755);
        if (std::FILE* f = std::fopen((root + "/docs/Fairlark/Config.ini").c_str(), "w")) {
            std::fputs("[Xq Config]\nrunHwConfig=0\n", f);
            std::fclose(f);
        }
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("ALSOFT_DRIVERS", "null", 1);
        setenv("XDG_RUNTIME_DIR", root.c_str(), 1); // a lock of our own: not "another copy"
        setenv("HOME", root.c_str(), 1);
        setenv("XDG_DOCUMENTS_DIR", (root + "/docs").c_str(), 1);
    }
    ~BenchGameFolders() {
        if (root.empty()) return;
        std::string command = "rm -rf '" + root + "'";
        if (std::system(command.c_str()) != 0) std::fprintf(stderr, "%s failed\n", command.c_str());
    }
    std::string root, program;
    bool ok = false;
};
