// File access and managed files of the model library, over POSIX files.
#include "gi/giFileIO.h"

#include "gi/giDebug.h"
#include "gi/giString.h"

#include "engine/Files.h"
#include "platform/PathResolve.h"

#include <glob.h>
#include <sys/stat.h>

#include <new>

namespace {

std::string DiskPath(const std::string& name) {
    std::string disk;
    PlatPathResolve(name.c_str(), &disk);
    return disk;
}

bool IsFolder(const std::string& name) {
    std::string disk;
    if (PlatPathResolve(name.c_str(), &disk) != 1) return false;
    struct stat st;
    return stat(disk.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool MakeFolder(const std::string& name) {
    std::string disk = DiskPath(name);
    if (disk.empty()) return false;
    bool made = mkdir(disk.c_str(), 0755) == 0;
    PlatPathCacheInvalidate(disk);
    return made;
}

// A plain copy that overwrites the destination; the destination is written whole or not at all.
bool CopyWholeFile(const std::string& from, const std::string& to) {
    std::string disk;
    if (PlatPathResolve(from.c_str(), &disk) != 1) return false;
    std::FILE* f = std::fopen(disk.c_str(), "rb");
    if (!f) return false;
    std::string data;
    char chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        data.append(chunk, n);
    bool ok = !std::ferror(f);
    std::fclose(f);
    return ok && FileWriteAll(to.c_str(), data.data(), data.size()) == 1;
}

// A mode that may create or change a file.
bool Writes(const char* mode) {
    for (const char* p = mode; *p; ++p)
        if (*p == 'w' || *p == 'a' || *p == '+') return true;
    return false;
}

} // namespace

giFileIO::giFileIO() {
    m_cdRoots.reserve(10);
}

giFileIO::~giFileIO() = default;

giFileIO* giFileIO::Get() {
    if (giFileIO* io = Instance()) return io;
    return new (std::nothrow) giFileIO();
}

void giFileIO::Init(const char* registryKey, const char* numberValue, const char* textValue,
                    const char* alternateRoot, bool useAlternateRoot, bool track) {
    m_registryKey = registryKey ? registryKey : "";
    m_numberValue = numberValue ? numberValue : "";
    m_textValue = textValue ? textValue : "";
    m_alternateRoot = alternateRoot ? alternateRoot : "";
    m_useAlternateRoot = useAlternateRoot;
    ScanRoots();
    m_initialised = true;
    m_track = track;
}

std::FILE* giFileIO::Open(const char* name, const char* mode) {
    if (!name || !*name || !mode) return nullptr;
    Track(name);
    std::string disk = DiskPath(name);
    if (disk.empty()) return nullptr;
    std::FILE* f = std::fopen(disk.c_str(), mode);
    if (f && Writes(mode)) PlatPathCacheInvalidate(disk);
    return f;
}

void giFileIO::Track(const char* name) {
    if (!m_track || !name || !*name) return;
    m_managed.emplace(giHashString(name), name);
}

static std::string CompleteFolder(const std::string& path) {
    size_t sep = path.find_last_of("\\/");
    if (sep == std::string::npos || sep + 1 != path.size()) return path + "\\";
    return path;
}

void giFileIO::AddSearchFolder(const std::string& path) {
    m_searchFolders.push_back(CompleteFolder(path));
}

void giFileIO::RemoveSearchFolder(const std::string& path) {
    m_searchFolders.remove(CompleteFolder(path));
}

bool giFileIO::FileExists(const char* path) const {
    if (!path || !*path) return false;
    if (PlatPathResolve(path, nullptr) == 1) return true;
    std::string pattern = PlatPathNormalize(path);
    glob_t found{};
    bool any = glob(pattern.c_str(), GLOB_NOSORT, nullptr, &found) == 0 && found.gl_pathc > 0;
    globfree(&found);
    return any;
}

bool giFileIO::OpenSearch(std::ifstream& in, const char* name, int flags) {
    if (in.is_open()) in.close();
    if (!name || !*name) return false;
    std::string n = name;
    size_t sep = n.find_last_of("\\/");
    if (sep != std::string::npos && sep + 1 != n.size()) giStrReplaceAll(n, "/", "\\");
    std::string file = sep == std::string::npos ? n : n.substr(sep + 1);

    std::vector<std::string> candidates{n, file};
    for (const std::string& folder : m_searchFolders)
        candidates.push_back(folder + n);
    candidates.push_back(m_installRoot + n);
    for (const std::string& root : m_cdRoots)
        candidates.push_back(root + n);
    if (m_useAlternateRoot) candidates.push_back(m_alternateRoot + n);

    std::ios::openmode mode = (flags & 1) ? std::ios::in | std::ios::binary : std::ios::in;
    for (const std::string& c : candidates) {
        if (!FileExists(c.c_str())) continue;
        in.open(DiskPath(c), mode);
        return in.is_open();
    }
    return false;
}

void giFileIO::ScanRoots() {
    m_registryNumber = 0;
}

std::vector<std::string> giFileIO::ManagedFiles() const {
    std::vector<std::string> names;
    names.reserve(m_managed.size());
    for (const auto& entry : m_managed)
        names.push_back(entry.second);
    return names;
}

void giFileIO::OutputManagedFiles(const char* path) {
    if (m_managed.empty() || !m_track) {
        giOutputDebugString("[giFileIO::OutputManagedFiles] No managed files.");
        return;
    }
    std::string text;
    for (const auto& entry : m_managed) {
        std::string line = entry.second + "\n";
        giOutputDebugString(line.c_str());
        text += line;
    }
    if (path && *path && FileWriteAll(path, text.data(), text.size()) != 1)
        giOutputDebugString(giStrFormat("Error writing %s\n", path).c_str());
}

void giFileIO::CopyManagedFilesToFolder(const char* folder) {
    if (!folder || !*folder) return;
    std::string root = folder;
    if (root.back() != '\\') root += '\\';
    int copied = 0, errors = 0;
    for (const auto& entry : m_managed) {
        const std::string& name = entry.second;
        std::string dest = root + name;
        giStrReplaceAll(dest, "/", "\\");
        EnsureFolder(dest.c_str(), true);
        giOutputDebugString(("Copying " + name + " to " + dest).c_str());
        if (CopyWholeFile(name, dest)) {
            ++copied;
        } else {
            giOutputDebugString(("Error copying " + name).c_str());
            ++errors;
        }
    }
    giOutputDebugString(giStrFormat("[giFileIO::CopyManagedFilesToFolder] Copied %d files to %s "
                                    "with %d errors.\n",
                                    copied, root.c_str(), errors)
                            .c_str());
}

void giFileIO::EnsureFolder(const char* filePath, bool createParents) {
    if (!filePath) return;
    std::string path = filePath;
    size_t sep = path.find_last_of("\\/");
    if (sep == std::string::npos) return;
    std::string folder = path.substr(0, sep);
    if (folder.empty() || IsFolder(folder)) return;
    if (MakeFolder(folder) || !createParents) return;
    for (size_t i = 1; i < folder.size(); ++i)
        if ((folder[i] == '\\' || folder[i] == '/') && !IsFolder(folder.substr(0, i)))
            MakeFolder(folder.substr(0, i));
    // The walk makes the folders above; the folder itself still has to be made, or a file two
    // new levels deep could never be copied.
    MakeFolder(folder);
}
