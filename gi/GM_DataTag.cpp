// Data tag and generic group records.
#include "gi/GM_DataTag.h"

#include "gi/GM_Record.h"

GM_DataTag::GM_DataTag() : GM_Object(GMID_DATA_TAG, 2) {}

uint32_t GM_DataTag::ComputeSize() {
    return m_payloadSize = NameLength() + (uint32_t)data.size() + node.ComputeSize() + 20;
}

int GM_DataTag::Write(GM_Stream* s) {
    if (!BeginWrite(s)) return 0;
    bool ok;
    if (s->Mode() == GM_STREAM_BINARY)
        ok = m_name.Write(s) && node.Write(s) && gm::W32(s, (uint32_t)data.size()) &&
             gm::WArray(s, data);
    else
        ok = gm::Open(s) && gm::Str(s, "*NODE_NAME", Name()) && node.Write(s) && gm::Close(s);
    return ok ? 1 : gm::WriteError("Error Writing GM_DataTag Data");
}

int GM_DataTag::Read(GM_Stream* s) {
    if (!s || s->Mode() != GM_STREAM_BINARY) return 0;
    if (!ReadHeader(s)) return gm::ReadError("Error Reading GM_DataTag Data");
    GM_PayloadScope scope(s, m_version, m_payloadSize);
    // A nested transform that fails to read fails the tag whole: the stream is then somewhere
    // inside its payload, and the settings after it would be read from the wrong bytes.
    uint32_t n = 0;
    bool ok = m_name.Read(s) && node.Read(s) && gm::Count(s, n, 1) && gm::Array(s, data, n);
    return ok ? 1 : gm::ReadError("Error Reading GM_DataTag Data");
}

GM_GenericGroup::GM_GenericGroup() : GM_Object(GMID_GENERIC_GROUPING, 2) {}

uint32_t GM_GenericGroup::ComputeSize() {
    return m_payloadSize = 4 + NameLength() + 12 + node.ComputeSize();
}

int GM_GenericGroup::Write(GM_Stream* s) {
    if (!BeginWrite(s)) return 0;
    bool ok;
    if (s->Mode() == GM_STREAM_BINARY)
        ok = m_name.Write(s) && node.Write(s);
    else
        ok = gm::Open(s) && gm::Str(s, "*NODE_NAME", Name()) && node.Write(s) && gm::Close(s);
    return ok ? 1 : gm::WriteError("Error Writing GM_GenericGroup Data");
}

int GM_GenericGroup::Read(GM_Stream* s) {
    if (!s || s->Mode() != GM_STREAM_BINARY) return 0;
    if (!ReadHeader(s)) return gm::ReadError("Error Reading GM_GenericGroup Data");
    GM_PayloadScope scope(s, m_version, m_payloadSize);
    // A group whose transform fails to read is refused, as every owner of a transform is: in a
    // list it is skipped by its size, the records after it still read.
    bool ok = m_name.Read(s) && node.Read(s);
    return ok ? 1 : gm::ReadError("Error Reading GM_GenericGroup Data");
}
