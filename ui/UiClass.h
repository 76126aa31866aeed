// The class procedures of the interface's entity classes: the world classes' shared procedure,
// and the property fields every control class declares.
#pragma once

#include "engine/WorldClass.h"

class PropDb;

// "name" then "pos".
void Ctl3AddNamePos(PropDb* db);
// "height", "horizScale", "italic", "horizAlign", "vertAlign": the text buttons' layout.
void Ctl3AddTextLayout(PropDb* db);
// "height", "horizScale", "vertScale", "italic", "horizAlign", "vertAlign": the static texts'.
void Ctl3AddScaledTextLayout(PropDb* db);
