// What the model sources share among themselves: the title rule, the model list and the file
// parser.
#pragma once

#include "I3d/Mdl3.h"
#include "I3d/Mdl3Draw.h"

#include <cstddef>
#include <string>
#include <vector>

// The file title of the path, cut to 31 characters (a longer title would overrun the model's
// name), upper-cased.
std::string Mdl3TitleOf(const char* path);
// Puts the model at the head of Mdl3List.
void Mdl3ListPush(MDL3* model);

// A model from a whole file image: checked, linked, materials bound and prepared as the stored
// storage value asks, the root's distances set. One block (storage 1), not on the list, no
// name, no buffers, count 0. Null (with a log line naming `what`) when the image is malformed.
MDL3* Mdl3Parse(const uint8_t* data, size_t size, const char* what);

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
