// The attraction's drawing: the ride model through its animator, the status icon, the selection
// highlight and the entry marker.
#include "game/Ents/AttrBase.h"

#include "engine/EntDrawWalk.h"
#include "engine/FrameClock.h"
#include "game/Ents/GameEntHighlight.h"
#include "game/RideAnimCore.h"

namespace {
constexpr uint32_t kMarkerGreen = 0xFF00FF00u;
constexpr float kMarkerHalf = 0.25f;
constexpr float kIconLift = 1.0f; // above the top of the box
} // namespace

int AttrBase::DrawPre() {
    if (!(GetClassFlags() & ENT_CLASS_DRAW)) return 1;
    if (animator) animator->Draw(&matrix);
    icon.position = VECTOR3{(worldBox[0] + worldBox[3]) * 0.5f, worldBox[4] + kIconLift,
                            (worldBox[2] + worldBox[5]) * 0.5f};
    icon.UpdateDraw(g_frameSeconds);
    if (highlighted) GameEntDrawHighlight(AttrHighlightPhase(), localBox, &matrix);
    return 1;
}

int AttrBase::Draw() {
    if (!EntDebugDrawAllowed()) return 1; // the editor's pass only
    Ent3dBase::Draw();
    if (!(GetClassFlags() & ENT_CLASS_DRAW) || inert) return 1;
    GameEntDrawMarker(&entry, kMarkerHalf, kMarkerGreen);
    return 1;
}
