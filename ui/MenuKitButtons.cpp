// The control kit's common graphic buttons: one table row each. The entity names are what the
// debug overlay shows, repeats included.
#include "ui/GraphicButton.h"
#include "ui/MenuKit.h"
#include "ui/MenuKitMake.h"

#include <cstdio>

namespace {
struct KitButton {
    const char* name;
    const char* texture;
    int32_t right, bottom; // the cell from (0, 0)
};

enum {
    kUp,
    kDown,
    kPageUp,
    kPageDown,
    kBack,
    kStart,
    kNext,
    kOk,
    kCancel,
    kDelete,
    kView,
    kHire,
    kFire,
    kRide,
};

const KitButton kButtons[] = {
    {"Up", "Menu\\Common\\ButtonUp.dds", 96, 56},
    {"Down", "Menu\\Common\\ButtonDown.dds", 96, 56},
    {"PgUp", "Menu\\Common\\ButtonPageUp.dds", 96, 56},
    {"Down", "Menu\\Common\\ButtonPageDown.dds", 96, 56},
    {"Back", "Menu\\Common\\ZobButtonBack.dds", 118, 63},
    {"Start", "Menu\\Common\\ZobButtonStart.dds", 118, 62},
    {"Next", "Menu\\Common\\ZobButtonNext.dds", 117, 63},
    {"Next", "Menu\\Common\\ZobButtonOk.dds", 96, 56},
    {"Next", "Menu\\Common\\ZobButtonCancel.dds", 133, 55},
    {"Delete", "Menu\\Common\\ZobButtonDelete.dds", 96, 56},
    {"View", "Menu\\Common\\ZobButtonView.dds", 96, 56},
    {"Hire", "Menu\\Common\\ZobButtonHire.dds", 96, 56},
    {"Fire", "Menu\\Common\\ZobButtonFire.dds", 96, 56},
    {"Fire", "Menu\\Common\\ButtonRide.dds", 96, 56},
};

GraphicButton* Build(int which, int32_t id, float x, float y, ENTBASE* menu) {
    const KitButton& row = kButtons[which];
    auto* b = MenuKitMake<GraphicButton>("GraphicButton", menu, id, x, y, nullptr, row.name);
    if (!b) return nullptr;
    b->image.left = 0;
    b->image.top = 0;
    b->image.right = row.right;
    b->image.bottom = row.bottom;
    std::snprintf(b->image.textureName, sizeof b->image.textureName, "%s", row.texture);
    b->Start();
    return b;
}
} // namespace

GraphicButton* MenuKitButtonUp(int32_t id, float x, float y, ENTBASE* menu) {
    return Build(kUp, id, x, y, menu);
}
GraphicButton* MenuKitButtonDown(int32_t id, float x, float y, ENTBASE* menu) {
    return Build(kDown, id, x, y, menu);
}
GraphicButton* MenuKitButtonPageUp(int32_t id, float x, float y, ENTBASE* menu) {
    return Build(kPageUp, id, x, y, menu);
}
GraphicButton* MenuKitButtonPageDown(int32_t id, float x, float y, ENTBASE* menu) {
    return Build(kPageDown, id, x, y, menu);
}
GraphicButton* MenuKitButtonBack(int32_t id, float x, float y, ENTBASE* menu) {
    return Build(kBack, id, x, y, menu);
}
GraphicButton* MenuKitButtonStart(int32_t id, float x, float y, ENTBASE* menu) {
    return Build(kStart, id, x, y, menu);
}
GraphicButton* MenuKitButtonNext(int32_t id, float x, float y, ENTBASE* menu) {
    return Build(kNext, id, x, y, menu);
}
GraphicButton* MenuKitButtonOk(int32_t id, float x, float y, ENTBASE* menu) {
    return Build(kOk, id, x, y, menu);
}
GraphicButton* MenuKitButtonCancel(int32_t id, float x, float y, ENTBASE* menu) {
    return Build(kCancel, id, x, y, menu);
}
GraphicButton* MenuKitButtonDelete(int32_t id, float x, float y, ENTBASE* menu) {
    return Build(kDelete, id, x, y, menu);
}
GraphicButton* MenuKitButtonView(int32_t id, float x, float y, ENTBASE* menu) {
    return Build(kView, id, x, y, menu);
}
GraphicButton* MenuKitButtonHire(int32_t id, float x, float y, ENTBASE* menu) {
    return Build(kHire, id, x, y, menu);
}
GraphicButton* MenuKitButtonFire(int32_t id, float x, float y, ENTBASE* menu) {
    return Build(kFire, id, x, y, menu);
}
GraphicButton* MenuKitButtonRide(int32_t id, float x, float y, ENTBASE* menu) {
    return Build(kRide, id, x, y, menu);
}
