// The ini writer: edits of the one profile file, held in memory while the file is set and
// written out whole (temporary file, then rename) so that a crash never leaves half a file and
// a save of many keys costs one write, not one per key.
#include "engine/IniFile.h"

#include "engine/DebugLog.h"
#include "engine/Files.h"
#include "engine/IniScan.h"
#include "engine/Memory.h"
#include "engine/NumText.h"
#include "platform/PathResolve.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <unordered_set>

namespace {

struct Profile {
    std::string path;    // empty: no profile file
    std::string text;    // the file as it will be written
    bool loaded = false; // text holds the file (or the file is missing and text is empty)
    bool dirty = false;  // text differs from the file
    bool unreadable = false;
    bool writesLost = false; // a write was refused: the file cannot be read, so is not rewritten
    // The section of the last write and where its header stands: a save writes many keys
    // into one section in a row, and finding a section is a walk over the whole file. Every
    // edit lands after the header of the section it edits, so the place stays right.
    std::string lastSection;
    size_t lastHeader = std::string::npos;
    // A file built from empty knows every section it holds, so a new section needs no search.
    bool fresh = false;
    std::unordered_set<std::string> sections;
};
Profile s_profile;

void DropText() {
    s_profile.text.clear();
    s_profile.text.shrink_to_fit();
    s_profile.loaded = s_profile.dirty = s_profile.unreadable = s_profile.writesLost = false;
    s_profile.lastSection.clear();
    s_profile.lastHeader = std::string::npos;
    s_profile.fresh = false;
    s_profile.sections.clear();
}

// Loads the file on first use. A file that exists but cannot be read is never overwritten:
// taking it for empty would lose every other section in it.
bool EnsureLoaded() {
    if (s_profile.path.empty()) return false;
    if (s_profile.loaded) return !s_profile.unreadable;
    s_profile.loaded = true;
    void* data = nullptr;
    int size = FileReadAll(&data, s_profile.path.c_str(), 0);
    if (size >= 0) {
        s_profile.text.assign(static_cast<const char*>(data), (size_t)size);
        MemFree(data);
        return true;
    }
    std::string disk;
    if (PlatPathResolve(s_profile.path.c_str(), &disk) == 1) {
        s_profile.unreadable = true;
        DbgPrintf(DBG_GENERAL, "IniFile: %s cannot be read; it is not written\n",
                  s_profile.path.c_str());
        return false;
    }
    return true; // missing: written as a new file
}

bool HasLineBreak(const char* s) {
    return std::strpbrk(s, "\r\n") != nullptr;
}

// Names that the reader could never find again are refused rather than written.
bool WritableNames(const char* section, const char* key) {
    if (!section || !key || !*key) return false;
    if (HasLineBreak(section) || std::strchr(section, ']')) return false;
    if (HasLineBreak(key) || std::strchr(key, '=')) return false;
    return !IniIsBlank(key[0]) && key[0] != '[';
}

size_t LineEnd(const std::string& text, size_t from) {
    size_t lf = text.find('\n', from);
    return lf == std::string::npos ? text.size() : lf;
}

void SetValue(const char* section, const char* key, const char* value, size_t valueLength) {
    std::string& text = s_profile.text;
    const char* begin = text.data();
    const char* end = begin + text.size();
    size_t sectionLength = std::strlen(section);
    size_t keyLength = std::strlen(key);
    std::string line(key);
    line.append("=").append(value, valueLength);

    const char* header = nullptr;
    if (s_profile.lastHeader != std::string::npos && s_profile.lastSection == section)
        header = begin + s_profile.lastHeader;
    else if (!s_profile.fresh || s_profile.sections.count(section))
        header = IniScanFindSection(begin, end, section, sectionLength);
    if (!header) {
        if (s_profile.fresh) s_profile.sections.insert(section);
        if (!text.empty() && text.back() != '\n') text += '\n';
        s_profile.lastSection = section;
        s_profile.lastHeader = text.size();
        text.append("[").append(section).append("]\n").append(line).append("\n");
        return;
    }
    s_profile.lastSection = section;
    s_profile.lastHeader = (size_t)(header - begin);
    const char* body = header + sectionLength + 2;
    const char* sectionEnd = IniScanSectionEnd(body, end);
    if (const char* at = IniScanFindKey(body, sectionEnd, key, keyLength)) {
        size_t from = (size_t)(at - begin);
        size_t to = LineEnd(text, from);
        if (to > from && text[to - 1] == '\r' && to < text.size()) --to; // keep a CR LF ending
        text.replace(from, to - from, line);
        return;
    }
    // After the section's last line that holds anything, so blank lines before the next
    // section stay where they are.
    size_t insertAt = LineEnd(text, (size_t)(body - begin));
    size_t limit = (size_t)(sectionEnd - begin);
    for (size_t lineStart = insertAt + 1; lineStart < limit;) {
        size_t lineEnd = LineEnd(text, lineStart);
        for (size_t i = lineStart; i < lineEnd && i < limit; ++i)
            if (!IniIsBlank(text[i])) {
                insertAt = lineEnd;
                break;
            }
        lineStart = lineEnd + 1;
    }
    if (insertAt >= text.size()) {
        if (text.empty() || text.back() != '\n') text += '\n';
        text += line + "\n";
    } else {
        text.insert(insertAt + 1, line + "\n");
    }
}

} // namespace

int IniSetProfileFile(const char* path) {
    if (!path) return 0;
    IniClearProfileFile();
    s_profile.path = path;
    return 1;
}

int IniSetProfileFileEmpty(const char* path) {
    if (!path) return 0;
    IniClearProfileFile();
    s_profile.path = path;
    s_profile.loaded = true;
    s_profile.dirty = true;
    s_profile.fresh = true;
    return 1;
}

int IniClearProfileFile() {
    int written = IniProfileFlush();
    s_profile.path.clear();
    DropText();
    return written < 0 ? -1 : 0;
}

int IniProfileFlush() {
    if (s_profile.writesLost) {
        DbgPrintf(DBG_GENERAL, "IniFile: the changes to %s were not written\n",
                  s_profile.path.c_str());
        s_profile.writesLost = false;
        return -1;
    }
    if (!s_profile.dirty || s_profile.path.empty()) return 0;
    if (FileWriteAll(s_profile.path.c_str(), s_profile.text.data(), s_profile.text.size()) != 1) {
        DbgPrintf(DBG_GENERAL, "IniFile: could not write %s\n", s_profile.path.c_str());
        return -1;
    }
    s_profile.dirty = false;
    return 1;
}

void IniProfileWriteString(const char* section, const char* key, const char* text) {
    if (!WritableNames(section, key)) return;
    if (!EnsureLoaded()) {
        // Reported when the file is written (cleared or flushed): the save did not happen.
        s_profile.writesLost = !s_profile.path.empty();
        return;
    }
    if (!text) text = "";
    size_t length = std::strcspn(text, "\r\n");
    SetValue(section, key, text, length);
    s_profile.dirty = true;
}

void IniProfileWriteInt(const char* section, const char* key, int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    IniProfileWriteString(section, key, text);
}

void IniProfileWriteFloat(const char* section, const char* key, float value) {
    char text[64];
    FloatToText(value, text, sizeof text);
    IniProfileWriteString(section, key, text);
}

int IniProfileGetInt(int* out, const char* section, const char* key, int def) {
    int result = def;
    if (section && key && EnsureLoaded()) {
        const char* begin = s_profile.text.data();
        const char* end = begin + s_profile.text.size();
        size_t sectionLength = std::strlen(section);
        size_t keyLength = std::strlen(key);
        if (const char* header = IniScanFindSection(begin, end, section, sectionLength)) {
            const char* body = header + sectionLength + 2;
            const char* sectionEnd = IniScanSectionEnd(body, end);
            if (const char* at = IniScanFindKey(body, sectionEnd, key, keyLength)) {
                const char* value;
                size_t length = IniScanValue(at + keyLength + 1, sectionEnd, &value);
                result = DecToInt(std::string(value, length).c_str());
            }
        }
    }
    if (out) *out = result;
    return result;
}
