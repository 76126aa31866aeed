// Static objects: one extended model placed in the world (on the ground when "agl" is set),
// turned, scaled and faded, whose lights switch on at night and blink with the class-wide
// 32-step light chaser. The game screens' placement cursor is one too.
#pragma once

#include "I3d/Math/MathTypes.h"
#include "engine/Ent3d/Ent3dBase.h"
#include "engine/WorldClass.h"

#include <cstdint>

class Mdl3ExModel;

class StaticObject : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override;
    uint32_t GetClassFlags() override { return WorldClassFlags<StaticObject>::word; }
    const char* GetTypeName() override { return "StaticObject"; }
    // Every table default, then no "agl", no angles, unit scale, no model, shown, "visFactor" 1,
    // no "clsnBox", a random chaser phase, position 0 and no debug overlay; 0.
    int Create(EntNode* node) override;
    // Finds the terrain and the "TimeOfDay", loads the model afresh (releasing the one held) and
    // places it; 0. A missing model leaves the unit cube as the box.
    int Start() override;
    int Destroy() override;
    // The model under the world matrix, its lights on between "lightsOn" and "lightsOff" and
    // its chaser step; 1 so that children draw.
    int DrawPre() override;
    // Ground height, world matrix and world box; 1.
    int VarsChanged() override;
    // Stores the whole position ("pos" y is the height field) and places the object again.
    void SetPos(const VECTOR3* p) override;
    void SetYaw(float value) override;
    float GetYaw() override;
    int GetOrientation(float* out16) override; // the world matrix without translation; 0
    // Line queries through the box and the model, box queries by overlap; nothing while
    // hidden. 1.
    int BoundsQuery(EntBoundsQuery* query) override;
    // Pickable class, shown, with a model: the box, then the model's triangles.
    bool PickTest(PickQuery* query) override;
    int Hook118(intptr_t hide) override;  // the hidden flag; 0
    int Spare4(intptr_t outInt) override; // the hidden flag into the caller's int; 0
    // "pos" scaled per axis, y kept when it is a height above the ground.
    void ScalePos(const VECTOR3* factors) override;
    void SetClassFlags(uint32_t value) override { WorldClassFlags<StaticObject>::word = value; }
    void SetPosXYZ(float x, float y, float z) override;
    void SetPitch(float value) override;
    float GetPitch() override;

    // Properties. The booleans are whole words: the database writes their low byte, an
    // articulated model's value table the whole word.
    uint32_t agl = 0;
    float yaw = 0.0f;
    float pitch = 0.0f;
    float roll = 0.0f;
    VECTOR3 scale = {1.0f, 1.0f, 1.0f};
    char modelFile[261] = {};
    float visFactor = 1.0f;
    uint32_t clsnBox = 0;
    float lightsOn = 0.7916667f;
    float lightsOff = 0.25f;

    float height = 0.0f; // kept equal to "pos" y
    Mdl3ExModel* instance = nullptr;
    int32_t hidden = 0;
    float groundHeight = 0.0f;
    int32_t phase = 0;               // 0..31
    const DataDir* folder = nullptr; // the class data folder the model loads from

  protected:
    void ReleaseModel();
    // The lights' time test against the cached "TimeOfDay" (off without one).
    bool LightsWanted();
};

// The class's data folder (models load from it).
const DataDir* StaticObjectDataDir();
// The "TimeOfDay" the class has cached, or null (also once it has been destroyed).
ENTBASE* StaticObjectTimeOfDay();
// The chaser: counter 0..31 and the seconds left of its step.
int StaticObjectFlashCounter();
float StaticObjectFlashTimer();
// The class-wide chaser step, once per frame with the game-time step: the timer runs down and,
// once below 0, restarts at 1/16 s while the counter steps (31 wraps to 0).
void StaticObjectFlashTick(float seconds);

// Class "StaticObject". ENT_CLASS_MSG_RESET also forgets the cached "TimeOfDay" and terrain.
intptr_t EcStaticObjectProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
