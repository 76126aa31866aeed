// Helpers of the record classes.
#include "gi/GM_Record.h"

#include "gi/GM_Object.h"
#include "gi/giDebug.h"

#include <algorithm>
#include <cstring>

namespace gm {

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
    giMessageBox(text, GM_EXPORTER_ERROR);
    return 0;
}
int WriteError(const char* text) {
    giMessageBox(text, GM_EXPORTER_ERROR);
    return 0;
}

} // namespace gm
