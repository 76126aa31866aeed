// Helpers of the record classes.
#include "gi/GM_Record.h"

#include "gi/GM_Object.h"
#include "gi/giDebug.h"

#include "engine/DebugLog.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace gm {

namespace {
const char* s_readPath = nullptr; // the file of the read in progress, when one is named
bool s_readReported = false;
} // namespace

bool Text(GM_Stream* s, std::string& out, bool dropTabs) {
    uint32_t n = 0;
    if (!Count(s, n, 1)) return false;
    std::string bytes(n, '\0');
    if (n && s->ReadExact(bytes.data(), 1, n) != 1) return false;
    bytes.resize(std::strlen(bytes.c_str()));
    if (dropTabs) bytes.erase(std::remove(bytes.begin(), bytes.end(), '\t'), bytes.end());
    out.swap(bytes);
    return true;
}

bool WText(GM_Stream* s, const std::string& text) {
    return W32(s, (uint32_t)text.size() + 1) && s->Write(text.c_str(), 1, text.size() + 1) == 1;
}

bool Line(GM_Stream* s, const char* keyword) {
    return s->Printf("%s%s\n", s->IndentString(), keyword) == 1;
}
bool Int(GM_Stream* s, const char* keyword, int v) {
    return s->Printf("%s%s\t%d\n", s->IndentString(), keyword, v) == 1;
}
bool Float(GM_Stream* s, const char* keyword, double v) {
    return s->Printf("%s%s\t%f\n", s->IndentString(), keyword, v) == 1;
}
bool Hex(GM_Stream* s, const char* keyword, uint32_t v) {
    return s->Printf("%s%s\t0x%x\n", s->IndentString(), keyword, v) == 1;
}
bool Str(GM_Stream* s, const char* keyword, const char* v) {
    return s->Printf("%s%s\t%s\n", s->IndentString(), keyword, v ? v : "") == 1;
}
bool Open(GM_Stream* s) {
    if (!Line(s, "{")) return false;
    s->IndentIn();
    return true;
}
bool Close(GM_Stream* s) {
    s->IndentOut();
    return Line(s, "}");
}

int ReadError(const char* text) {
    if (!s_readPath) {
        giMessageBox(text, GM_EXPORTER_ERROR);
        return 0;
    }
    // An inner record's failure fails every record around it: the first says what was wrong.
    if (s_readReported) return 0;
    s_readReported = true;
    DbgPrintf(DBG_GENERAL, "%s: %s: the file is cut short or damaged\n", s_readPath, text);
    const std::string box = std::string(text) + "\n" + s_readPath + " is cut short or damaged.";
    giMessageBox(box.c_str(), GM_EXPORTER_ERROR);
    return 0;
}

FileReadScope::FileReadScope(const char* path)
    : m_outerPath(s_readPath), m_outerReported(s_readReported) {
    s_readPath = path;
    s_readReported = false;
}

FileReadScope::~FileReadScope() {
    s_readPath = m_outerPath;
    s_readReported = m_outerReported;
}

bool FileReadScope::Reported() const {
    return s_readReported;
}

void FileReadScope::Report(const char* text) {
    if (!s_readReported) ReadError(text);
}
int WriteError(const char* text) {
    giMessageBox(text, GM_EXPORTER_ERROR);
    return 0;
}

} // namespace gm
