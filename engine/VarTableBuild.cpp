// Variable tables sized from the entries their fill adds, so that no count is kept by hand.
#include "engine/VarTable.h"

#include <cassert>
#include <cstring>

VarTable* VarTableBuild(VarTableFill fill, int spare) {
    if (!fill || spare < 0 || spare > VAR_BUILD_MAX) return nullptr;
    VarTable* scratch = VarTableCreate(VAR_BUILD_MAX);
    if (!scratch) return nullptr;
    const int64_t refusedBefore = VarTableFailedAdds();
    fill(scratch);
    [[maybe_unused]] const bool complete = VarTableFailedAdds() == refusedBefore;
    assert(complete && "a table's fill added every entry it names");
    // Adds take the first free entry and nothing is removed, so the entries sit at the front.
    int used = 0;
    while (used < scratch->count && scratch->Entries()[used].type != VAR_FREE)
        ++used;
    VarTable* table = VarTableCreate(used + spare);
    if (table) {
        std::memcpy(table->Entries(), scratch->Entries(), (size_t)used * sizeof(VarEntry));
        table->context = scratch->context;
    }
    VarTableDestroy(scratch);
    return table;
}
