// The fuzz targets' main in regular builds, where there is no libFuzzer: feeds every file of the
// folders and files named on the command line to the target, then a fixed number of mutations of
// them drawn from a seeded generator, so that every test run replays the seeds and regressions
// and a bounded, repeatable share of fuzzing under the sanitizers. Campaigns link libFuzzer
// instead (the fuzz preset).
//
//   fuzz_<Loader> [-mutations=N] [-seed=S] [-max_len=B] folder-or-file...
//
// A folder that does not exist is skipped; no input at all is an error (a target that is fed
// nothing proves nothing). When a sanitizer stops the process, or one input runs longer than
// -timeout seconds (5), the input is written to "crash-<target>" in the working folder and its
// path printed: that file, put under tests/fuzz/regressions/<target>/, replays the fault.
#include "engine/Random.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sanitizer/common_interface_defs.h>
#include <signal.h>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);
// Present only in sanitizer builds: the release build replays the same inputs without them.
extern "C" __attribute__((weak)) void __sanitizer_set_death_callback(void (*callback)(void));
extern "C" __attribute__((weak)) void __sanitizer_set_report_fd(void* fd);

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// 30 random bits from two draws of the 15-bit generator.
uint32_t Draw() {
    return uint32_t(MsRand()) << 15 | uint32_t(MsRand());
}
size_t Below(size_t n) {
    return n ? Draw() % n : 0;
}

// Values that sit on the edges of counts, sizes and offsets.
const uint32_t kEdges[] = {0,      1,       2,          3,          4,          7,
                           8,      15,      16,         31,         63,         64,
                           127,    128,     255,        256,        0x7FFF,     0x8000,
                           0xFFFF, 0x10000, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFE, 0xFFFFFFFF};

void MutateOnce(Bytes& b, const std::vector<Bytes>& inputs, size_t maxLen) {
    switch (Below(b.empty() ? 3 : 9)) {
        case 0: { // insert a few bytes, random or an edge byte
            size_t at = Below(b.size() + 1), n = 1 + Below(8);
            Bytes add(n);
            for (uint8_t& c : add)
                c = uint8_t(Below(2) ? Draw() : kEdges[Below(std::size(kEdges))]);
            b.insert(b.begin() + long(at), add.begin(), add.end());
            break;
        }
        case 1: { // a piece of another input (magic words, records) inserted
            const Bytes& other = inputs[Below(inputs.size())];
            if (other.empty()) break;
            size_t from = Below(other.size()),
                   n = 1 + Below(std::min<size_t>(other.size() - from, 64));
            size_t at = Below(b.size() + 1);
            b.insert(b.begin() + long(at), other.begin() + long(from),
                     other.begin() + long(from + n));
            break;
        }
        case 2: // cut short, as by a full disk
            b.resize(Below(b.size() + 1));
            break;
        case 3: // one bit
            b[Below(b.size())] ^= uint8_t(1u << Below(8));
            break;
        case 4: // one byte
            b[Below(b.size())] = uint8_t(Draw());
            break;
        case 5: { // an edge value as a little-endian word of 1, 2 or 4 bytes
            uint32_t v = kEdges[Below(std::size(kEdges))];
            size_t width = size_t(1) << Below(3), at = Below(b.size());
            for (size_t i = 0; i < width && at + i < b.size(); ++i)
                b[at + i] = uint8_t(v >> (8 * i));
            break;
        }
        case 6: { // a range removed
            size_t at = Below(b.size()), n = 1 + Below(std::min<size_t>(b.size() - at, 32));
            b.erase(b.begin() + long(at), b.begin() + long(at + n));
            break;
        }
        case 7: { // a range repeated
            size_t at = Below(b.size()), n = 1 + Below(std::min<size_t>(b.size() - at, 32));
            Bytes copy(b.begin() + long(at), b.begin() + long(at + n));
            b.insert(b.begin() + long(Below(b.size() + 1)), copy.begin(), copy.end());
            break;
        }
        default: { // a range overwritten by the same range elsewhere
            size_t from = Below(b.size()), to = Below(b.size());
            size_t n = 1 + Below(std::min<size_t>(b.size() - std::max(from, to), 16));
            std::memmove(&b[to], &b[from], n);
            break;
        }
    }
    if (b.size() > maxLen) b.resize(maxLen);
}

// The input being run, for the reproducer; written from a death callback or a signal handler,
// where only async-signal-safe calls belong.
const uint8_t* s_data = nullptr;
size_t s_size = 0;
char s_crashPath[512];
// Where sanitizer reports and our notes go: the original stderr. The loaders' own complaints
// about bad input (thousands per run) go to the null device, as libFuzzer's -close_fd_mask=2
// does, unless FAIRLARK_FUZZ_VERBOSE is set.
int s_reportFd = 2;

void QuietStderr() {
    int kept = dup(2), null = open("/dev/null", O_WRONLY);
    if (kept < 0 || null < 0) {
        if (kept >= 0) close(kept);
        if (null >= 0) close(null);
        return;
    }
    if (__sanitizer_set_report_fd)
        __sanitizer_set_report_fd(reinterpret_cast<void*>(intptr_t(kept)));
    dup2(null, 2);
    close(null);
    s_reportFd = kept;
}

void SaveInput() {
    int fd = open(s_crashPath, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return;
    for (size_t done = 0; done < s_size;) {
        ssize_t n = write(fd, s_data + done, s_size - done);
        if (n <= 0) break;
        done += size_t(n);
    }
    close(fd);
    const char note[] = "\nreproducer written to ";
    (void)!write(s_reportFd, note, sizeof note - 1);
    (void)!write(s_reportFd, s_crashPath, std::strlen(s_crashPath));
    (void)!write(s_reportFd, "\n", 1);
}

void OnAlarm(int) {
    const char note[] = "\nan input ran past the time limit (a hang)";
    (void)!write(s_reportFd, note, sizeof note - 1);
    SaveInput();
    _exit(70);
}

void Run(const uint8_t* data, size_t size, unsigned timeout) {
    s_data = data, s_size = size;
    alarm(timeout);
    LLVMFuzzerTestOneInput(data, size);
    alarm(0);
}

long Option(const char* arg, const char* name, long value) {
    size_t n = std::strlen(name);
    return std::strncmp(arg, name, n) == 0 ? std::strtol(arg + n, nullptr, 10) : value;
}

} // namespace

int main(int argc, char** argv) {
    long mutations = 0, seed = 1, maxLen = 1 << 20, timeout = 5;
    std::vector<std::filesystem::path> files;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (a[0] == '-') {
            mutations = Option(a, "-mutations=", mutations);
            seed = Option(a, "-seed=", seed);
            maxLen = Option(a, "-max_len=", maxLen);
            timeout = Option(a, "-timeout=", timeout);
            continue;
        }
        std::error_code ec;
        if (std::filesystem::is_directory(a, ec)) {
            std::vector<std::filesystem::path> inFolder;
            for (const auto& e : std::filesystem::directory_iterator(a, ec))
                if (e.is_regular_file()) inFolder.push_back(e.path());
            std::sort(inFolder.begin(), inFolder.end()); // the same order on every machine
            files.insert(files.end(), inFolder.begin(), inFolder.end());
        } else if (std::filesystem::is_regular_file(a, ec)) {
            files.push_back(a);
        }
    }
    if (files.empty()) {
        std::fprintf(stderr, "%s: no input files\n", argv[0]);
        return 1;
    }
    std::snprintf(s_crashPath, sizeof s_crashPath, "crash-%s",
                  std::filesystem::path(argv[0]).filename().c_str());
    if (__sanitizer_set_death_callback) __sanitizer_set_death_callback(SaveInput);
    if (!std::getenv("FAIRLARK_FUZZ_VERBOSE")) QuietStderr();
    signal(SIGALRM, OnAlarm);
    if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);

    std::vector<Bytes> inputs;
    for (const auto& f : files) {
        // Printed first, so that the input of a crash is the last name in the output.
        std::printf("input %s\n", f.c_str());
        std::fflush(stdout);
        inputs.push_back(ReadBytes(f));
        Run(inputs.back().data(), inputs.back().size(), unsigned(timeout));
    }
    MsSeed(uint32_t(seed));
    for (long m = 0; m < mutations; ++m) {
        Bytes b = inputs[size_t(m) % inputs.size()];
        for (size_t k = 1 + Below(4); k > 0; --k)
            MutateOnce(b, inputs, size_t(maxLen));
        // The mutation number replays one case: the same seed and files give the same bytes.
        if (std::getenv("FAIRLARK_FUZZ_VERBOSE")) {
            std::printf("mutation %ld\n", m);
            std::fflush(stdout);
        }
        Run(b.data(), b.size(), unsigned(timeout));
    }
    std::printf("%zu inputs and %ld mutations passed\n", files.size(), mutations);
    return 0;
}
