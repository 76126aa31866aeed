// What every builder of the control kit does first and last: create the control by class name
// under the menu, and the font lookup by name.
#pragma once

#include "I3d/Font.h"
#include "engine/EntBase.h"
#include "ui/Ctl3Base.h"

// A new control of that class under the menu with the kit's common settings in the kit's order:
// the id, the position, the label (wide) or else the entity name (narrow), white. Null without a
// menu, when the class cannot be created, or when it makes something that is not a T (destroyed
// again).
template <class T>
T* MenuKitMake(const char* className, ENTBASE* menu, int32_t id, float x, float y,
               const char16_t* label, const char* name = nullptr) {
    if (!menu) return nullptr;
    ENTBASE* made = EntCreateChild(className, menu);
    if (!made) return nullptr;
    T* control = dynamic_cast<T*>(made);
    if (!control) {
        EntDestroyTree(made);
        return nullptr;
    }
    control->id = id;
    control->SetPos2D(x, y);
    if (label)
        control->SetTextW(label);
    else if (name)
        control->SetText(name);
    control->colour = 0xFFFFFFFFu;
    return control;
}

// The loaded font of that title, no reference taken; null when it is not loaded.
inline Font* MenuKitFont(const char* title) {
    return FontFind(title);
}
