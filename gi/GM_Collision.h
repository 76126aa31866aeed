// Collision shape records: a named transform (the base, type 23 alone) and a box, sphere,
// cylinder, plane or mesh. Also the two-letter collision codes.
#pragma once

#include "gi/GM_Mesh.h"
#include "gi/GM_NodeTM.h"

// The category bit of a two-letter collision code ("OS" 0x80 ... "WF" 0x4000); 0 for any other
// text.
uint32_t GM_CollisionCodeBit(const char* code);
// flags AND the code's bit (0 for a code without one), and flags AND mask.
inline uint32_t GM_CollisionHasCode(uint32_t flags, const char* code) {
    return flags & GM_CollisionCodeBit(code);
}
inline uint32_t GM_CollisionHasMask(uint32_t flags, uint32_t mask) {
    return flags & mask;
}

class GM_CollisionObject : public GM_Object {
  public:
    GM_CollisionObject() : GM_CollisionObject(GMID_COLLISION_OBJECT) {}

    int Write(GM_Stream* s) override;
    // The base part (version, size, name, node), then the shape's values.
    int Read(GM_Stream* s) override;
    uint32_t ComputeSize() override;

    GM_NodeTM node;

  protected:
    explicit GM_CollisionObject(uint32_t typeId) : GM_Object(typeId, 2) {}
    // What a shape adds to the base part, and its word in the error texts ("CollisionBox").
    virtual uint32_t ShapeSize() { return 0; }
    virtual bool WriteShape(GM_Stream*) { return true; }
    virtual bool ReadShape(GM_Stream*) { return true; }
    virtual const char* ShapeName() const { return "CollisionObject"; }
    // "%s%s %f\n": how the shapes print their values.
    static bool Value(GM_Stream* s, const char* keyword, float v);
};

class GM_CollisionBox : public GM_CollisionObject {
  public:
    GM_CollisionBox() : GM_CollisionObject(GMID_COLLISION_BOX) {}
    float length = 0, width = 0, height = 0;

  protected:
    uint32_t ShapeSize() override { return 12; }
    bool WriteShape(GM_Stream* s) override;
    bool ReadShape(GM_Stream* s) override;
    const char* ShapeName() const override { return "CollisionBox"; }
};

class GM_CollisionSphere : public GM_CollisionObject {
  public:
    GM_CollisionSphere() : GM_CollisionObject(GMID_COLLISION_SPHERE) {}
    float radius = 0;

  protected:
    uint32_t ShapeSize() override { return 4; }
    bool WriteShape(GM_Stream* s) override;
    bool ReadShape(GM_Stream* s) override;
    const char* ShapeName() const override { return "CollisionSphere"; }
};

class GM_CollisionCylinder : public GM_CollisionObject {
  public:
    GM_CollisionCylinder() : GM_CollisionObject(GMID_COLLISION_CYLINDER) {}
    float radius = 0, height = 0;

  protected:
    uint32_t ShapeSize() override { return 8; }
    bool WriteShape(GM_Stream* s) override;
    bool ReadShape(GM_Stream* s) override;
    const char* ShapeName() const override { return "CollisionCylinder"; }
};

class GM_CollisionPlane : public GM_CollisionObject {
  public:
    GM_CollisionPlane() : GM_CollisionObject(GMID_COLLISION_PLANE) {}
    float length = 0, width = 0;

  protected:
    uint32_t ShapeSize() override { return 8; }
    bool WriteShape(GM_Stream* s) override;
    bool ReadShape(GM_Stream* s) override;
    const char* ShapeName() const override { return "CollisionPlane"; }
};

class GM_CollisionMesh : public GM_CollisionObject {
  public:
    GM_CollisionMesh() : GM_CollisionObject(GMID_COLLISION_MESH) {}
    GM_Mesh mesh;

  protected:
    uint32_t ShapeSize() override { return 12 + mesh.ComputeSize(); }
    bool WriteShape(GM_Stream* s) override { return mesh.Write(s) == 1; }
    bool ReadShape(GM_Stream* s) override { return mesh.Read(s) == 1; }
    const char* ShapeName() const override { return "CollisionMesh"; }
};
