// The one file-access object of the model library: every file the library reads or writes is
// opened here, so that the files a run touched ("managed files") can be listed or collected.
#pragma once

#include "gi/giSingleton.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <list>
#include <set>
#include <string>
#include <utility>
#include <vector>

class giFileIO : public giSingleton<giFileIO> {
  public:
    giFileIO();
    virtual ~giFileIO();

    // The instance; made on the heap on first use when none exists (null when that fails). The
    // program keeps no static instance: one destroyed at exit, in an order nothing controls,
    // could go while the character manager's meshes may still open files.
    static giFileIO* Get();

    // Stores the search settings, scans the roots and switches tracking to `track`.
    void Init(const char* registryKey, const char* numberValue, const char* textValue,
              const char* alternateRoot, bool useAlternateRoot, bool track);

    // fopen through the engine's path lookup ("\" or "/", case retried folder by folder). A null
    // or empty name gives null. With tracking on the name is recorded exactly as given, before
    // the open, so a name that fails to open is recorded too.
    std::FILE* Open(const char* name, const char* mode);
    // Records a name opened by other means (tracking on, name not empty).
    void Track(const char* name);

    // Folders searched by OpenSearch; a folder without a trailing separator gets "\".
    // Removing takes every equal entry (exact comparison).
    void AddSearchFolder(const std::string& path);
    void RemoveSearchFolder(const std::string& path);

    // True when a file or folder matches `path`; wildcards work.
    bool FileExists(const char* path) const;
    // Opens `name` for reading from the first place it exists: as given, its file name in the
    // current folder, each search folder, the installation root, the CD-ROM roots, the
    // alternate root. Bit 0 of flags opens it binary. The stream stays closed when none has it.
    bool OpenSearch(std::ifstream& in, const char* name, int flags);
    // There is no registry and no CD-ROM drive list here: the registry number is 0, the
    // installation root stays as it is and no CD-ROM root is found.
    void ScanRoots();

    // Writes the managed names, one a line in hash order, to the debugger output and, when
    // `path` is not empty, to that file.
    void OutputManagedFiles(const char* path);
    // Copies every managed file below `folder`, keeping its relative path.
    void CopyManagedFilesToFolder(const char* folder);
    // Makes the folder of a file path (and with createParents the folders above it).
    static void EnsureFolder(const char* filePath, bool createParents);

    bool Tracking() const { return m_track; }
    bool Initialised() const { return m_initialised; }
    uint32_t RegistryNumber() const { return m_registryNumber; }
    const std::string& InstallRoot() const { return m_installRoot; }
    const std::list<std::string>& SearchFolders() const { return m_searchFolders; }
    const std::vector<std::string>& CdRoots() const { return m_cdRoots; }
    // The managed names in the order of the dumps.
    std::vector<std::string> ManagedFiles() const;

  private:
    std::string m_registryKey;
    std::string m_numberValue;
    std::string m_textValue;
    uint32_t m_registryNumber = 0;
    std::string m_installRoot = ".\\";
    std::string m_alternateRoot = ".\\";
    bool m_useAlternateRoot = false;
    bool m_initialised = false;
    bool m_track = false;
    std::list<std::string> m_searchFolders;
    std::vector<std::string> m_cdRoots;
    // Ordered by hash as the dumps have always been, and then by name: two names with one hash
    // are both kept.
    std::set<std::pair<uint32_t, std::string>> m_managed;
};
