// Node transform records.
#include "gi/GM_NodeTM.h"

#include "gi/GM_Record.h"

GM_NodeTM::GM_NodeTM() : GM_Object(GMID_NODE_TM, 2) {}

uint32_t GM_NodeTM::ComputeSize() {
    return m_payloadSize = 4 + NameLength() + 48;
}

int GM_NodeTM::Write(GM_Stream* s) {
    if (!BeginWrite(s)) return 0;
    bool ok;
    if (s->Mode() == GM_STREAM_BINARY) {
        ok = m_name.Write(s) && s->Write(tm, 4, 12);
    } else {
        const char* row[] = {"*TM_ROW0", "*TM_ROW1", "*TM_ROW2", "*TM_ROW3"};
        ok = gm::Open(s) && gm::Str(s, "*NODE_NAME", Name());
        for (int r = 0; ok && r < 4; ++r) {
            ok = s->Printf("%s%s %f\t%f\t%f\n", s->IndentString(), row[r], tm[r][0], tm[r][1],
                           tm[r][2]);
        }
        ok = ok && gm::Close(s);
    }
    return ok ? 1 : gm::WriteError("Error Writing GM_NodeTM Data");
}

int GM_NodeTM::Read(GM_Stream* s) {
    if (!s || s->Mode() != GM_STREAM_BINARY) return 0;
    uint32_t id = 0;
    if (!gm::U32(s, id) || id != GMID_NODE_TM || !ReadHeader(s))
        return gm::ReadError("Error Reading GM_NodeTM Data");
    GM_PayloadScope scope(s, m_version, m_payloadSize);
    if (!m_name.Read(s) || s->ReadExact(tm, 4, 12) != 1)
        return gm::ReadError("Error Reading GM_NodeTM Data");
    return 1;
}

giMat44 GM_NodeTM::GetMatrix() const {
    return giMat44(tm[0][0], tm[0][1], tm[0][2], 0, tm[1][0], tm[1][1], tm[1][2], 0, tm[2][0],
                   tm[2][1], tm[2][2], 0, tm[3][0], tm[3][1], tm[3][2], 1);
}

void GM_NodeTM::SetMatrix(const giMat44& m) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c)
            tm[r][c] = m.m[r][c];
}
