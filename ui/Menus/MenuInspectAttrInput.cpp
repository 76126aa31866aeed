// The attraction panel's control events and its ride view.
#include "ui/Menus/MenuInspectAttr.h"

#include "engine/DebugLog.h"
#include "engine/EntTree.h"
#include "engine/Input/SlInput.h"
#include "engine/Random.h"
#include "game/AttrInfo.h"
#include "game/Ents/AttrBase.h"
#include "ui/Menus/MenuGameRunning.h"
#include "ui/Menus/MenuRemoveAttr.h"
#include "world/CameraAttach.h"
#include "world/CameraCurrent.h"
#include "world/EntViewport.h"

int MenuInspectAttr::OnMessage(const SlEvent* e) {
    if (!active) return 2;
    if (!e || e->type != CTL3_EVENT) return 1;
    const int32_t id = int32_t(e->a);
    if (id == INSPECT_ATTR_PRICE || id == INSPECT_ATTR_SETTING) {
        Apply();
        return 1;
    }
    if (e->b != CTL3_CLICK) return 1;
    AttrBase* attr = Attraction();
    switch (id) {
        case INSPECT_ATTR_CLOSE: return Close();
        case INSPECT_ATTR_OPEN:
            if (attr) AttrBaseSetClosed(attr, !GetCtlChecked(INSPECT_ATTR_OPEN));
            return 1;
        case INSPECT_ATTR_REPAIR:
            if (attr) attr->repairMe = GetCtlChecked(INSPECT_ATTR_REPAIR) ? 1 : 0;
            return 1;
        case INSPECT_ATTR_LOOK:
            LeaveRideCamera();
            if (attr) MenuAimMainCamera(EntGetRoot(this), attr);
            return 1;
        case INSPECT_ATTR_REMOVE: return Remove();
        case INSPECT_ATTR_RIDE: EnterRideCamera(); return 1;
        default: return 1;
    }
}

int MenuInspectAttr::Close() {
    LeaveRideCamera();
    ClearActive();
    Hide();
    Ctl3SetFocus(nullptr);
    return 0;
}

int MenuInspectAttr::Remove() {
    AttrBase* attr = Attraction();
    LeaveRideCamera();
    if (!attr) return 1;
    auto* game = dynamic_cast<MenuGameRunning*>(hud.Get());
    if (game) game->ClearActive();
    ClearActive();
    Hide();
    Ctl3SetFocus(nullptr);
    if (MenuRemoveAttrOpen(EntGetParent(this), attr, game, this)) return 1;
    // Nothing else would make the HUD and the panel active again: the day could not go on. The
    // HUD comes back selecting the same attraction, which shows this panel again.
    DbgPrintf(DBG_GENERAL, "MenuInspectAttr: cannot open MenuRemoveAttr\n");
    if (game) {
        game->pending = attr;
        game->SetActive();
    } else {
        InspectAttrShow(this, attr);
    }
    return 1;
}

// ---- the ride view ----

bool MenuInspectAttr::CanRide() {
    AttrBase* attr = Attraction();
    if (!attr || !attr->info || attr->info->attrType != ATTR_TYPE_RIDE) return false;
    if (AttrBaseRideCamCount(attr) <= 0) return false;
    if (!rideCamera.Get() || !mainViewport.Get() || !savedCamera.Get()) FindCameras();
    // Without the management camera the view could never be given back.
    return rideCamera.Get() && dynamic_cast<EntViewport*>(mainViewport.Get()) && savedCamera.Get();
}

void MenuInspectAttr::EnterRideCamera() {
    if (!CanRide()) return;
    AttrBase* attr = Attraction();
    // The attraction keeps RIDE_SEAT_MAX seat matrices, whatever an animator reports.
    int count = AttrBaseRideCamCount(attr);
    if (count > RIDE_SEAT_MAX) count = RIDE_SEAT_MAX;
    ENTBASE* camera = rideCamera.Get();
    auto* viewport = dynamic_cast<EntViewport*>(mainViewport.Get());
    rideSeat = RandInt(count);
    CameraAttachSetMatrix(camera, attr, &attr->seats[rideSeat]);
    viewport->SetVoid("entCamera", reinterpret_cast<intptr_t>(camera));
    CameraSetCurrent(camera);
    rideCamOn = true;
}

void MenuInspectAttr::LeaveRideCamera() {
    if (!rideCamOn) return;
    rideCamOn = false;
    rideSeat = -1;
    ENTBASE* saved = savedCamera.Get();
    if (!saved) return;
    if (auto* viewport = dynamic_cast<EntViewport*>(mainViewport.Get()))
        viewport->SetVoid("entCamera", reinterpret_cast<intptr_t>(saved));
    CameraSetCurrent(saved);
}
