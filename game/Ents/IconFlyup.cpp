// The icon fly-up: its class, flight and text.
#include "game/Ents/IconFlyup.h"

#include "I3d/Camera.h"
#include "I3d/Device.h"
#include "I3d/Font.h"
#include "I3d/Textures.h"
#include "engine/DebugLog.h"
#include "engine/EntTree.h"
#include "engine/PropDb.h"
#include "engine/SharedObj.h"
#include "engine/WorldClass.h"
#include "game/Ents/GameEntPaths.h"

#include <cmath>
#include <cstdio>

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "IconFlyup");
        PropDbAddSeparator(&s_db, "General:");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(IconFlyup, name), 32);
        PropDbAddVector3Zero(&s_db, "pos", PROP_OFFSET(IconFlyup, pos));
        PropDbAddStringBlank(&s_db, "textureName", PROP_OFFSET(IconFlyup, textureName), 260);
        PropDbAddStringBlank(&s_db, "fontName", PROP_OFFSET(IconFlyup, fontName), 260);
        PropDbAddFloat(&s_db, "left", PROP_OFFSET(IconFlyup, left), 0.0f);
        PropDbAddFloat(&s_db, "right", PROP_OFFSET(IconFlyup, right), 0.0f);
        PropDbAddFloat(&s_db, "top", PROP_OFFSET(IconFlyup, top), 0.0f);
        PropDbAddFloat(&s_db, "bottom", PROP_OFFSET(IconFlyup, bottom), 0.0f);
        PropDbAddFloat(&s_db, "speed", PROP_OFFSET(IconFlyup, speed), 1.0f);
        PropDbAddFloat(&s_db, "width", PROP_OFFSET(IconFlyup, width), 1.0f);
        PropDbAddBool(&s_db, "graphic", PROP_OFFSET(IconFlyup, graphic), 0);
    }
    return &s_db;
}

void ResetClass() {
    WorldClassFlags<IconFlyup>::Reset();
    // It lives below a patron and holds nothing: no removal concerns it.
    EntClassSetRemoval("IconFlyup", ENT_REMOVAL_KIND_DEFAULT, 0);
}

const WorldClassDef kClass = {"IconFlyup", Db, WorldMake<IconFlyup>, ResetClass};

void ReleaseResources(IconFlyup* flyup) {
    if (flyup->texture >= 0) I3dTexRelease(flyup->texture);
    flyup->texture = -1;
    if (flyup->font) SharedObjRelease(flyup->font);
    flyup->font = nullptr;
}
} // namespace

intptr_t EcIconFlyupProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}

IconFlyup::~IconFlyup() {
    ReleaseResources(this);
}

int IconFlyup::CopyClassName(char* buffer) {
    return WorldCopyClassName("IconFlyup", buffer);
}

uint32_t IconFlyup::GetClassFlags() {
    return WorldClassFlags<IconFlyup>::word;
}

void IconFlyup::SetClassFlags(uint32_t word) {
    WorldClassFlags<IconFlyup>::word = word;
}

int IconFlyup::Create(EntNode*) {
    if (classDb) PropDbInitObject(classDb, this);
    speed = 1.0f;
    width = 1.0f;
    texture = -1;
    font = nullptr;
    return 1;
}

int IconFlyup::Start() {
    Ent3dBase::Start();
    ReleaseResources(this);
    if (textureName[0]) texture = I3dTexLoad(GameEntDataPath(textureName).c_str(), nullptr, 1);
    if (fontName[0]) font = FontAcquire(GameEntDataPath(fontName).c_str());
    VarsChanged();
    return 1;
}

int IconFlyup::Destroy() {
    DbgPrintf(DBG_ENTITY, "Destroying: %s (%s)\n", name, GetTypeName());
    ReleaseResources(this);
    ENTBASE::Destroy();
    return 1;
}

int IconFlyup::VarsChanged() {
    direction = VECTOR3{end.x - start.x, end.y - start.y, 0.0f};
    const float length = std::sqrt(direction.x * direction.x + direction.y * direction.y);
    // Only a positive speed divides: speed 0 would give an endless (or, from a zero length, a
    // NaN) time that never runs out, and the fly-up would live for ever.
    timeLeft = speed > 0.0f ? length / speed : 1.0f;
    if (!std::isfinite(timeLeft)) timeLeft = 1.0f;
    if (length > 0.0f) {
        direction.x /= length;
        direction.y /= length;
    }
    pos = start;
    return 1;
}

int IconFlyup::Update(float seconds) {
    timeLeft -= seconds;
    if (!(timeLeft >= 0.0f)) {
        EntDestroyTree(this);
        return 0;
    }
    pos.x += direction.x * speed * seconds;
    pos.y += direction.y * speed * seconds;
    return 1;
}

int IconFlyup::DrawPre() {
    if (!(GetClassFlags() & ENT_CLASS_DRAW) || graphic || !font) return 1;
    if (pos.x < -1.0f || pos.x > 1.0f || pos.y < -1.0f || pos.y > 1.0f || pos.z < 0.0f) return 1;
    int w = 0, h = 0;
    I3dGetScreenSize(&w, &h);
    const float sw = (float)w, sh = (float)h;
    const uint32_t colour = 0xFF00FF00u;
    font->colour = colour;
    FontPrint(font, (sw * pos.x + sw) * 0.5f, (sh - sh * pos.y) * 0.5f, name);
    return 1;
}

VECTOR3 IconFlyupProject(const VECTOR3* p) {
    const Mat4& m = I3dViewProj();
    const float x = p->x * m.m[0] + p->y * m.m[4] + p->z * m.m[8] + m.m[12];
    const float y = p->x * m.m[1] + p->y * m.m[5] + p->z * m.m[9] + m.m[13];
    const float z = p->x * m.m[2] + p->y * m.m[6] + p->z * m.m[10] + m.m[14];
    const float w = p->x * m.m[3] + p->y * m.m[7] + p->z * m.m[11] + m.m[15];
    if (!(w > 0.0f)) return VECTOR3{0.0f, 0.0f, -1.0f};
    return VECTOR3{x / w, y / w, z / w};
}

IconFlyup* IconFlyupTicket(ENTBASE* patron) {
    if (!patron) return nullptr;
    auto* flyup = static_cast<IconFlyup*>(EntCreateChild("IconFlyup", patron));
    if (!flyup) return nullptr;
    VECTOR3 at = {0.0f, 0.0f, 0.0f};
    if (const VECTOR3* p = patron->GetPos()) at = *p;
    flyup->start = IconFlyupProject(&at);
    flyup->end = VECTOR3{-1.0f, 0.9f, 0.0f};
    flyup->SetName("$");
    flyup->speed = 1.4f;
    flyup->graphic = 0;
    std::snprintf(flyup->fontName, sizeof flyup->fontName, "%s", "Fonts\\Georgia_14");
    flyup->Start();
    return flyup;
}
