// The root class of every entity: its fields, its virtual operations in their fixed order with
// their defaults, and Dispatch, which maps message ids 7..177 onto those operations.
//
// Message words are pointer-sized. Where a message carries a float (12 Update, 34 SetHeading,
// 36 SetYaw) its bits travel in the low 32 bits of b; where an operation answers through b
// (35 a float, 165 and 172 a word, 89 the table at b and the entity at c) b and c are pointers
// to the caller's storage. Pointer arguments (16 a VECTOR3*, 83 a name, 109 the path and an
// int*) are b and c as pointers.
#pragma once

#include "I3d/Math/MathTypes.h"
#include "engine/EntTree.h"

#include <cstdint>

class PropDb;
struct VarTable;
struct SlEvent;        // an input event (the input layer)
struct EntRayQuery;    // a line query sent down a subtree (message 112)
struct EntBoundsQuery; // a box or line query against world bounds (message 68)
struct PickQuery;      // a pick ray with the best entity so far (message 149)
struct CameraDesc;     // what a camera fills for its viewport (message 176)

class ENTBASE {
  public:
    enum { NAME_LEN_MAX = 32 };

    ENTBASE();
    virtual ~ENTBASE();
    ENTBASE(const ENTBASE&) = delete;
    ENTBASE& operator=(const ENTBASE&) = delete;

    // Operations in their fixed order; comments give the default and the message id.
    virtual int CopyClassName(char* buffer); // 1, writes nothing
    virtual uint32_t GetClassFlags();        // 0
    virtual const char* GetTypeName();       // "ENTBASE"
    virtual intptr_t Dispatch(int message, intptr_t a, intptr_t b, intptr_t c);
    virtual int Create(EntNode* node);            // 1 (class message 6)
    virtual int Start();                          // 7: 1
    virtual int Shutdown();                       // 8: 1
    virtual int Destroy();                        // 9: frees; 0 (see below)
    virtual int OnEntityRemoved(ENTBASE* gone);   // 1
    virtual int Update(float seconds);            // 12: 1
    virtual int Hook177(intptr_t word);           // 177: 1
    virtual int Hook13(intptr_t word);            // 13: 1
    virtual int DrawPre();                        // 10: 1
    virtual int Draw();                           // 90: 1
    virtual int DrawPost();                       // Draw, then 1
    virtual int Hook15();                         // 15: 1
    virtual int DrawOverlay();                    // 1
    virtual int Hook143();                        // 143: 1
    virtual int DrawWorldBounds(uint32_t colour); // 159: 1
    virtual int DrawLocalBounds(uint32_t colour); // 160: 1
    virtual int VarsChanged();                    // 116: 1
    virtual int OnMessage(const SlEvent* event);  // 14: 1
    virtual void SetPos(const VECTOR3* pos);      // 16
    virtual void CopyPos(VECTOR3* out);           // 17
    virtual VECTOR3* GetPos();                    // null
    virtual void SetName(const char* name);       // 83: at most 32 chars
    virtual int CopyName(char* out);              // 84: out holds 33; 1
    virtual const char* GetName();                // the name
    virtual void SetActive();                     // 163: flags |= 0x2
    virtual void ClearActive();                   // 164
    virtual int IsActive();                       // 165: (flags >> 1) & 1
    virtual void SetHeading(float heading);       // 34
    virtual int Hook33(intptr_t word);            // 33: 1
    virtual void SetYaw(float yaw);               // 36
    virtual float GetYaw();                       // 35: 0.0
    virtual int GetMatrix(float* out16);          // 19: 1
    virtual int SetOrientation(const float* m16); // 18: 1
    virtual void Hook25(intptr_t word);           // 25
    virtual void Hook24(intptr_t word);           // 24
    virtual int Spare1(intptr_t word);            // 1
    virtual int GetOrientation(float* out16);     // 43: 1
    virtual int CopyBounds(float* out6);          // 161: 0
    virtual float* GetBounds();                   // null
    virtual int SetBounds(const float* box6);     // 162: 0
    virtual int Hook157(intptr_t word);           // 157: 0
    virtual int Hook158(intptr_t word);           // 158: 0
    virtual int GetWorldMatrix(float* out16);     // 156: GetOrientation
    virtual int SetTag(intptr_t tag);             // 166: 1
    virtual int GetTag(intptr_t* out);            // 167: 1
    virtual void SetFlag(uint32_t mask);
    virtual void ClearFlag(uint32_t mask);
    virtual int TestFlag(uint32_t mask);
    virtual int Hook26(intptr_t word);                    // 26: 1
    virtual int Hook27(intptr_t word);                    // 27: 1
    virtual void SetType(int type);                       // 55
    virtual int Hook56(intptr_t word);                    // 56: 1
    virtual int Spare2(intptr_t word);                    // 1
    virtual int Spare3(intptr_t word);                    // 1
    virtual void Hook39(intptr_t word);                   // 39
    virtual int Hook40(intptr_t word);                    // 40: 1
    virtual int Hook136(intptr_t word);                   // 136: 1
    virtual int RayQuery(EntRayQuery* query);             // 112: 1 (descend)
    virtual int BoundsQuery(EntBoundsQuery* query);       // 68: 1
    virtual int Hook69(intptr_t word);                    // 69: 1
    virtual bool PickTest(PickQuery* query);              // 149: false
    virtual void PickTree(PickQuery* query);              // self, then each child
    virtual int Hook91(intptr_t word);                    // 91: 1
    virtual int Hook174(intptr_t word);                   // 174: 1
    virtual int Hook28(intptr_t word);                    // 28: 1
    virtual int Hook29(intptr_t word);                    // 29: 1
    virtual int Hook118(intptr_t word);                   // 118 (a): 1
    virtual int Spare4(intptr_t word);                    // 1
    virtual VarTable* GetInstanceVarTable();              // 89: null
    virtual int LoadVarsSimple(const char* path);         // LoadVars; 0
    virtual int LoadVars(const char* path, int* outFlag); // 109: 1
    virtual int SaveVars(const char* path);               // 108: 1
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
    virtual int OnGameEvent(int event, intptr_t value);  // 170: 1
    virtual int GameEventPre(int event, intptr_t value); // see EntBase.cpp
    virtual int GiveEntity(ENTBASE* entity);             // 1
    virtual void Spare5();
    virtual void RestoreClockSpeed();
    virtual void SetViewTag(intptr_t tag); // 171
    virtual intptr_t GetViewTag();         // 172: 0
    virtual int Hook130(intptr_t word);    // 130 (a): 1
    virtual void Spare6(intptr_t word);
    virtual int AttachToPlatform(ENTBASE* platform); // -1
    virtual int Spare7();                            // 0
    virtual int Spare8();                            // 0
    virtual int Spare9(intptr_t word);               // -1
    virtual int Spare10(intptr_t word);              // -1
    virtual int GetCamera(CameraDesc* out);          // 176: 0
    virtual void ScalePos(const VECTOR3* factors);   // 175
    virtual void SetLocalPlayer(intptr_t word);      // 106

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
