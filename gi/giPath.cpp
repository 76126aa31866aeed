// Path functions of the model library.
#include "gi/giPath.h"

#include "gi/giString.h"

#include <cctype>
#include <iterator>

std::string giPathFolder(const std::string& path) {
    size_t sep = path.find_last_of("\\/");
    if (sep == std::string::npos) return ".\\";
    return path.substr(0, sep + 1);
}

std::string giPathNormalize(const std::string& path) {
    std::string lower;
    lower.reserve(path.size());
    giStrTransform(path.begin(), path.end(), std::back_inserter(lower), ::tolower);
    std::string out;
    out.reserve(lower.size());
    for (char c : lower) {
        if (c == '\\') c = '/';
        // A run of any length collapses: replacing "//" once would leave "//" of "///".
        if (c == '/' && !out.empty() && out.back() == '/') continue;
        out.push_back(c);
    }
    return out;
}

void giPathSplit(const std::string& path, std::vector<std::string>& out) {
    size_t pos = 0;
    while (pos <= path.size()) {
        size_t sep = path.find('\\', pos);
        if (sep == std::string::npos) sep = path.size();
        if (sep > pos) out.push_back(path.substr(pos, sep - pos));
        pos = sep + 1;
    }
}

std::string giPathMakeRelative(const std::string& base, const std::string& target) {
    // Components compare exactly, so a drive spelled differently counts as another drive too.
    std::string targetDrive = giPath(target).Drive();
    if (!targetDrive.empty() && targetDrive != giPath(base).Drive()) return target;
    std::vector<std::string> from, to;
    giPathSplit(base, from);
    giPathSplit(target, to);
    size_t common = 0;
    while (common < from.size() && common < to.size() && from[common] == to[common])
        ++common;
    std::string out;
    for (size_t i = common; i < from.size(); ++i)
        out += "..\\";
    for (size_t i = common; i < to.size(); ++i) {
        if (i > common) out += '\\';
        out += to[i];
    }
    return out;
}

giPath::giPath(const std::string& path) : m_path(path) {
    giStrReplaceAll(m_path, "/", "\\");
    size_t sep = m_path.rfind('\\');
    if (sep != std::string::npos) m_folder = m_path.substr(0, sep + 1);
    m_file = m_path.substr(m_folder.size());
}

std::string giPath::BaseName() const {
    size_t dot = m_file.rfind('.');
    return dot == std::string::npos ? m_file : m_file.substr(0, dot);
}

std::string giPath::Extension() const {
    size_t dot = m_file.rfind('.');
    return dot == std::string::npos ? std::string() : m_file.substr(dot + 1);
}

std::string giPath::Drive() const {
    size_t colon = m_path.find(':');
    if (colon == std::string::npos || colon == 0) return std::string();
    return m_path.substr(0, colon);
}

std::string giPath::InnermostFolder() const {
    if (m_folder.size() < 2) return std::string();
    size_t prev = m_folder.rfind('\\', m_folder.size() - 2);
    if (prev == std::string::npos) return std::string();
    return m_folder.substr(prev + 1, m_folder.size() - prev - 2);
}

std::string giPath::WithExtension(const std::string& ext) const {
    return m_folder + BaseName() + "." + ext;
}
