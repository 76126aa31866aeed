// The root class of every entity: its fields, its virtual operations in their fixed order with
// their defaults, and Dispatch, which maps the entity messages (ENT_MSG_, EntCodes.h) onto those
// operations.
//
// Message words are pointer-sized. Where a message carries a float (Update, SetHeading, SetYaw)
// its bits travel in the low 32 bits of b; where an operation answers through b (GetYaw a float,
// IsActive and GetViewTag a word, ENT_MSG_GET_VAR_TABLE the table at b and the entity at c) b and
// c are pointers to the caller's storage. Pointer arguments (SetPos a VECTOR3*, SetName a name,
// LoadVars the path and an int*) are b and c as pointers.
#pragma once

#include "I3d/Math/MathTypes.h"
#include "engine/EntTree.h"

#include <cstdint>

class PropDb;
struct VarTable;
struct SlEvent;        // an input event (the input layer)
struct EntRayQuery;    // a line query sent down a subtree (ENT_MSG_RAY_QUERY)
struct EntBoundsQuery; // a box or line query against world bounds (ENT_MSG_BOUNDS_QUERY)
struct PickQuery;      // a pick ray with the best entity so far (ENT_MSG_PICK_TEST)
struct CameraDesc;     // what a camera fills for its viewport (ENT_MSG_GET_CAMERA)

class ENTBASE {
  public:
    enum { NAME_LEN_MAX = 32 };

    ENTBASE();
    virtual ~ENTBASE();
    ENTBASE(const ENTBASE&) = delete;
    ENTBASE& operator=(const ENTBASE&) = delete;

    // Operations in their fixed order; comments give the default, with "msg" where the entity
    // message named after the operation (ENT_MSG_START for Start, ...) reaches it.
    virtual int CopyClassName(char* buffer); // 1, writes nothing
    virtual uint32_t GetClassFlags();        // 0
    virtual const char* GetTypeName();       // "ENTBASE"
    virtual intptr_t Dispatch(int message, intptr_t a, intptr_t b, intptr_t c);
    virtual int Create(EntNode* node);            // 1 (ENT_CLASS_MSG_CREATE)
    virtual int Start();                          // msg: 1
    virtual int Shutdown();                       // msg: 1
    virtual int Destroy();                        // msg: frees; 0 (see below)
    virtual int OnEntityRemoved(ENTBASE* gone);   // 1
    virtual int Update(float seconds);            // msg: 1
    virtual int Hook177(intptr_t word);           // msg: 1
    virtual int Hook13(intptr_t word);            // msg: 1
    virtual int DrawPre();                        // msg: 1
    virtual int Draw();                           // msg: 1
    virtual int DrawPost();                       // Draw, then 1
    virtual int Hook15();                         // msg: 1
    virtual int DrawOverlay();                    // 1
    virtual int Hook143();                        // msg: 1
    virtual int DrawWorldBounds(uint32_t colour); // msg: 1
    virtual int DrawLocalBounds(uint32_t colour); // msg: 1
    virtual int VarsChanged();                    // msg: 1
    virtual int OnMessage(const SlEvent* event);  // msg: 1
    virtual void SetPos(const VECTOR3* pos);      // msg
    virtual void CopyPos(VECTOR3* out);           // msg
    virtual VECTOR3* GetPos();                    // null
    virtual void SetName(const char* name);       // msg: at most 32 chars
    virtual int CopyName(char* out);              // msg: out holds 33; 1
    virtual const char* GetName();                // the name
    virtual void SetActive();                     // msg: flags |= ENT_FLAG_ACTIVE
    virtual void ClearActive();                   // msg
    virtual int IsActive();                       // msg: the ENT_FLAG_ACTIVE bit
    virtual void SetHeading(float heading);       // msg
    virtual int Hook33(intptr_t word);            // msg: 1
    virtual void SetYaw(float yaw);               // msg
    virtual float GetYaw();                       // msg: 0.0
    virtual int GetMatrix(float* out16);          // msg: 1
    virtual int SetOrientation(const float* m16); // msg: 1
    virtual void Hook25(intptr_t word);           // msg
    virtual void Hook24(intptr_t word);           // msg
    virtual int Spare1(intptr_t word);            // 1
    virtual int GetOrientation(float* out16);     // msg: 1
    virtual int CopyBounds(float* out6);          // msg: 0
    virtual float* GetBounds();                   // null
    virtual int SetBounds(const float* box6);     // msg: 0
    virtual int Hook157(intptr_t word);           // msg: 0
    virtual int Hook158(intptr_t word);           // msg: 0
    virtual int GetWorldMatrix(float* out16);     // msg: GetOrientation
    virtual int SetTag(intptr_t tag);             // msg: 1
    virtual int GetTag(intptr_t* out);            // msg: 1
    virtual void SetFlag(uint32_t mask);
    virtual void ClearFlag(uint32_t mask);
    virtual int TestFlag(uint32_t mask);
    virtual int Hook26(intptr_t word);                    // msg: 1
    virtual int Hook27(intptr_t word);                    // msg: 1
    virtual void SetType(int type);                       // msg
    virtual int Hook56(intptr_t word);                    // msg: 1
    virtual int Spare2(intptr_t word);                    // 1
    virtual int Spare3(intptr_t word);                    // 1
    virtual void Hook39(intptr_t word);                   // msg
    virtual int Hook40(intptr_t word);                    // msg: 1
    virtual int Hook136(intptr_t word);                   // msg: 1
    virtual int RayQuery(EntRayQuery* query);             // msg: 1 (descend)
    virtual int BoundsQuery(EntBoundsQuery* query);       // msg: 1
    virtual int Hook69(intptr_t word);                    // msg: 1
    virtual bool PickTest(PickQuery* query);              // msg: false
    virtual void PickTree(PickQuery* query);              // self, then each child
    virtual int Hook91(intptr_t word);                    // msg: 1
    virtual int Hook174(intptr_t word);                   // msg: 1
    virtual int Hook28(intptr_t word);                    // msg: 1
    virtual int Hook29(intptr_t word);                    // msg: 1
    virtual int Hook118(intptr_t word);                   // msg (a): 1
    virtual int Spare4(intptr_t word);                    // 1
    virtual VarTable* GetInstanceVarTable();              // ENT_MSG_GET_VAR_TABLE: null
    virtual int LoadVarsSimple(const char* path);         // LoadVars; 0
    virtual int LoadVars(const char* path, int* outFlag); // msg: 1
    virtual int SaveVars(const char* path);               // msg: 1
    // The named setters: the instance table when there is one, else the class database.
    virtual bool SetString(const char* name, const char* value);
    virtual bool SetFloat(const char* name, float value);
    virtual bool SetColor3(const char* name, float r, float g, float b);
    virtual bool SetVector3(const char* name, float x, float y, float z);
    virtual bool SetInt(const char* name, int value);
    virtual bool SetVoid(const char* name, intptr_t value);
    virtual bool SetBool(const char* name, uint8_t value);
    virtual int QueryVar1(const char* name, void* out); // -1 each
    virtual int QueryVar2(const char* name, void* out);
    virtual int QueryVar3(const char* name, void* out);
    virtual int QueryVar4(const char* name, void* out);
    virtual int QueryVar5(const char* name, void* out);
    virtual int QueryVar6(const char* name, void* out);
    virtual int OnGameEvent(int event, intptr_t value);  // ENT_MSG_GAME_EVENT: 1
    virtual int GameEventPre(int event, intptr_t value); // see EntBase.cpp
    virtual int GiveEntity(ENTBASE* entity);             // 1
    virtual void Spare5();
    virtual void RestoreClockSpeed();
    virtual void SetViewTag(intptr_t tag); // msg
    virtual intptr_t GetViewTag();         // msg: 0
    virtual int Hook130(intptr_t word);    // msg (a): 1
    virtual void Spare6(intptr_t word);
    virtual int AttachToPlatform(ENTBASE* platform); // -1
    virtual int Spare7();                            // 0
    virtual int Spare8();                            // 0
    virtual int Spare9(intptr_t word);               // -1
    virtual int Spare10(intptr_t word);              // -1
    virtual int GetCamera(CameraDesc* out);          // msg: 0
    virtual void ScalePos(const VECTOR3* factors);   // msg
    virtual void SetLocalPlayer(intptr_t word);      // msg

    EntNode* node = nullptr;
    uint32_t flags = ENT_FLAGS_INITIAL;
    char name[NAME_LEN_MAX + 1] = {};
    PropDb* classDb = nullptr;
    const char* sourceFile = nullptr; // an entry of the source-file table, or null
    uint64_t serial = 0;              // unique for the life of the process (EntLiveAdd)
};

// Destroy: the node is marked for deletion and its object pointer cleared, then the object is
// deleted (through the virtual destructor). Classes that override Destroy do their own cleanup
// and end with ENTBASE::Destroy(); nothing may touch the object afterwards.
