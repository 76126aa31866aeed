// Geometry object records.
#include "gi/GM_GeoObject.h"

#include "gi/GM_Record.h"

GM_GeoObject::GM_GeoObject() : GM_Object(GMID_GEOMOBJECT, 4) {}

uint32_t GM_GeoObject::ComputeSize() {
    uint32_t n = 4 + NameLength() + 12 + node.ComputeSize() + 12 + mesh.ComputeSize();
    if (m_version > 2) n += 4 + parent.Length();
    if (m_version > 3) n += 1;
    return m_payloadSize = n;
}

int GM_GeoObject::Write(GM_Stream* s) {
    if (!BeginWrite(s)) return 0;
    bool ok;
    if (s->Mode() == GM_STREAM_BINARY) {
        ok = m_name.Write(s) && (m_version <= 2 || parent.Write(s)) &&
             (m_version <= 3 || s->Write(&shadeVerts, 1, 1)) && node.Write(s) && mesh.Write(s);
    } else {
        ok = gm::Open(s) && gm::Str(s, "*NODE_NAME", Name()) &&
             gm::Str(s, "*NODE_PARENT", parent.c_str()) &&
             gm::Int(s, "*NODE_SHADEVERTS", shadeVerts) && node.Write(s) && mesh.Write(s) &&
             gm::Close(s);
    }
    return ok ? 1 : gm::WriteError("Error Writing GM_GeoObject Data");
}

int GM_GeoObject::Read(GM_Stream* s) {
    if (!s || s->Mode() != GM_STREAM_BINARY) return 0;
    if (!ReadHeader(s)) return gm::ReadError("Error Reading GM_GeoObject Data");
    GM_PayloadScope scope(s, m_version, m_payloadSize);
    shadeVerts = 0;
    // A transform or mesh that fails to read fails the object: a half-read mesh would be welded
    // and drawn with indices past its arrays.
    bool ok = m_name.Read(s) && (m_version <= 2 || parent.Read(s)) &&
              (m_version <= 3 || s->ReadExact(&shadeVerts, 1, 1)) && node.Read(s) && mesh.Read(s);
    return ok ? 1 : gm::ReadError("Error Reading GM_GeoObject Data");
}
