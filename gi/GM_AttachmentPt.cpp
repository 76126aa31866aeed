// Attachment point records.
#include "gi/GM_AttachmentPt.h"

#include "gi/GM_Record.h"

GM_AttachmentPt::GM_AttachmentPt() : GM_Object(GMID_ATTACHMENTPT, 2) {}

uint32_t GM_AttachmentPt::ComputeSize() {
    return m_payloadSize = NameLength() + userData.Length() + node.ComputeSize() + 20;
}

int GM_AttachmentPt::Write(GM_Stream* s) {
    if (!BeginWrite(s)) return 0;
    bool ok;
    if (s->Mode() == GM_STREAM_BINARY)
        ok = m_name.Write(s) && node.Write(s) && userData.Write(s);
    else
        ok = gm::Open(s) && gm::Str(s, "*NODE_NAME", Name()) && node.Write(s) &&
             gm::Str(s, "USER DATA", userData.c_str()) && gm::Close(s);
    return ok ? 1 : gm::WriteError("Error Writing GM_AttachmentPt Data");
}

int GM_AttachmentPt::Read(GM_Stream* s) {
    if (!s || s->Mode() != GM_STREAM_BINARY) return 0;
    if (!ReadHeader(s)) return gm::ReadError("Error Reading GM_AttachmentPt Data");
    GM_PayloadScope scope(s, m_version, m_payloadSize);
    bool ok = m_name.Read(s) && node.Read(s) && userData.Read(s);
    return ok ? 1 : gm::ReadError("Error Reading GM_AttachmentPt Data");
}
