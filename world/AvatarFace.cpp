// The face-index query of the chase camera.
#include "world/AvatarFace.h"

#include "engine/EntBase.h"

int AvatarFaceOf(ENTBASE* entity) {
    auto* source = dynamic_cast<AvatarFaceSource*>(entity);
    return source ? source->AvatarFaceIndex() : AVATAR_FACE_NONE;
}
