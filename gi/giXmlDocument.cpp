// XML document files through giFileIO.
#include "gi/giXmlDocument.h"

#include "gi/giDebug.h"
#include "gi/giFileIO.h"

#include "engine/Files.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// TinyXML parses (and later frees and copies) an element's children by recursion, one level of
// the machine stack per level of nesting: a hand-edited file of a few hundred kilobytes of "<a>"
// overflowed the stack. Our files nest a handful of levels.
constexpr size_t kMaxXmlDepth = 256;
// TinyXML looks each new attribute up among the element's earlier ones, one by one: a single
// tag of a few thousand attributes took seconds to parse. Our elements carry at most four.
constexpr size_t kMaxXmlAttributes = 256;
// The most bytes one UTF-8 sequence takes, as the parser counts them.
constexpr size_t kUtf8Longest = 4;

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

struct XmlShape {
    size_t depth = 0;      // the deepest nesting of elements
    size_t attributes = 0; // the most attributes one tag carries
};

// The shape of the text as the parser would build it: comments, CDATA sections, declarations
// and quoted attribute values are stepped over, end tags and empty-element tags do not open a
// level, and every "=" inside a tag may start an attribute. Never less than what the parser
// would build.
XmlShape XmlShapeOf(const char* p, const char* end) {
    XmlShape shape;
    size_t depth = 0;
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
            size_t attributes = 0;
            for (++p; p < end && *p != '>'; ++p) {
                if (*p == '"' || *p == '\'') {
                    const char quote[2] = {*p, 0};
                    p = Past(p + 1, end, quote) - 1;
                }
                if (*p == '=') ++attributes;
                if (*p != ' ' && *p != '\t' && *p != '\r' && *p != '\n') last = *p;
            }
            if (last != '/' && ++depth > shape.depth) shape.depth = depth;
            shape.attributes = std::max(shape.attributes, attributes);
            if (p < end) ++p;
        }
    }
    return shape;
}

// The whole file, read from its start.
std::string ReadAll(std::FILE* f) {
    std::string text;
    char block[4096];
    size_t n;
    while ((n = std::fread(block, 1, sizeof block, f)) > 0)
        text.append(block, n);
    return text;
}

// The text as TinyXML's file read hands it to the parser: up to the first NUL, with CR LF and a
// lone CR made LF.
std::string NewLinesAsTinyXmlReadsThem(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size() && text[i]; ++i) {
        if (text[i] != '\r') {
            out += text[i];
            continue;
        }
        out += '\n';
        if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    }
    return out;
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
    std::fclose(f);
    const XmlShape shape = XmlShapeOf(text.data(), text.data() + text.size());
    const char* refusal = shape.depth > kMaxXmlDepth ? "nests its elements too deeply"
                          : shape.attributes > kMaxXmlAttributes
                              ? "has a tag with too many attributes"
                              : nullptr;
    if (refusal) {
        giOutputDebugString(
            ("\nXML file " + std::string(Value()) + " " + refusal + ": not loaded\n").c_str());
        SetError(TIXML_ERROR_PARSING_ELEMENT, nullptr, nullptr, TIXML_ENCODING_UNKNOWN);
        return false;
    }
    std::string parsed = NewLinesAsTinyXmlReadsThem(text);
    if (parsed.empty()) {
        SetError(TIXML_ERROR_DOCUMENT_EMPTY, nullptr, nullptr, TIXML_ENCODING_UNKNOWN);
        return false;
    }
    // The parser steps over a UTF-8 sequence by the length its first byte announces, past the
    // terminator when the file ends inside one, and reads on from there: TinyXML's own file read
    // leaves nothing after the terminator, so such a file read past the end of its buffer. Ours
    // has room for the longest sequence after it.
    parsed.append(kUtf8Longest, '\0');
    location.Clear();
    Parse(parsed.c_str(), nullptr, encoding);
    return !Error();
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
