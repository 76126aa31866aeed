// The iterative node walk the model sources and the model library's extended models share.
#pragma once

#include "I3d/Mdl3.h"
#include "I3d/Mdl3Draw.h"

#include <vector>

// Pre-order over the subtree of `start` (its siblings not included), each node with its matrix
// under its parent's (Mdl3NodeMatrix with `useTransformFlag`); `visit(node, matrix)` answers
// whether to walk the node's children. The walk keeps the open parents' matrices in `parents`,
// not on the machine stack: a chain may be as deep as the model has nodes.
template <class Visit>
void Mdl3Walk(const MDL3NODE* start, const Mat4& world, int useTransformFlag,
              std::vector<Mat4>& parents, Visit visit) {
    parents.clear();
    parents.push_back(world);
    const MDL3NODE* n = start;
    for (;;) {
        Mat4 m;
        Mdl3NodeMatrix(n, &parents.back(), useTransformFlag, &m);
        if (visit(*n, m) && n->child) {
            parents.push_back(m);
            n = n->child;
            continue;
        }
        while (n != start && !n->next) {
            n = n->parent;
            parents.pop_back();
        }
        if (n == start) return;
        n = n->next;
    }
}
