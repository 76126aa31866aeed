// Property fields shared by the control classes.
#include "ui/UiClass.h"

#include "engine/PropDb.h"
#include "ui/Ctl3Base.h"

void Ctl3AddNamePos(PropDb* db) {
    PropDbAddStringBlank(db, "name", PROP_OFFSET(Ctl3Base, name), 32);
    PropDbAddVector3Zero(db, "pos", PROP_OFFSET(Ctl3Base, pos));
}

void Ctl3AddTextLayout(PropDb* db) {
    PropDbAddFloat(db, "height", PROP_OFFSET(Ctl3Base, height), 0.1f);
    PropDbAddFloat(db, "horizScale", PROP_OFFSET(Ctl3Base, horizScale), 1.0f);
    PropDbAddFloat(db, "italic", PROP_OFFSET(Ctl3Base, italic), 0.0f);
    PropDbAddInt(db, "horizAlign", PROP_OFFSET(Ctl3Base, horizAlign), 0);
    PropDbAddInt(db, "vertAlign", PROP_OFFSET(Ctl3Base, vertAlign), 0);
}

void Ctl3AddScaledTextLayout(PropDb* db) {
    PropDbAddFloat(db, "height", PROP_OFFSET(Ctl3Base, height), 0.1f);
    PropDbAddFloat(db, "horizScale", PROP_OFFSET(Ctl3Base, horizScale), 1.0f);
    PropDbAddFloat(db, "vertScale", PROP_OFFSET(Ctl3Base, vertScale), 1.0f);
    PropDbAddFloat(db, "italic", PROP_OFFSET(Ctl3Base, italic), 0.0f);
    PropDbAddInt(db, "horizAlign", PROP_OFFSET(Ctl3Base, horizAlign), 0);
    PropDbAddInt(db, "vertAlign", PROP_OFFSET(Ctl3Base, vertAlign), 0);
}
