// The patron's drawing: the clip its character plays, the character at its own place or on its
// seat, the selection highlight, the info icon, the needs display and the path it walks.
#include "I3d/Camera.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Primitives.h"
#include "engine/EntDrawWalk.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/GameEntCull.h"
#include "game/Ents/GameEntHighlight.h"
#include "game/Ents/GameEntQuadBatch.h"
#include "game/Ents/IconFlyup.h"
#include "game/Ents/Rube1.h"
#include "game/Ents/RubeCharacters.h"
#include "game/MtGame.h"
#include "game/WaypointPath.h"
#include "gi/Render/CharModelInst.h"

namespace {
// One colour per need, in need order: eat, drink, ride, game, rest, trash, potty, ticket.
constexpr uint32_t kNeedColours[RUBE_NEED_COUNT] = {0xFFFF8000u, 0xFF2080FFu, 0xFFFF00FFu,
                                                    0xFFFFFF00u, 0xFF00FF00u, 0xFF806040u,
                                                    0xFF00FFFFu, 0xFFFFFFFFu};
constexpr uint32_t kNeedsBacking = 0x7F000000u;
constexpr float kBarWidth = 0.1f;
constexpr float kBarGap = 0.02f;
constexpr float kBarHeight = 0.5f;
constexpr float kNeedsLift = 0.55f; // above the head, over the icon
constexpr float kPathWidth = 0.2f;
constexpr float kPathLift = 0.05f;
constexpr float kGoalHalf = 0.3f;

VECTOR3 Along(const VECTOR3& from, const VECTOR3& right, float r, const VECTOR3& up, float u) {
    return VECTOR3{from.x + right.x * r + up.x * u, from.y + right.y * r + up.y * u,
                   from.z + right.z * r + up.z * u};
}

// The character under the world matrix: its own in the crowd, the seat's moved by the model's
// attachment offset while riding.
void DrawCharacter(Rube1* p) {
    CharModelInst* character = p->character;
    if (!character || !character->model) return;
    Mat4 world = p->matrix;
    if (p->animMode == RUBE_MODE_SEATED) {
        Mat4 offset;
        Mat4Identity(&offset);
        offset.m[12] = character->model->attachOffset[0];
        offset.m[13] = character->model->attachOffset[1];
        offset.m[14] = character->model->attachOffset[2];
        Mat4Mul(&offset, &p->matrix, &world);
    }
    I3dSetWorld(&world);
    CharModelInstDraw(character);
}

// Eight bars facing the camera over the patron's head, each as high as its need.
void DrawNeeds(Rube1* p, GameEntQuadBatch* batch) {
    VECTOR3 corner[4];
    I3dGetBillboardCorners(corner);
    // Bottom-left = -R - U, top-left = U - R, top-right = R + U.
    const VECTOR3 right = {(corner[2].x - corner[1].x) * 0.5f, (corner[2].y - corner[1].y) * 0.5f,
                           (corner[2].z - corner[1].z) * 0.5f};
    const VECTOR3 up = {(corner[2].x + corner[1].x) * 0.5f, (corner[2].y + corner[1].y) * 0.5f,
                        (corner[2].z + corner[1].z) * 0.5f};
    const VECTOR3 base = {p->pos.x + p->placeX, p->pos.y + p->height + kNeedsLift,
                          p->pos.z + p->placeZ};
    const float half = (RUBE_NEED_COUNT * (kBarWidth + kBarGap) + kBarGap) * 0.5f;
    batch->Add(Along(base, right, -half, up, 0.0f), Along(base, right, -half, up, kBarHeight),
               Along(base, right, half, up, kBarHeight), Along(base, right, half, up, 0.0f),
               kNeedsBacking);
    for (int i = 0; i < RUBE_NEED_COUNT; ++i) {
        const float level = p->needs.level[i];
        const float h = kBarHeight * (level > 0.0f ? (level < 1.0f ? level : 1.0f) : 0.0f);
        if (!(h > 0.0f)) continue;
        const float x0 = -half + kBarGap + (float)i * (kBarWidth + kBarGap);
        const float x1 = x0 + kBarWidth;
        batch->Add(Along(base, right, x0, up, 0.0f), Along(base, right, x0, up, h),
                   Along(base, right, x1, up, h), Along(base, right, x1, up, 0.0f),
                   kNeedColours[i]);
    }
}

// The rest of the route in the patron's marker colour, from where it stands to a square on the
// goal.
void DrawPath(Rube1* p, GameEntQuadBatch* batch) {
    const WaypointPath* route = p->route;
    if (!route || route->count <= 0 || route->current >= route->count) return;
    const float y = p->pos.y + kPathLift;
    VECTOR3 from = {p->pos.x, y, p->pos.z};
    for (int i = route->current < 0 ? 0 : route->current; i < route->count; ++i) {
        const VECTOR3 to = {route->points[i].x, y, route->points[i].z};
        batch->AddSegment(from, to, kPathWidth, p->colour);
        from = to;
    }
    batch->Add(VECTOR3{from.x - kGoalHalf, y, from.z - kGoalHalf},
               VECTOR3{from.x - kGoalHalf, y, from.z + kGoalHalf},
               VECTOR3{from.x + kGoalHalf, y, from.z + kGoalHalf},
               VECTOR3{from.x + kGoalHalf, y, from.z - kGoalHalf}, p->colour);
}
} // namespace

void Rube1::PlayAnim(int which) {
    anim = which;
    if (character) CharModelInstPlayAnim(character, RubeAnimName(kind, which));
}

int Rube1::Draw() {
    // The editor's pass reaches Draw again through DrawPost: only its name tag and boxes there,
    // so the character is drawn and its icon counted down once a frame.
    if (EntTreeCurrentDrawWalk() == ENT_WALK_DRAWPOST) return Ent3dBase::Draw();
    if (!(GetClassFlags() & ENT_CLASS_DRAW)) return 1;
    // The ticket fly-up goes with the purchase, however far off the patron stands: held until the
    // patron came into the draw distance, it would fly up long after and far from the booth.
    if (ticketBought) {
        ticketBought = false;
        IconFlyupTicket(this);
    }
    VECTOR3 eye;
    I3dGetEyePos(&eye);
    const float dx = pos.x - eye.x, dy = pos.y - eye.y, dz = pos.z - eye.z;
    if (dx * dx + dy * dy + dz * dz > g_patronDrawDistance * g_patronDrawDistance) return 1;
    // Inside an attraction the patron is not seen.
    if (animMode == RUBE_MODE_HIDDEN) return 1;
    // Out of the view nothing of the character is skinned or drawn; its clip runs on the
    // application clock, so it is in step when it comes back.
    if (GameEntCharacterInView(&matrix, height)) {
        DrawCharacter(this);
        if (highlighted) GameEntDrawHighlight(AttrHighlightPhase(), localBox, &matrix);
    }
    icon.position = VECTOR3{pos.x, pos.y + height + 0.3f, pos.z};
    icon.UpdateDraw(lastStep);
    if (showNeeds || g_rubeDrawPaths) {
        GameEntQuadBatch* batch = RubeDebugBatch();
        if (showNeeds) DrawNeeds(this, batch);
        if (g_rubeDrawPaths) DrawPath(this, batch);
        batch->Flush();
    }
    return 1;
}
