// ENTBASE: default operations, the message table and the named setters.
#include "engine/EntBase.h"

#include "engine/PropDb.h"
#include "engine/VarTable.h"

#include <cstring>

namespace {

float FloatBits(intptr_t word) {
    uint32_t bits = (uint32_t)(uintptr_t)word;
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

template <typename T>
T* Ptr(intptr_t word) {
    return reinterpret_cast<T*>(word);
}

} // namespace

ENTBASE::ENTBASE() {
    serial = EntLiveAdd(this);
}
ENTBASE::~ENTBASE() {
    EntLiveRemove(this);
}

// ---- the message table ----

// The messages that answer through out-pointers skip a null one (the result still comes back):
// a script or caller that passes none must not crash the entity.
intptr_t ENTBASE::Dispatch(int message, intptr_t a, intptr_t b, intptr_t c) {
    switch (message) {
        case ENT_MSG_START: return Start();
        case ENT_MSG_SHUTDOWN: return Shutdown();
        case ENT_MSG_DESTROY: return Destroy();
        case ENT_MSG_DRAW_PRE: return DrawPre();
        case ENT_MSG_UPDATE: return Update(FloatBits(b));
        case ENT_MSG_HOOK13: return Hook13(b);
        case ENT_MSG_ON_MESSAGE: return OnMessage(Ptr<const SlEvent>(b));
        case ENT_MSG_HOOK15: return Hook15();
        case ENT_MSG_SET_POS: SetPos(Ptr<const VECTOR3>(b)); return ENT_RESULT_HANDLED;
        case ENT_MSG_COPY_POS: CopyPos(Ptr<VECTOR3>(b)); return ENT_RESULT_HANDLED;
        case ENT_MSG_SET_ORIENTATION: return SetOrientation(Ptr<const float>(b));
        case ENT_MSG_GET_MATRIX: return GetMatrix(Ptr<float>(b));
        case ENT_MSG_HOOK24: Hook24(b); return ENT_RESULT_HANDLED;
        case ENT_MSG_HOOK25: Hook25(b); return ENT_RESULT_HANDLED;
        case ENT_MSG_HOOK26: return Hook26(b);
        case ENT_MSG_HOOK27: return Hook27(b);
        case ENT_MSG_HOOK28: return Hook28(b);
        case ENT_MSG_HOOK29: return Hook29(b);
        case ENT_MSG_HOOK33: return Hook33(b);
        case ENT_MSG_SET_HEADING: SetHeading(FloatBits(b)); return ENT_RESULT_HANDLED;
        case ENT_MSG_GET_YAW: {
            float yaw = GetYaw();
            if (b) *Ptr<float>(b) = yaw;
            return ENT_RESULT_HANDLED;
        }
        case ENT_MSG_SET_YAW: SetYaw(FloatBits(b)); return ENT_RESULT_HANDLED;
        case ENT_MSG_HOOK39: Hook39(b); return ENT_RESULT_HANDLED;
        case ENT_MSG_HOOK40: return Hook40(b);
        case ENT_MSG_GET_ORIENTATION: return GetOrientation(Ptr<float>(b));
        case ENT_MSG_SET_TYPE: SetType((int)b); return ENT_RESULT_HANDLED;
        case ENT_MSG_HOOK56: return Hook56(b);
        case ENT_MSG_BOUNDS_QUERY: return BoundsQuery(Ptr<EntBoundsQuery>(b));
        case ENT_MSG_HOOK69: return Hook69(b);
        case ENT_MSG_SET_NAME: SetName(Ptr<const char>(b)); return ENT_RESULT_HANDLED;
        case ENT_MSG_COPY_NAME: return CopyName(Ptr<char>(b));
        case ENT_MSG_GET_VAR_TABLE: {
            VarTable* table = GetInstanceVarTable();
            if (b) *Ptr<VarTable*>(b) = table;
            if (c) *Ptr<ENTBASE*>(c) = this;
            return ENT_RESULT_HANDLED;
        }
        case ENT_MSG_DRAW: return Draw();
        case ENT_MSG_HOOK91: return Hook91(b);
        case ENT_MSG_SET_LOCAL_PLAYER: SetLocalPlayer(b); return ENT_RESULT_HANDLED;
        case ENT_MSG_SAVE_VARS: return SaveVars(Ptr<const char>(b));
        case ENT_MSG_LOAD_VARS: return LoadVars(Ptr<const char>(b), Ptr<int>(c));
        case ENT_MSG_RAY_QUERY: return RayQuery(Ptr<EntRayQuery>(b));
        case ENT_MSG_VARS_CHANGED: return VarsChanged();
        case ENT_MSG_HOOK118: return Hook118(a);
        case ENT_MSG_HOOK130: return Hook130(a);
        case ENT_MSG_HOOK136: return Hook136(b);
        case ENT_MSG_HOOK143: return Hook143();
        case ENT_MSG_PICK_TEST: return PickTest(Ptr<PickQuery>(b)) ? 1 : 0;
        case ENT_MSG_GET_WORLD_MATRIX: return GetWorldMatrix(Ptr<float>(b));
        case ENT_MSG_HOOK157: return Hook157(b);
        case ENT_MSG_HOOK158: return Hook158(b);
        case ENT_MSG_DRAW_WORLD_BOUNDS: return DrawWorldBounds((uint32_t)b);
        case ENT_MSG_DRAW_LOCAL_BOUNDS: return DrawLocalBounds((uint32_t)b);
        case ENT_MSG_COPY_BOUNDS: return CopyBounds(Ptr<float>(b));
        case ENT_MSG_SET_BOUNDS: return SetBounds(Ptr<const float>(b));
        case ENT_MSG_SET_ACTIVE: SetActive(); return ENT_RESULT_HANDLED;
        case ENT_MSG_CLEAR_ACTIVE: ClearActive(); return ENT_RESULT_HANDLED;
        case ENT_MSG_IS_ACTIVE: {
            intptr_t active = IsActive() & 0xFF;
            if (b) *Ptr<intptr_t>(b) = active;
            return ENT_RESULT_HANDLED;
        }
        case ENT_MSG_SET_TAG: return SetTag(b);
        case ENT_MSG_GET_TAG: return GetTag(Ptr<intptr_t>(b));
        case ENT_MSG_GAME_EVENT: return OnGameEvent((int)b, c);
        case ENT_MSG_SET_VIEW_TAG: SetViewTag(b); return ENT_RESULT_HANDLED;
        case ENT_MSG_GET_VIEW_TAG: {
            intptr_t tag = GetViewTag();
            if (b) *Ptr<intptr_t>(b) = tag;
            return ENT_RESULT_HANDLED;
        }
        case ENT_MSG_HOOK174: return Hook174(b);
        case ENT_MSG_SCALE_POS: ScalePos(Ptr<const VECTOR3>(b)); return ENT_RESULT_HANDLED;
        case ENT_MSG_GET_CAMERA: return GetCamera(Ptr<CameraDesc>(b));
        case ENT_MSG_HOOK177: return Hook177(b);
        default: return ENT_RESULT_NONE;
    }
}

// ---- defaults ----

int ENTBASE::CopyClassName(char*) {
    return 1;
}
uint32_t ENTBASE::GetClassFlags() {
    return 0;
}
const char* ENTBASE::GetTypeName() {
    return "ENTBASE";
}
int ENTBASE::Create(EntNode*) {
    return 1;
}
int ENTBASE::Start() {
    return 1;
}
int ENTBASE::Shutdown() {
    return 1;
}

int ENTBASE::Destroy() {
    // A walk guard around the deletion: the node is freed at once when no walk runs, or by the
    // sweep of the walk that runs.
    EntWalkGuard guard;
    if (node) {
        if (node->object == this) node->object = nullptr;
        EntDeferDelete(node);
    }
    delete this;
    return 0;
}

int ENTBASE::OnEntityRemoved(ENTBASE*) {
    return 1;
}
int ENTBASE::Update(float) {
    return 1;
}
int ENTBASE::Hook177(intptr_t) {
    return 1;
}
int ENTBASE::Hook13(intptr_t) {
    return 1;
}
int ENTBASE::DrawPre() {
    return 1;
}
int ENTBASE::Draw() {
    return 1;
}
int ENTBASE::DrawPost() {
    Draw();
    return 1;
}
int ENTBASE::Hook15() {
    return 1;
}
int ENTBASE::DrawOverlay() {
    return 1;
}
int ENTBASE::Hook143() {
    return 1;
}
int ENTBASE::DrawWorldBounds(uint32_t) {
    return 1;
}
int ENTBASE::DrawLocalBounds(uint32_t) {
    return 1;
}
int ENTBASE::VarsChanged() {
    return 1;
}
int ENTBASE::OnMessage(const SlEvent*) {
    return 1;
}
void ENTBASE::SetPos(const VECTOR3*) {}
void ENTBASE::CopyPos(VECTOR3*) {}
VECTOR3* ENTBASE::GetPos() {
    return nullptr;
}

// Names come from scripts and files of any length: at most 32 characters are kept.
void ENTBASE::SetName(const char* text) {
    size_t n = text ? strnlen(text, NAME_LEN_MAX) : 0;
    char old[NAME_LEN_MAX + 1];
    std::memcpy(old, name, sizeof old);
    if (text) std::memmove(name, text, n);
    name[n] = 0;
    EntNoteChange(node);
    EntNoteRename(old, name);
}

int ENTBASE::CopyName(char* out) {
    if (out) std::memcpy(out, name, sizeof name);
    return 1;
}
const char* ENTBASE::GetName() {
    return name;
}
void ENTBASE::SetActive() {
    flags |= ENT_FLAG_ACTIVE;
}
void ENTBASE::ClearActive() {
    flags &= ~ENT_FLAG_ACTIVE;
}
int ENTBASE::IsActive() {
    return (int)((flags >> 1) & 1);
}
void ENTBASE::SetHeading(float) {}
int ENTBASE::Hook33(intptr_t) {
    return 1;
}
void ENTBASE::SetYaw(float) {}
float ENTBASE::GetYaw() {
    return 0.0f;
}
int ENTBASE::GetMatrix(float*) {
    return 1;
}
int ENTBASE::SetOrientation(const float*) {
    return 1;
}
void ENTBASE::Hook25(intptr_t) {}
void ENTBASE::Hook24(intptr_t) {}
int ENTBASE::Spare1(intptr_t) {
    return 1;
}
int ENTBASE::GetOrientation(float*) {
    return 1;
}
int ENTBASE::CopyBounds(float*) {
    return 0;
}
float* ENTBASE::GetBounds() {
    return nullptr;
}
int ENTBASE::SetBounds(const float*) {
    return 0;
}
int ENTBASE::Hook157(intptr_t) {
    return 0;
}
int ENTBASE::Hook158(intptr_t) {
    return 0;
}
int ENTBASE::GetWorldMatrix(float* out16) {
    return GetOrientation(out16);
}
int ENTBASE::SetTag(intptr_t) {
    return 1;
}
int ENTBASE::GetTag(intptr_t*) {
    return 1;
}
void ENTBASE::SetFlag(uint32_t mask) {
    flags |= mask;
}
void ENTBASE::ClearFlag(uint32_t mask) {
    flags &= ~mask;
}
int ENTBASE::TestFlag(uint32_t mask) {
    return (flags & mask) ? 1 : 0;
}
int ENTBASE::Hook26(intptr_t) {
    return 1;
}
int ENTBASE::Hook27(intptr_t) {
    return 1;
}
void ENTBASE::SetType(int) {}
int ENTBASE::Hook56(intptr_t) {
    return 1;
}
int ENTBASE::Spare2(intptr_t) {
    return 1;
}
int ENTBASE::Spare3(intptr_t) {
    return 1;
}
void ENTBASE::Hook39(intptr_t) {}
int ENTBASE::Hook40(intptr_t) {
    return 1;
}
int ENTBASE::Hook136(intptr_t) {
    return 1;
}
int ENTBASE::RayQuery(EntRayQuery*) {
    return 1;
}
int ENTBASE::BoundsQuery(EntBoundsQuery*) {
    return 1;
}
int ENTBASE::Hook69(intptr_t) {
    return 1;
}
bool ENTBASE::PickTest(PickQuery*) {
    return false;
}

void ENTBASE::PickTree(PickQuery* query) {
    EntWalkGuard guard;
    EntNode* self = node;
    PickTest(query);
    if (!self || self->deleteCount != 0) return;
    for (EntNode *c = self->firstChild, *next = nullptr; c; c = next) {
        next = c->next;
        if (c->deleteCount == 0 && c->object) c->object->PickTree(query);
    }
}

int ENTBASE::Hook91(intptr_t) {
    return 1;
}
int ENTBASE::Hook174(intptr_t) {
    return 1;
}
int ENTBASE::Hook28(intptr_t) {
    return 1;
}
int ENTBASE::Hook29(intptr_t) {
    return 1;
}
int ENTBASE::Hook118(intptr_t) {
    return 1;
}
int ENTBASE::Spare4(intptr_t) {
    return 1;
}
VarTable* ENTBASE::GetInstanceVarTable() {
    return nullptr;
}
int ENTBASE::LoadVarsSimple(const char* path) {
    int scratch = 0;
    LoadVars(path, &scratch);
    return 0;
}
int ENTBASE::LoadVars(const char*, int*) {
    return 1;
}
int ENTBASE::SaveVars(const char*) {
    return 1;
}

// ---- named setters ----

bool ENTBASE::SetString(const char* field, const char* value) {
    EntNoteNamesEdited(); // the field may be the name
    if (VarTable* t = GetInstanceVarTable()) return VarTableSetString(t, this, field, value) != 0;
    return PropDbSetString(classDb, this, field, value);
}
bool ENTBASE::SetFloat(const char* field, float value) {
    if (VarTable* t = GetInstanceVarTable()) return VarTableSetFloat(t, this, field, value) != 0;
    return PropDbSetFloat(classDb, this, field, value);
}
bool ENTBASE::SetColor3(const char* field, float r, float g, float b) {
    if (VarTable* t = GetInstanceVarTable()) return VarTableSetColor(t, this, field, r, g, b) != 0;
    return PropDbSetColor3(classDb, this, field, r, g, b);
}
bool ENTBASE::SetVector3(const char* field, float x, float y, float z) {
    if (VarTable* t = GetInstanceVarTable()) return VarTableSetVector(t, this, field, x, y, z) != 0;
    return PropDbSetVector3(classDb, this, field, x, y, z);
}
bool ENTBASE::SetInt(const char* field, int value) {
    if (VarTable* t = GetInstanceVarTable()) return VarTableSetInt(t, this, field, value) != 0;
    return PropDbSetInt(classDb, this, field, value);
}
bool ENTBASE::SetVoid(const char* field, intptr_t value) {
    if (VarTable* t = GetInstanceVarTable()) return VarTableSetEntity(t, this, field, value) != 0;
    return PropDbSetVoid(classDb, this, field, value);
}
bool ENTBASE::SetBool(const char* field, uint8_t value) {
    if (VarTable* t = GetInstanceVarTable()) return VarTableSetBool(t, this, field, value) != 0;
    return PropDbSetBool(classDb, this, field, value);
}

int ENTBASE::QueryVar1(const char*, void*) {
    return -1;
}
int ENTBASE::QueryVar2(const char*, void*) {
    return -1;
}
int ENTBASE::QueryVar3(const char*, void*) {
    return -1;
}
int ENTBASE::QueryVar4(const char*, void*) {
    return -1;
}
int ENTBASE::QueryVar5(const char*, void*) {
    return -1;
}
int ENTBASE::QueryVar6(const char*, void*) {
    return -1;
}
int ENTBASE::OnGameEvent(int, intptr_t) {
    return 1;
}

// Depth first from this entity: an entity answering 0 keeps the event from its descendants;
// the answer is the last child's (0 without children).
int ENTBASE::GameEventPre(int event, intptr_t value) {
    EntWalkGuard guard;
    EntNode* self = node;
    if (OnGameEvent(event, value) == 0) return 0;
    int result = 0;
    if (!self || self->deleteCount != 0) return result;
    for (EntNode *c = self->firstChild, *next = nullptr; c; c = next) {
        next = c->next;
        if (c->deleteCount == 0 && c->object) result = c->object->GameEventPre(event, value);
    }
    return result;
}

int ENTBASE::GiveEntity(ENTBASE*) {
    return 1;
}
void ENTBASE::Spare5() {}
void ENTBASE::RestoreClockSpeed() {}
void ENTBASE::SetViewTag(intptr_t) {}
intptr_t ENTBASE::GetViewTag() {
    return 0;
}
int ENTBASE::Hook130(intptr_t) {
    return 1;
}
void ENTBASE::Spare6(intptr_t) {}
int ENTBASE::AttachToPlatform(ENTBASE*) {
    return -1;
}
int ENTBASE::Spare7() {
    return 0;
}
int ENTBASE::Spare8() {
    return 0;
}
int ENTBASE::Spare9(intptr_t) {
    return -1;
}
int ENTBASE::Spare10(intptr_t) {
    return -1;
}
int ENTBASE::GetCamera(CameraDesc*) {
    return 0;
}
void ENTBASE::ScalePos(const VECTOR3*) {}
void ENTBASE::SetLocalPlayer(intptr_t) {}
