// Line rules of the ini layer: headers and keys count only at the start of a line.
#include "engine/IniScan.h"

#include <cstring>

namespace {

// After a line feed (or at the start of the text), skip blanks: the first other character
// opens the line's content.
const char* LineContent(const char* p, const char* end) {
    while (p < end && IniIsBlank(*p))
        ++p;
    return p;
}

const char* NextLine(const char* p, const char* end) {
    const void* lf = std::memchr(p, '\n', (size_t)(end - p));
    return lf ? static_cast<const char*>(lf) + 1 : end;
}

// A text saved with a UTF-8 byte-order mark (as Windows editors save it) starts behind those
// three bytes; they count as blanks before the first line, or its header would not open a line.
const char* AfterByteOrderMark(const char* textBegin, const char* end) {
    if (end - textBegin >= 3 && (unsigned char)textBegin[0] == 0xEF &&
        (unsigned char)textBegin[1] == 0xBB && (unsigned char)textBegin[2] == 0xBF)
        return textBegin + 3;
    return textBegin;
}

bool AtLineStart(const char* textBegin, const char* p) {
    const char* first = AfterByteOrderMark(textBegin, p);
    while (p > first && IniIsBlank(p[-1]))
        --p;
    return p == first || p == textBegin || p[-1] == '\n';
}

} // namespace

const char* IniScanNextHeader(const char* textBegin, const char* from, const char* end) {
    const char* line = from;
    if (!AtLineStart(textBegin, from)) line = NextLine(from, end);
    if (line == textBegin) line = AfterByteOrderMark(textBegin, end);
    while (line < end) {
        const char* c = LineContent(line, end);
        if (c < end && *c == '[') return c;
        line = NextLine(c, end);
    }
    return nullptr;
}

const char* IniScanFindSection(const char* begin, const char* end, const char* name,
                               size_t nameLength) {
    const char* p = begin;
    while ((p = IniScanNextHeader(begin, p, end)) != nullptr) {
        const char* n = p + 1;
        if ((size_t)(end - n) > nameLength && std::memcmp(n, name, nameLength) == 0 &&
            n[nameLength] == ']')
            return p;
        p = NextLine(p, end);
    }
    return nullptr;
}

const char* IniScanSectionEnd(const char* from, const char* end) {
    // The section's own header line never ends it: start at the next line.
    const char* next = IniScanNextHeader(from, NextLine(from, end), end);
    return next ? next : end;
}

const char* IniScanFindKey(const char* begin, const char* end, const char* key, size_t keyLength) {
    for (const char* line = NextLine(begin, end); line < end; line = NextLine(line, end)) {
        const char* c = LineContent(line, end);
        if ((size_t)(end - c) > keyLength && std::memcmp(c, key, keyLength) == 0 &&
            c[keyLength] == '=')
            return c;
        line = c;
    }
    return nullptr;
}

size_t IniScanValue(const char* afterEquals, const char* end, const char** value) {
    const char* p = afterEquals < end ? afterEquals : end;
    while (p < end && IniIsBlank(*p))
        ++p;
    const char* stop = p;
    while (stop < end && *stop != '\n')
        ++stop;
    while (stop > p && IniIsBlank(stop[-1]))
        --stop;
    *value = p;
    return (size_t)(stop - p);
}
