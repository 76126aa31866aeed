// Writes "Generated.txt" into the data folder: proof that the data step ran, and when.
#include <cstdio>
#include <ctime>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: gen_stamp <Data folder>/\n");
        return 2;
    }
    char path[4096];
    if (std::snprintf(path, sizeof path, "%sGenerated.txt", argv[1]) >= (int)sizeof path) {
        std::fprintf(stderr, "gen_stamp: data folder path too long\n");
        return 1;
    }
    std::FILE* f = std::fopen(path, "w");
    if (!f) {
        std::fprintf(stderr, "gen_stamp: cannot write %s\n", path);
        return 1;
    }
    std::fprintf(f, "Fairlark data generated %lld\n", (long long)std::time(nullptr));
    std::fclose(f);
    return 0;
}
