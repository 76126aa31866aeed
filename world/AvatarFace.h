// The side of the test board's block the player stands on, as the chase camera reads it. The
// test avatar implements it; any other entity answers none.
#pragma once

class ENTBASE;

// The face indices: 0..3 the block's four sides, 4 the top; anything else (none included)
// names no side.
constexpr int AVATAR_FACE_NONE = -1;

class AvatarFaceSource {
  public:
    virtual ~AvatarFaceSource() = default;
    virtual int AvatarFaceIndex() = 0;
};

// The entity's face index, or AVATAR_FACE_NONE for null or an entity without one.
int AvatarFaceOf(ENTBASE* entity);
