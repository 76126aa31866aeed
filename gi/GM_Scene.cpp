// Scene records.
#include "gi/GM_Scene.h"

#include "gi/GM_Record.h"
#include "gi/giDebug.h"

GM_Scene::GM_Scene() : GM_Object(GMID_SCENE, 2) {}

uint32_t GM_Scene::ComputeSize() {
    return m_payloadSize = fileName.Length() + 28;
}

static void Unpack(uint32_t c, float out[4]) {
    for (int i = 0; i < 4; ++i)
        out[i] = (float)((c >> (8 * i)) & 0xFF) * 0.003921569f;
}

void GM_Scene::Background(float out[4]) const {
    Unpack(background, out);
}

void GM_Scene::Ambient(float out[4]) const {
    Unpack(ambient, out);
}

int GM_Scene::Write(GM_Stream* s) {
    if (!BeginWrite(s)) return 0;
    bool ok;
    if (s->Mode() == GM_STREAM_BINARY) {
        ok = fileName.Write(s) && gm::WI32(s, firstFrame) && gm::WI32(s, lastFrame) &&
             gm::WI32(s, frameSpeed) && gm::WI32(s, ticksPerFrame) && gm::W32(s, background) &&
             gm::W32(s, ambient);
    } else {
        ok = gm::Open(s) && gm::Str(s, "*SCENE_FILENAME", fileName.c_str()) &&
             gm::Int(s, "*SCENE_FIRSTFRAME", firstFrame) &&
             gm::Int(s, "*SCENE_LASTFRAME", lastFrame) &&
             gm::Int(s, "*SCENE_FRAMESPEED", frameSpeed) &&
             gm::Int(s, "*SCENE_TICKSPERFRAME", ticksPerFrame) &&
             gm::Hex(s, "*SCENE_BACKGROUND_STATIC", background) &&
             gm::Hex(s, "*SCENE_AMBIENT_STATIC", ambient) && gm::Close(s);
    }
    return ok ? 1 : gm::WriteError("Error Writing GM_Scene Data");
}

int GM_Scene::Read(GM_Stream* s) {
    if (!s || s->Mode() != GM_STREAM_BINARY) return 0;
    bool ok = ReadHeader(s) == 1;
    if (ok) {
        GM_PayloadScope scope(s, m_version, m_payloadSize);
        ok = fileName.Read(s) && gm::I32(s, firstFrame) && gm::I32(s, lastFrame) &&
             gm::I32(s, frameSpeed) && gm::I32(s, ticksPerFrame) && gm::U32(s, background) &&
             gm::U32(s, ambient);
    }
    if (ok) return 1;
    giOutputDebugString("Error Reading GM_Scene Data\n");
    return 0;
}
