// What a patron does with an attraction: the choice for a need, and its arrival at the entry.
// For now the choice finds nothing and an arrival sends the patron back to think; the lines,
// tickets, rides and games come with the visit itself.
#pragma once

class AttrBase;
class Rube1;

// The attraction that serves `need` best, or null when none does.
AttrBase* RubeVisitChoose(Rube1* patron, int need);
// The patron reached its target's entry point.
void RubeVisitArrive(Rube1* patron);
