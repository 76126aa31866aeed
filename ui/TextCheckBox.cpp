// The text check box.
#include "ui/TextCheckBox.h"

#include "engine/PropDb.h"
#include "ui/Ctl3TextStyle.h"
#include "ui/UiClass.h"

const char16_t* TextCheckBox::DrawnText() {
    const char16_t* prefix = checked ? checkedPrefix : clearPrefix;
    const char16_t* text = Ctl3ShownText(this);
    size_t n = 0;
    for (size_t i = 0; prefix[i] && n < 2; ++i)
        drawn[n++] = prefix[i];
    // A live text may be longer than a label: it is cut where the buffer ends.
    for (size_t i = 0; text[i] && n < 2 + CTL3_LABEL_MAX; ++i)
        drawn[n++] = text[i];
    drawn[n] = 0;
    return drawn;
}

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "TextCheckBox");
        Ctl3AddNamePos(&s_db);
        Ctl3AddTextLayout(&s_db);
    }
    return &s_db;
}

const WorldClassDef kClass = {"TextCheckBox", Db, WorldMake<TextCheckBox>, nullptr};
} // namespace

intptr_t EcTextCheckBoxProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
