// The ini reader: one file held whole in memory, one current section, typed reads, the section
// walk and the line reader of list sections.
#include "engine/IniFile.h"

#include "engine/Files.h"
#include "engine/IniScan.h"
#include "engine/Memory.h"
#include "engine/NumText.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <strings.h>
#include <unordered_map>

struct IniSectionReader {
    uint64_t generation; // the load it reads; a record of an older load reads nothing
    size_t cursor;       // offsets into the text
    size_t end;
};

namespace {

struct Reader {
    std::string path; // set only once a read has succeeded
    char* text = nullptr;
    const char* end = nullptr; // the file's last byte + 1 (the two closing zeros follow)
    const char* sectionStart = nullptr;
    const char* sectionEnd = nullptr;
    const char* walk = nullptr;
    uint64_t generation = 0;
    // The first header of each name, made on the first lookup: loaders that select every
    // section of a file by name (entities, records) would otherwise scan the text from its start
    // each time, and a file of many short sections took minutes.
    std::unordered_map<std::string_view, const char*> headers;
    bool indexed = false;
};
Reader s_reader;

void ClearSection() {
    s_reader.sectionStart = s_reader.sectionEnd = nullptr;
}

void FreeText() {
    if (s_reader.text) MemFree(s_reader.text);
    s_reader.text = nullptr;
    s_reader.end = s_reader.walk = nullptr;
    s_reader.path.clear();
    s_reader.headers.clear();
    s_reader.indexed = false;
    ++s_reader.generation;
    ClearSection();
}

// Every line-opening "[name]" whose "]" comes before the line's end, the first of each name
// kept, in the order IniScanFindSection meets them.
void IndexHeaders() {
    s_reader.indexed = true;
    const char* p = s_reader.text;
    while ((p = IniScanNextHeader(s_reader.text, p, s_reader.end)) != nullptr) {
        const char* n = p + 1;
        const char* q = n;
        while (q < s_reader.end && *q != ']' && *q != '\n')
            ++q;
        if (q < s_reader.end && *q == ']')
            s_reader.headers.emplace(std::string_view(n, size_t(q - n)), p);
        p = q;
    }
}

// The "[" of the first header "[name]", as IniScanFindSection finds it.
const char* FindHeader(const char* name, size_t length) {
    // A name holding "]" or a line feed can only be matched by the scan itself.
    if (std::memchr(name, ']', length) || std::memchr(name, '\n', length))
        return IniScanFindSection(s_reader.text, s_reader.end, name, length);
    if (!s_reader.indexed) IndexHeaders();
    auto it = s_reader.headers.find(std::string_view(name, length));
    return it == s_reader.headers.end() ? nullptr : it->second;
}

void CopyCut(char* out, size_t outSize, const char* src, size_t length) {
    if (!out || outSize == 0) return;
    if (length > outSize - 1) length = outSize - 1;
    std::memmove(out, src, length);
    out[length] = 0;
}

void SelectBody(const char* body) {
    s_reader.sectionStart = body;
    s_reader.sectionEnd = IniScanSectionEnd(body, s_reader.end);
}

} // namespace

int IniOpen(const char* path, int /*unused*/) {
    // A pending profile write of this very file must reach the disk before we read it.
    IniProfileFlush();
    if (!path || !*path) return -1;
    if (s_reader.text && strcasecmp(s_reader.path.c_str(), path) == 0) return 1;
    FreeText();
    void* data = nullptr;
    int size = FileReadAll(&data, path, 1);
    if (size < 2) return -1;
    s_reader.text = static_cast<char*>(data);
    s_reader.end = s_reader.text + (size - 2);
    s_reader.walk = s_reader.text;
    s_reader.path = path;
    return 0;
}

int IniClose() {
    FreeText();
    return 0;
}

int IniEndsMidLine() {
    if (!s_reader.text) return -1;
    return s_reader.end > s_reader.text && s_reader.end[-1] != '\n' ? 1 : 0;
}

int IniSetSection(const char* name) {
    if (!name) return 0;
    ClearSection();
    if (!s_reader.text) return -1;
    const char* header = FindHeader(name, std::strlen(name));
    if (!header) return -1;
    SelectBody(header + std::strlen(name) + 2);
    return 0;
}

void IniRewindSections() {
    s_reader.walk = s_reader.text;
    ClearSection();
}

int IniNextSection(char* name, size_t nameSize, size_t* fullLength) {
    CopyCut(name, nameSize, "", 0);
    if (fullLength) *fullLength = 0;
    ClearSection();
    if (!s_reader.text) return 0;
    const char* p = s_reader.walk ? s_reader.walk : s_reader.text;
    while ((p = IniScanNextHeader(s_reader.text, p, s_reader.end)) != nullptr) {
        const char* n = p + 1;
        const char* q = n;
        while (q < s_reader.end && *q != ']' && *q != '\n' && *q != '\r')
            ++q;
        if (q < s_reader.end && *q == ']') {
            size_t length = (size_t)(q - n);
            CopyCut(name, nameSize, n, length);
            if (fullLength) *fullLength = length;
            s_reader.walk = q + 1;
            SelectBody(q + 1);
            return 1;
        }
        p = q; // a "[" line without "]": not a section; look on from the next line
    }
    s_reader.walk = s_reader.end;
    return 0;
}

int IniFindKey(const char* key, char* out, size_t outSize) {
    CopyCut(out, outSize, "", 0);
    if (!key || !s_reader.sectionStart) return -1;
    size_t keyLength = std::strlen(key);
    const char* at = IniScanFindKey(s_reader.sectionStart, s_reader.sectionEnd, key, keyLength);
    if (!at) return -1;
    const char* value;
    size_t length = IniScanValue(at + keyLength + 1, s_reader.sectionEnd, &value);
    CopyCut(out, outSize, value, length);
    return 0;
}

int IniTextToInt(const char* text) {
    if (!text) return 0;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) return HexToInt(text);
    return DecToInt(text);
}

int IniReadInt(int* out, const char* key, int def) {
    char value[INI_VALUE_MAX + 1];
    int found = IniFindKey(key, value, sizeof value);
    if (out) *out = found == 0 ? IniTextToInt(value) : def;
    return found;
}

int IniReadFloat(float* out, const char* key, float def) {
    char value[INI_VALUE_MAX + 1];
    int found = IniFindKey(key, value, sizeof value);
    if (out) *out = found == 0 ? TextToFloat(value) : def;
    return found;
}

int IniReadString(char* out, const char* key, const char* def, size_t size) {
    char value[INI_VALUE_MAX + 1];
    int found = IniFindKey(key, value, sizeof value);
    const char* src = found == 0 ? value : (def ? def : "");
    CopyCut(out, size, src, std::strlen(src));
    return found;
}

// ---- line reader ----

IniSectionReader* IniSectionOpen(const char* name) {
    if (!name || !s_reader.text) return nullptr;
    size_t nameLength = std::strlen(name);
    const char* header = IniScanFindSection(s_reader.text, s_reader.end, name, nameLength);
    if (!header) return nullptr;
    const char* body = header + nameLength + 2;
    auto* reader = static_cast<IniSectionReader*>(MemAlloc(sizeof(IniSectionReader)));
    if (!reader) return nullptr;
    reader->generation = s_reader.generation;
    reader->cursor = (size_t)(body - s_reader.text);
    reader->end = (size_t)(IniScanSectionEnd(body, s_reader.end) - s_reader.text);
    return reader;
}

int IniSectionReadLine(IniSectionReader* reader, char* out, size_t outSize) {
    CopyCut(out, outSize, "", 0);
    if (!reader || reader->generation != s_reader.generation || !s_reader.text) return 0;
    const char* p = s_reader.text + reader->cursor;
    const char* end = s_reader.text + reader->end;
    while (p < end && (IniIsBlank(*p) || *p == '\n'))
        ++p;
    if (p >= end) {
        reader->cursor = reader->end;
        return 0;
    }
    const void* lf = std::memchr(p, '\n', (size_t)(end - p));
    const char* stop = lf ? static_cast<const char*>(lf) : end;
    reader->cursor = (size_t)((lf ? stop + 1 : end) - s_reader.text);
    while (stop > p && IniIsBlank(stop[-1]))
        --stop;
    CopyCut(out, outSize, p, (size_t)(stop - p));
    return 1;
}

void IniSectionClose(IniSectionReader* reader) {
    if (reader) MemFree(reader);
}
