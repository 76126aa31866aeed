// The factory that turns a type id read from a binary GMF stream into a fresh record object.
#pragma once

#include <cstdint>

class GM_Object;
class GM_Stream;

// Makes a default-constructed record of one class (null when that fails).
using GM_Maker = GM_Object* (*)();

// Reads a type id and returns a new record of its class, not yet read; the caller owns it and
// calls its Read. An id the factory does not make (or whose maker is still empty) is skipped by
// its size word with "**** WARNING **** Encountered Unknown GMF Object Type\n" and gives null.
// *ended (when given) is set when the type id, version or size word could not be read: the
// stream has ended or broken, and a caller reading a run of records stops.
GM_Object* GM_CreateObject(GM_Stream* s, bool* ended = nullptr);

// The factory makes ids 2, 4, 5, 21, 24 to 28, 52, 57, 58 and 59. Sets the maker of one of them
// and returns the one it replaces; any other id is refused (null, nothing changes).
GM_Maker GM_SetMaker(uint32_t typeId, GM_Maker maker);
// True for the ids the factory makes.
bool GM_IsFactoryId(uint32_t typeId);
