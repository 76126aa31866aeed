// The stream every GMF file is read and written through: binary (read and write) or text
// (write only), with the file header, checked reads, writes and seeks, and the text indent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

enum : int32_t {
    GM_STREAM_BINARY = 0,
    GM_STREAM_TEXT = 1,
};

// Model types of the file header.
enum : uint32_t {
    GM_MODEL_BASIC = 1,
    GM_MODEL_ATTACHMENT = 2,
    GM_MODEL_ARENA = 3,
    GM_MODEL_HAZARD = 4,
};

class GM_Stream {
  public:
    GM_Stream() = default;
    virtual ~GM_Stream();
    GM_Stream(const GM_Stream&) = delete;
    GM_Stream& operator=(const GM_Stream&) = delete;

    // Opens through giFileIO (recorded as a managed file when tracking is on). Mode 0 binary,
    // 1 text; 1 when opened, 0 for a null or empty name, another mode or a failed open.
    int OpenRead(const char* name, int mode);
    int OpenWrite(const char* name, int mode);
    // The result of fclose, or 0 when nothing was open.
    int Close();

    // 1 or 0; a refused header logs "Error Reading Binary Header". A text file ("GMA") and a
    // version above 3 are refused, as is a comment longer than what is left of the file.
    int ReadBinaryHeader();
    // Stores the model type and the comment (null for none) and writes the header of the
    // stream's mode. 0 without a file.
    int WriteHeader(const char* comment, uint32_t modelType);
    int WriteBinaryHeader(const char* comment);
    int WriteTextHeader(const char* comment);

    // Reads count items of size bytes. The position grows by the amount asked. 0 without a file
    // or on a read error ("Error Reading Data"); a short read at the end of the file is no
    // error: the top-level loops tell the end by AtEnd after reading a type id.
    int Read(void* buffer, size_t size, size_t count);
    // As Read, but every item must be read whole: a short read, or one past the limit, gives 0
    // (without a box). Record payloads are read with it.
    int ReadExact(void* buffer, size_t size, size_t count);
    // 1 when every item was written, else "Error Writing Data" and 0.
    int Write(const void* buffer, size_t size, size_t count);
    // fseek origins; 1, or "Error Seeking to Position" and 0. A seek past the end succeeds and
    // the next read meets the end of the file.
    int Seek(long offset, int origin);
    // The end-of-file indicator; 0 without a file.
    int AtEnd() const;
    // Bytes between the file position and the end of the file or the limit, whichever is
    // nearer (0 past it or without a file). Counts read from a file are checked against it
    // before anything is allocated.
    uint64_t Remaining() const;
    // The file position; -1 without a file.
    int64_t Tell() const;
    // The end of the record payload being read (GM_PayloadScope sets it): ReadExact refuses to
    // read past it and Remaining stops there, so that a record never reads into the next one.
    uint64_t Limit() const { return m_limit; }
    void SetLimit(uint64_t end) { m_limit = end; }

    // Formats into 512 bytes (longer text is cut to 511) and writes it. 1, or 0 without a file,
    // with a null format or when the write fails.
    int Printf(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // Indent level 0 to 255.
    void IndentIn();
    void IndentOut();
    // One TAB per level.
    const char* IndentString();

    int32_t Mode() const { return m_mode; }
    bool IsOpen() const { return m_file != nullptr; }
    const std::string& FileName() const { return m_fileName; }
    // Null when there is none.
    const char* Comment() const { return m_commentLength ? m_comment.c_str() : nullptr; }
    uint32_t CommentLength() const { return m_commentLength; }
    uint32_t HeaderSize() const { return m_headerSize; }
    uint32_t ModelType() const { return m_modelType; }
    uint32_t Position() const { return m_position; }
    int32_t IndentLevel() const { return m_indentLevel; }

  private:
    int Open(const char* name, int mode, const char* binaryMode, const char* textMode);
    // Every byte moves through these, which keep the file offset: asking the C library for it
    // costs a system call each time.
    size_t ReadBytes(void* buffer, size_t bytes);
    size_t WriteBytes(const void* buffer, size_t bytes);
    // Whole or nothing, without a box and without counting towards the position (the header
    // counts its length once it is whole).
    bool ReadRaw(void* buffer, size_t bytes);
    bool WriteRaw(const void* buffer, size_t bytes);
    void SetComment(const char* comment);

    std::FILE* m_file = nullptr;
    int32_t m_mode = GM_STREAM_TEXT;
    std::string m_fileName;
    std::string m_comment;
    uint32_t m_commentLength = 0;
    uint32_t m_headerSize = 0;
    uint32_t m_modelType = GM_MODEL_BASIC;
    uint32_t m_position = 0;
    uint64_t m_length = 0; // of a file opened for reading
    uint64_t m_offset = 0; // the file position
    uint64_t m_limit = UINT64_MAX;
    char m_indent[256] = {};
    int32_t m_indentLevel = 0;
};

// Limits the stream's reads to one record payload for the life of the object: from the current
// position, `size` bytes when the record's version carries a size word (above 1), never past an
// enclosing record's limit.
class GM_PayloadScope {
  public:
    GM_PayloadScope(GM_Stream* s, uint32_t version, uint32_t size) : m_s(s), m_old(s->Limit()) {
        if (version > 1 && s->Tell() >= 0) {
            uint64_t end = (uint64_t)s->Tell() + size;
            if (end < m_old) s->SetLimit(end);
        }
    }
    ~GM_PayloadScope() { m_s->SetLimit(m_old); }
    GM_PayloadScope(const GM_PayloadScope&) = delete;
    GM_PayloadScope& operator=(const GM_PayloadScope&) = delete;

  private:
    GM_Stream* m_s;
    uint64_t m_old;
};
