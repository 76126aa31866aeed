// XML document files through giFileIO.
#include "gi/giXmlDocument.h"

#include "gi/giDebug.h"
#include "gi/giFileIO.h"

#include "engine/Files.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// TinyXML parses (and later frees and copies) an element's children by recursion, one level of
// the machine stack per level of nesting: a hand-edited file of a few hundred kilobytes of "<a>"
// overflowed the stack. Our files nest a handful of levels.
constexpr size_t kMaxXmlDepth = 256;

const char* Past(const char* p, const char* end, const char* closing) {
    const size_t n = std::strlen(closing);
    for (; p + n <= end; ++p)
        if (std::memcmp(p, closing, n) == 0) return p + n;
    return end;
}

bool StartsWith(const char* p, const char* end, const char* word) {
    const size_t n = std::strlen(word);
    return size_t(end - p) >= n && std::memcmp(p, word, n) == 0;
}

// The deepest nesting of elements in the text, counted as the parser nests them: comments,
// CDATA sections, declarations and quoted attribute values are stepped over, end tags and
// empty-element tags do not open a level. Never less than what the parser would build.
size_t XmlNestingDepth(const char* p, const char* end) {
    size_t depth = 0, deepest = 0;
    while (p < end) {
        if (*p != '<') {
            ++p;
        } else if (StartsWith(p, end, "<!--")) {
            p = Past(p + 4, end, "-->");
        } else if (StartsWith(p, end, "<![CDATA[")) {
            p = Past(p + 9, end, "]]>");
        } else if (StartsWith(p, end, "<?") || StartsWith(p, end, "<!")) {
            p = Past(p + 2, end, ">");
        } else if (StartsWith(p, end, "</")) {
            depth = depth ? depth - 1 : 0;
            p = Past(p + 2, end, ">");
        } else {
            char last = 0;
            for (++p; p < end && *p != '>'; ++p) {
                if (*p == '"' || *p == '\'') {
                    const char quote[2] = {*p, 0};
                    p = Past(p + 1, end, quote) - 1;
                }
                if (*p != ' ' && *p != '\t' && *p != '\r' && *p != '\n') last = *p;
            }
            if (last != '/' && ++depth > deepest) deepest = depth;
            if (p < end) ++p;
        }
    }
    return deepest;
}

// The whole file, read from its start; the file is left at its start again.
std::string ReadAll(std::FILE* f) {
    std::string text;
    char block[4096];
    size_t n;
    while ((n = std::fread(block, 1, sizeof block, f)) > 0)
        text.append(block, n);
    std::rewind(f);
    return text;
}

} // namespace

bool giXmlDocument::LoadFile(const char* name, TiXmlEncoding encoding) {
    Clear();
    SetValue(name ? name : "");
    giFileIO* io = giFileIO::Get();
    std::FILE* f = io ? io->Open(name, "r") : nullptr;
    if (!f) {
        SetError(TIXML_ERROR_OPENING_FILE, nullptr, nullptr, TIXML_ENCODING_UNKNOWN);
        return false;
    }
    const std::string text = ReadAll(f);
    if (XmlNestingDepth(text.data(), text.data() + text.size()) > kMaxXmlDepth) {
        std::fclose(f);
        giOutputDebugString(
            ("\nXML file " + std::string(Value()) + " nests its elements too deeply: not loaded\n")
                .c_str());
        SetError(TIXML_ERROR_PARSING_ELEMENT, nullptr, nullptr, TIXML_ENCODING_UNKNOWN);
        return false;
    }
    // TinyXML reads the whole file, refuses an empty one and parses; closing stays with us.
    bool ok = TiXmlDocument::LoadFile(f, encoding);
    std::fclose(f);
    return ok;
}

bool giXmlDocument::LoadFile(TiXmlEncoding encoding) {
    return LoadFile(Value(), encoding);
}

bool giXmlDocument::SaveFile(const char* name) const {
    giFileIO* io = giFileIO::Get();
    if (!io || !name || !*name) return false;
    // The document is printed into memory and the file replaced whole, so a failed save (a full
    // disk) leaves the old file as it was and is reported, instead of a cut file and success.
    io->Track(name);
    char* text = nullptr;
    size_t size = 0;
    std::FILE* mem = open_memstream(&text, &size);
    if (!mem) return false;
    TiXmlDocument::SaveFile(mem);
    bool ok = std::fclose(mem) == 0 && FileWriteAll(name, text, size) == 1;
    std::free(text);
    return ok;
}

bool giXmlDocument::SaveFile() const {
    return SaveFile(Value());
}
