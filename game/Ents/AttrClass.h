// The attraction class's shared entities, for its own source files: each is null once it has
// gone (or before an attraction's Start found it).
#pragma once

class ENTBASE;
class MtGame;
class MtPowerGrid;

MtGame* AttrClassGame();
MtPowerGrid* AttrClassGrid();
ENTBASE* AttrClassRubeGen();
// Forgets all three (class reset).
void AttrClassForget();
