// Path functions of the model library. Paths are Windows-style: "\" and "/" both separate.
#pragma once

#include <string>
#include <vector>

// The folder part up to and including the last separator; ".\" when there is none.
std::string giPathFolder(const std::string& path);
// Lower case, "\" turned into "/", runs of "/" collapsed: "A\B//c/D.GMF" -> "a/b/c/d.gmf".
std::string giPathNormalize(const std::string& path);
// Appends the components of `path` split at "\" (empty components are skipped).
void giPathSplit(const std::string& path, std::vector<std::string>& out);
// `target` relative to the folder `base`, joined by "\": the common leading components are
// dropped and one ".." stands for each base component left. A target whose drive differs from
// the base's comes back unchanged, since no relative path reaches another drive.
std::string giPathMakeRelative(const std::string& base, const std::string& target);

// The pieces of one path. Every "/" is taken as "\" first.
class giPath {
  public:
    explicit giPath(const std::string& path);

    // Up to and including the last separator; "" when there is none.
    const std::string& Folder() const { return m_folder; }
    // The text after the folder.
    const std::string& FileName() const { return m_file; }
    // The file name without the text from its last "." on.
    std::string BaseName() const;
    // The text after the last "." of the file name; "" when there is none.
    std::string Extension() const;
    // The text before the first ":" when that is not the first character; "" otherwise.
    std::string Drive() const;
    // The last component of the folder; "" when the folder has fewer than two separators.
    std::string InnermostFolder() const;
    // Folder + base name + "." + ext.
    std::string WithExtension(const std::string& ext) const;

  private:
    std::string m_path;
    std::string m_folder;
    std::string m_file;
};
