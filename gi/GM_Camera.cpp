// Camera records.
#include "gi/GM_Camera.h"

#include "gi/GM_Record.h"

GM_Camera::GM_Camera() : GM_Object(GMID_CAMERA, 2) {}

uint32_t GM_Camera::ComputeSize() {
    uint32_t n = 4 + NameLength() + 12 + node.ComputeSize() + 4 + 28;
    if (type != 0) n += 12 + target.ComputeSize();
    return m_payloadSize = n;
}

int GM_Camera::Write(GM_Stream* s) {
    if (!BeginWrite(s)) return 0;
    bool ok;
    if (s->Mode() == GM_STREAM_BINARY) {
        ok = m_name.Write(s) && node.Write(s) && gm::W32(s, type) &&
             (type == 0 || target.Write(s)) && gm::W32(s, unnamed) && gm::WF32(s, hither) &&
             gm::WF32(s, yon) && gm::WF32(s, nearRange) && gm::WF32(s, farRange) &&
             gm::WF32(s, fov) && gm::WF32(s, targetDistance);
    } else {
        ok = gm::Open(s) && gm::Str(s, "*NODE_NAME", Name()) && node.Write(s) &&
             gm::Str(s, "*CAMERA_TYPE", type == 0 ? "Free" : "Target") &&
             (type == 0 || target.Write(s)) && gm::Float(s, "*CAMERA_HITHER", hither) &&
             gm::Float(s, "*CAMERA_YON", yon) && gm::Float(s, "*CAMERA_NEAR", nearRange) &&
             gm::Float(s, "*CAMERA_FAR", farRange) && gm::Float(s, "*CAMERA_FOV", fov) &&
             gm::Float(s, "*CAMERA_TDIST", targetDistance) && gm::Close(s);
    }
    return ok ? 1 : gm::WriteError("Error Writing GM_Camera Data");
}

int GM_Camera::Read(GM_Stream* s) {
    if (!s || s->Mode() != GM_STREAM_BINARY) return 0;
    if (!ReadHeader(s)) return gm::ReadError("Error Reading GM_Camera Data");
    // A nested transform that fails to read fails the camera whole: the stream is then somewhere
    // inside its payload, and the settings after it would be read from the wrong bytes.
    GM_PayloadScope scope(s, m_version, m_payloadSize);
    bool ok = m_name.Read(s) && node.Read(s) && gm::U32(s, type) && (type == 0 || target.Read(s)) &&
              gm::U32(s, unnamed) && gm::F32(s, hither) && gm::F32(s, yon) &&
              gm::F32(s, nearRange) && gm::F32(s, farRange) && gm::F32(s, fov) &&
              gm::F32(s, targetDistance);
    return ok ? 1 : gm::ReadError("Error Reading GM_Camera Data");
}
