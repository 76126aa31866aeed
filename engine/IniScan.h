// The line rules that the ini reader and writer share, over a text range [begin, end): what is
// a section header, where a section ends and where a key stands. Both halves call only these,
// so what the writer writes is what the reader reads.
#pragma once

#include <cstddef>

// Space, tab and carriage return: the blanks that may stand before a header or key and that
// are dropped around values.
inline bool IniIsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// The "[" of the first header "[name]" that opens a line (after blanks), or null.
const char* IniScanFindSection(const char* begin, const char* end, const char* name,
                               size_t nameLength);
// From `from` (inside a section's text): the "[" of the next line that begins with one, or end.
const char* IniScanSectionEnd(const char* from, const char* end);
// The first character of the first line in [begin, end) that starts (after blanks) with
// key + "=", or null. The range starts inside a header line, whose rest is never a key.
const char* IniScanFindKey(const char* begin, const char* end, const char* key, size_t keyLength);
// The next line-opening "[" at or after `from`, or null; `from` counts as a line start when it
// is the start of the text or follows a line feed (blanks between do not matter).
const char* IniScanNextHeader(const char* textBegin, const char* from, const char* end);
// The value after a key's "=": leading blanks skipped (a line feed first gives an empty value),
// up to the line feed or `end`, trailing blanks dropped. Returns its length; *value its start.
size_t IniScanValue(const char* afterEquals, const char* end, const char** value);
