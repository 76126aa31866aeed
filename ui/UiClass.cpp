// Property fields shared by the control classes.
#include "ui/UiClass.h"

#include "engine/PropDb.h"
#include "ui/Ctl3Base.h"

void Ctl3AddNamePos(PropDb* db) {
    PropDbAddStringBlank(db, "name", PROP_OFFSET(Ctl3Base, name), 32, 3);
    PropDbAddVector3Zero(db, "pos", PROP_OFFSET(Ctl3Base, pos), 3);
}

void Ctl3AddTextLayout(PropDb* db) {
    PropDbAddFloat(db, "height", PROP_OFFSET(Ctl3Base, height), 0.1f, 3);
    PropDbAddFloat(db, "horizScale", PROP_OFFSET(Ctl3Base, horizScale), 1.0f, 3);
    PropDbAddFloat(db, "italic", PROP_OFFSET(Ctl3Base, italic), 0.0f, 3);
    PropDbAddInt(db, "horizAlign", PROP_OFFSET(Ctl3Base, horizAlign), 0, 3);
    PropDbAddInt(db, "vertAlign", PROP_OFFSET(Ctl3Base, vertAlign), 0, 3);
}

void Ctl3AddScaledTextLayout(PropDb* db) {
    PropDbAddFloat(db, "height", PROP_OFFSET(Ctl3Base, height), 0.1f, 3);
    PropDbAddFloat(db, "horizScale", PROP_OFFSET(Ctl3Base, horizScale), 1.0f, 3);
    PropDbAddFloat(db, "vertScale", PROP_OFFSET(Ctl3Base, vertScale), 1.0f, 3);
    PropDbAddFloat(db, "italic", PROP_OFFSET(Ctl3Base, italic), 0.0f, 3);
    PropDbAddInt(db, "horizAlign", PROP_OFFSET(Ctl3Base, horizAlign), 0, 3);
    PropDbAddInt(db, "vertAlign", PROP_OFFSET(Ctl3Base, vertAlign), 0, 3);
}
