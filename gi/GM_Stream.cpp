// The GMF stream over a buffered C file.
#include "gi/GM_Stream.h"

#include "gi/giDebug.h"
#include "gi/giFileIO.h"

#include <sys/stat.h>

#include <algorithm>
#include <bit>
#include <cstdarg>
#include <cstring>
#include <vector>

// GMF numbers are little-endian and are read and written as they lie in memory.
static_assert(std::endian::native == std::endian::little, "GMF streams need a little-endian host");

namespace {
constexpr const char* kErrorCaption = "Error";
constexpr uint32_t kWrittenVersion = 3;

const char* ModelTypeName(uint32_t type) {
    switch (type) {
        case GM_MODEL_BASIC: return "Basic Model";
        case GM_MODEL_ATTACHMENT: return "Attachment";
        case GM_MODEL_ARENA: return "Arena";
        case GM_MODEL_HAZARD: return "Hazard";
        default: return nullptr;
    }
}

bool ByteCount(size_t size, size_t count, size_t* bytes) {
    return !__builtin_mul_overflow(size, count, bytes);
}
} // namespace

GM_Stream::~GM_Stream() {
    Close();
}

int GM_Stream::Open(const char* name, int mode, const char* binaryMode, const char* textMode) {
    // A refused name or mode leaves an open stream as it was, under its own name and mode.
    if (!name || !*name) return 0;
    const char* how = mode == GM_STREAM_BINARY ? binaryMode
                      : mode == GM_STREAM_TEXT ? textMode
                                               : nullptr;
    if (!how) return 0;
    Close();
    m_mode = mode;
    m_fileName = name;
    giFileIO* io = giFileIO::Get();
    m_file = io ? io->Open(name, how) : nullptr;
    if (!m_file) return 0;
    struct stat st;
    m_length = fstat(fileno(m_file), &st) == 0 && st.st_size > 0 ? (uint64_t)st.st_size : 0;
    m_offset = 0;
    m_limit = UINT64_MAX;
    return 1;
}

int GM_Stream::OpenRead(const char* name, int mode) {
    return Open(name, mode, "rb", "r");
}

int GM_Stream::OpenWrite(const char* name, int mode) {
    return Open(name, mode, "wb", "w");
}

int GM_Stream::Close() {
    if (!m_file) return 0;
    int r = std::fclose(m_file);
    m_file = nullptr;
    m_length = m_offset = 0;
    m_limit = UINT64_MAX;
    return r;
}

size_t GM_Stream::ReadBytes(void* buffer, size_t bytes) {
    size_t got = std::fread(buffer, 1, bytes, m_file);
    m_offset += got;
    return got;
}

size_t GM_Stream::WriteBytes(const void* buffer, size_t bytes) {
    size_t done = std::fwrite(buffer, 1, bytes, m_file);
    m_offset += done;
    return done;
}

bool GM_Stream::ReadRaw(void* buffer, size_t bytes) {
    return ReadBytes(buffer, bytes) == bytes;
}

bool GM_Stream::WriteRaw(const void* buffer, size_t bytes) {
    return WriteBytes(buffer, bytes) == bytes;
}

void GM_Stream::SetComment(const char* comment) {
    m_comment = comment;
    m_commentLength = (uint32_t)(m_comment.size() + 1);
}

int GM_Stream::ReadBinaryHeader() {
    if (!m_file) return 0;
    auto fail = [] {
        giOutputDebugString("Error Reading Binary Header");
        return 0;
    };
    char magic[3];
    uint32_t version = 0, modelType = 0, length = 0, headerSize = 0;
    if (!ReadRaw(magic, 3) || std::memcmp(magic, "GMI", 3) != 0) return fail();
    if (!ReadRaw(&version, 4) || version > 3) return fail();
    if (version > 1) {
        if (!ReadRaw(&modelType, 4)) return fail();
        m_modelType = modelType;
    }
    if (!ReadRaw(&length, 4)) return fail();
    // The length comes from the file: it must fit in what is left before anything is made.
    if (length > Remaining()) return fail();
    std::vector<char> bytes(length);
    if (length && !ReadRaw(bytes.data(), length)) return fail();
    if (!ReadRaw(&headerSize, 4)) return fail();
    if (length)
        m_comment.assign(bytes.data(), strnlen(bytes.data(), length));
    else
        m_comment.clear();
    m_commentLength = length;
    m_headerSize = headerSize;
    m_position += (version > 1 ? 19 : 15) + length;
    return 1;
}

int GM_Stream::WriteHeader(const char* comment, uint32_t modelType) {
    if (!m_file) return 0;
    m_modelType = modelType;
    if (comment) SetComment(comment);
    if (m_mode == GM_STREAM_BINARY) return WriteBinaryHeader(comment);
    if (m_mode == GM_STREAM_TEXT) return WriteTextHeader(comment);
    return 1;
}

int GM_Stream::WriteBinaryHeader(const char* comment) {
    if (!m_file) return 0;
    if (comment) SetComment(comment);
    const uint32_t version = kWrittenVersion;
    const uint32_t headerSize = 2 + 1 + 12 + m_commentLength;
    bool ok = WriteRaw("GMI", 3) && WriteRaw(&version, 4) && WriteRaw(&m_modelType, 4) &&
              WriteRaw(&m_commentLength, 4) &&
              (!m_commentLength || WriteRaw(m_comment.c_str(), m_commentLength)) &&
              WriteRaw(&headerSize, 4);
    if (ok) return 1;
    giMessageBox("Error Writing Binary Header", kErrorCaption);
    return 0;
}

int GM_Stream::WriteTextHeader(const char* comment) {
    if (!m_file) return 0;
    if (comment) SetComment(comment);
    const char* typeName = ModelTypeName(m_modelType);
    bool ok = Printf("GMA\n") && Printf("%s\t%d\n", "*TOLVANE_ASCIIEXPORT", (int)kWrittenVersion) &&
              (!typeName || Printf("%s\t%s\n", "*MODEL_TYPE", typeName)) &&
              (!m_commentLength || Printf("%s\t%s\n", "*COMMENT", m_comment.c_str()));
    if (ok) return 1;
    giMessageBox("Error Writing Text Header", kErrorCaption);
    return 0;
}

int GM_Stream::Read(void* buffer, size_t size, size_t count) {
    size_t bytes;
    if (!m_file || !ByteCount(size, count, &bytes) || (!buffer && bytes)) return 0;
    m_position += (uint32_t)bytes;
    ReadBytes(buffer, bytes);
    if (std::ferror(m_file)) {
        giMessageBox("Error Reading Data", kErrorCaption);
        return 0;
    }
    return 1;
}

int GM_Stream::ReadExact(void* buffer, size_t size, size_t count) {
    size_t bytes;
    if (!m_file || !ByteCount(size, count, &bytes) || (!buffer && bytes)) return 0;
    if (!bytes) return 1;
    m_position += (uint32_t)bytes;
    if (m_offset + bytes > m_limit) return 0;
    size_t got = ReadBytes(buffer, bytes);
    if (std::ferror(m_file)) {
        giMessageBox("Error Reading Data", kErrorCaption);
        return 0;
    }
    return got == bytes ? 1 : 0;
}

int GM_Stream::Write(const void* buffer, size_t size, size_t count) {
    size_t bytes;
    if (!m_file || !ByteCount(size, count, &bytes) || (!buffer && bytes)) return 0;
    if (bytes && WriteBytes(buffer, bytes) != bytes) {
        giMessageBox("Error Writing Data", kErrorCaption);
        return 0;
    }
    return 1;
}

int GM_Stream::Seek(long offset, int origin) {
    if (!m_file) return 0;
    if (std::fseek(m_file, offset, origin) != 0) {
        giMessageBox("Error Seeking to Position", kErrorCaption);
        return 0;
    }
    long at = std::ftell(m_file);
    m_offset = at < 0 ? 0 : (uint64_t)at;
    return 1;
}

int GM_Stream::AtEnd() const {
    return m_file && std::feof(m_file) ? 1 : 0;
}

int64_t GM_Stream::Tell() const {
    return m_file ? (int64_t)m_offset : -1;
}

uint64_t GM_Stream::Remaining() const {
    uint64_t end = m_length < m_limit ? m_length : m_limit;
    if (!m_file || m_offset >= end) return 0;
    return end - m_offset;
}

int GM_Stream::Printf(const char* format, ...) {
    if (!m_file || !format) return 0;
    char text[512];
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (n < 0) return 0;
    size_t len = std::min((size_t)n, sizeof text - 1);
    return WriteRaw(text, len) ? 1 : 0;
}

void GM_Stream::IndentIn() {
    if (m_indentLevel < 255) ++m_indentLevel;
}

void GM_Stream::IndentOut() {
    if (m_indentLevel > 0) --m_indentLevel;
}

const char* GM_Stream::IndentString() {
    std::memset(m_indent, 0, sizeof m_indent);
    std::memset(m_indent, '\t', (size_t)m_indentLevel);
    return m_indent;
}
