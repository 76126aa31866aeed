// Wide printf-style formatting: the format is walked here, strings and characters are copied
// as wide text, and each number goes through the C library's snprintf in the "C" locale.
#include "engine/WideFormat.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <locale.h>
#include <type_traits>
#include <vector>

namespace {

locale_t CLocale() {
    static locale_t s_c = newlocale(LC_ALL_MASK, "C", (locale_t)0);
    return s_c;
}

// Widths and precisions are held to this: more could only pad or extend what the output cuts.
constexpr int kCountMax = 4096;

// The output; what passes its end is dropped.
struct Sink {
    char16_t* out;
    size_t cap; // units that may be written before the terminator
    size_t len = 0;

    void Put(char16_t c) {
        if (len < cap) out[len++] = c;
    }
    void Pad(size_t n, char16_t c) {
        for (size_t i = 0; i < n && len < cap; ++i)
            Put(c);
    }
};

struct Conversion {
    char flags[8] = {};
    int nFlags = 0;
    bool left = false;
    int width = -1;
    int precision = -1;
    char length[3] = {}; // "", "hh", "h", "l", "ll", "j", "z", "t", "L"
    char conv = 0;
};

bool IsFlag(char16_t c) {
    return c == u'-' || c == u'+' || c == u' ' || c == u'#' || c == u'0';
}

// A decimal count or "*" from the arguments; -1 when there is none. A negative "*" width
// means left alignment; a negative "*" precision counts as none, as in printf.
int ReadCount(const char16_t** p, va_list* args, bool* negative) {
    *negative = false;
    if (**p == u'*') {
        ++*p;
        int v = va_arg(*args, int);
        *negative = v < 0;
        return v < -kCountMax || v > kCountMax ? kCountMax : (v < 0 ? -v : v);
    }
    if (**p < u'0' || **p > u'9') return -1;
    int v = 0;
    while (**p >= u'0' && **p <= u'9') {
        if (v <= kCountMax) v = v * 10 + (**p - u'0');
        ++*p;
    }
    return v > kCountMax ? kCountMax : v;
}

// Parses one conversion after its "%"; false for a refused or unfinished one.
bool ParseConversion(const char16_t** pp, va_list* args, Conversion* s) {
    const char16_t* p = *pp;
    while (IsFlag(*p)) {
        if (*p == u'-') s->left = true;
        if (s->nFlags < 5) s->flags[s->nFlags++] = (char)*p;
        ++p;
    }
    bool negative = false;
    s->width = ReadCount(&p, args, &negative);
    if (negative) s->left = true;
    if (*p == u'.') {
        ++p;
        s->precision = ReadCount(&p, args, &negative);
        if (negative)
            s->precision = -1;
        else if (s->precision < 0)
            s->precision = 0; // "." alone is precision 0
    }
    int n = 0;
    while (n < 2 && (*p == u'h' || *p == u'l')) {
        if (n == 1 && *p != (char16_t)s->length[0]) break;
        s->length[n++] = (char)*p++;
    }
    if (n == 0 && (*p == u'j' || *p == u'z' || *p == u't' || *p == u'L')) s->length[0] = (char)*p++;
    static const char kConversions[] = "diuoxXfFeEgGaAcsp";
    if (*p == 0 || *p > 0x7F || !std::strchr(kConversions, (char)*p)) return false;
    s->conv = (char)*p++;
    *pp = p;
    return true;
}

// The narrow printf format of a numeric conversion, with width and precision written out.
void NarrowFormat(const Conversion& s, char* out, size_t size) {
    int n = std::snprintf(out, size, "%%%s", s.flags);
    if (s.width >= 0) n += std::snprintf(out + n, size - n, "%d", s.width);
    if (s.precision >= 0) n += std::snprintf(out + n, size - n, ".%d", s.precision);
    std::snprintf(out + n, size - n, "%s%c", s.length, s.conv);
}

template <typename T>
void PutNumber(Sink* sink, const char* format, T value) {
    locale_t old = uselocale(CLocale());
    char small[128];
    int need = std::snprintf(small, sizeof small, format, value);
    if (need >= (int)sizeof small) {
        // A long double's digits and a long precision: a few thousand characters at most.
        std::vector<char> big((size_t)need + 1);
        std::snprintf(big.data(), big.size(), format, value);
        for (int i = 0; i < need; ++i)
            sink->Put((char16_t)(unsigned char)big[(size_t)i]);
    } else {
        for (int i = 0; i < need; ++i)
            sink->Put((char16_t)(unsigned char)small[i]);
    }
    uselocale(old);
}

void PutInteger(Sink* sink, const Conversion& s, va_list* args) {
    char narrow[48];
    NarrowFormat(s, narrow, sizeof narrow);
    bool isSigned = s.conv == 'd' || s.conv == 'i';
    const char* len = s.length;
    if (!std::strcmp(len, "ll")) {
        if (isSigned)
            PutNumber(sink, narrow, va_arg(*args, long long));
        else
            PutNumber(sink, narrow, va_arg(*args, unsigned long long));
    } else if (!std::strcmp(len, "l") || !std::strcmp(len, "j") || !std::strcmp(len, "z") ||
               !std::strcmp(len, "t")) {
        // intmax_t, size_t and ptrdiff_t are all long on the platforms we build for.
        static_assert(sizeof(long) == sizeof(size_t) && sizeof(long) == sizeof(intmax_t));
        if (isSigned)
            PutNumber(sink, narrow, va_arg(*args, long));
        else
            PutNumber(sink, narrow, va_arg(*args, unsigned long));
    } else {
        // hh, h and none all arrive as int; printf narrows hh and h itself.
        if (isSigned)
            PutNumber(sink, narrow, va_arg(*args, int));
        else
            PutNumber(sink, narrow, va_arg(*args, unsigned int));
    }
}

void PutFloat(Sink* sink, const Conversion& s, va_list* args) {
    char narrow[48];
    if (s.length[0] == 'L') {
        NarrowFormat(s, narrow, sizeof narrow);
        PutNumber(sink, narrow, va_arg(*args, long double));
    } else {
        Conversion plain = s;
        plain.length[0] = 0; // "%lf" is "%f"
        NarrowFormat(plain, narrow, sizeof narrow);
        PutNumber(sink, narrow, va_arg(*args, double));
    }
}

// Text of `count` units with the width's padding (blanks; "0" pads strings with blanks too).
template <typename Unit>
void PutText(Sink* sink, const Conversion& s, const Unit* text, size_t count) {
    size_t pad = s.width > 0 && (size_t)s.width > count ? (size_t)s.width - count : 0;
    if (!s.left) sink->Pad(pad, u' ');
    for (size_t i = 0; i < count; ++i)
        sink->Put((char16_t)(std::make_unsigned_t<Unit>)text[i]);
    if (s.left) sink->Pad(pad, u' ');
}

template <typename Unit>
size_t TextLength(const Unit* text, int precision) {
    size_t n = 0;
    while ((precision < 0 || n < (size_t)precision) && text[n])
        ++n;
    return n;
}

void PutString(Sink* sink, const Conversion& s, va_list* args) {
    if (s.length[0] == 'h') {
        const char* text = va_arg(*args, const char*);
        if (!text) text = "(null)";
        PutText(sink, s, text, TextLength(text, s.precision));
    } else {
        const char16_t* text = va_arg(*args, const char16_t*);
        if (!text) text = u"(null)";
        PutText(sink, s, text, TextLength(text, s.precision));
    }
}

} // namespace

int WideFormatV(char16_t* out, size_t outCount, const char16_t* format, va_list args) {
    if (!out || outCount == 0) return 0;
    Sink sink{out, outCount - 1};
    if (!format) {
        out[0] = 0;
        return -1;
    }
    va_list ap;
    va_copy(ap, args);
    bool refused = false;
    for (const char16_t* p = format; *p && !refused;) {
        if (*p != u'%') {
            sink.Put(*p++);
            continue;
        }
        ++p;
        if (*p == u'%') {
            sink.Put(*p++);
            continue;
        }
        Conversion s;
        if (!ParseConversion(&p, &ap, &s)) {
            refused = true;
            break;
        }
        switch (s.conv) {
            case 'd':
            case 'i':
            case 'u':
            case 'o':
            case 'x':
            case 'X': PutInteger(&sink, s, &ap); break;
            case 'c': {
                char16_t c = (char16_t)va_arg(ap, int);
                PutText(&sink, s, &c, 1);
                break;
            }
            case 's': PutString(&sink, s, &ap); break;
            case 'p': {
                char narrow[48];
                Conversion plain = s;
                plain.length[0] = 0;
                NarrowFormat(plain, narrow, sizeof narrow);
                PutNumber(&sink, narrow, va_arg(ap, void*));
                break;
            }
            default: PutFloat(&sink, s, &ap); break;
        }
    }
    va_end(ap);
    if (refused) {
        out[0] = 0;
        return -1;
    }
    out[sink.len] = 0;
    return (int)sink.len;
}

int WideFormat(char16_t* out, size_t outCount, const char16_t* format, ...) {
    va_list args;
    va_start(args, format);
    int n = WideFormatV(out, outCount, format, args);
    va_end(args);
    return n;
}

int WideFromNarrow(const char* text, char16_t* out, size_t outCount) {
    if (!out || outCount == 0) return 0;
    size_t n = 0;
    if (text)
        for (; n + 1 < outCount && text[n]; ++n)
            out[n] = (char16_t)(unsigned char)text[n];
    out[n] = 0;
    return (int)n;
}

int WideFromUtf8(const char* text, char16_t* out, size_t outCount) {
    if (!out || outCount == 0) return 0;
    size_t n = 0;
    const auto* p = reinterpret_cast<const unsigned char*>(text ? text : "");
    while (n + 1 < outCount && *p) {
        const unsigned lead = *p;
        int more = 0;
        uint32_t code = lead, least = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            more = 1, code = lead & 0x1Fu, least = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            more = 2, code = lead & 0x0Fu, least = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            more = 3, code = lead & 0x07u, least = 0x10000;
        }
        int i = 1;
        for (; i <= more && (p[i] & 0xC0u) == 0x80u; ++i)
            code = (code << 6) | (p[i] & 0x3Fu);
        const bool whole = more > 0 && i == more + 1 && code >= least && code <= 0x10FFFF &&
                           !(code >= 0xD800 && code <= 0xDFFF);
        if (!whole) {
            out[n++] = char16_t(lead);
            ++p;
            continue;
        }
        out[n++] = code > 0xFFFF ? char16_t(0xFFFD) : char16_t(code);
        p += more + 1;
    }
    out[n] = 0;
    return (int)n;
}
