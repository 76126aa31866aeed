// Reference-counted property databases of the game data records.
#include "game/RecordDb.h"

PropDb* RecordDbAcquire(RecordDbShare* share) {
    if (share->live++ == 0) {
        share->db = new PropDb;
        PropDbSetName(share->db, share->name);
        share->build(share->db);
    }
    return share->db;
}

void RecordDbRelease(RecordDbShare* share) {
    if (share->live <= 0) return;
    if (--share->live == 0) {
        delete share->db;
        share->db = nullptr;
    }
}
