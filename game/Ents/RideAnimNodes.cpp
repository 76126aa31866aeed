// Finding, posing and attaching the moving nodes of the table-driven ride animators.
#include "game/Ents/RideAnimNodes.h"

#include "I3d/Math/Mat4Math.h"
#include "I3d/Mdl3.h"
#include "engine/MathConst.h"

#include <cmath>

namespace {

bool Whole(float turn) {
    return std::nearbyint(turn) == turn;
}
} // namespace

Mat4 RideAxisMatrix(RideAxis axis, float value) {
    Mat4 m;
    Mat4Identity(&m);
    switch (axis) {
        case RIDE_AXIS_X: Mat4RotateX(&m, value); break;
        case RIDE_AXIS_Y: Mat4RotateY(&m, value); break;
        case RIDE_AXIS_Z: Mat4RotateZ(&m, value); break;
        case RIDE_AXIS_RISE: m.m[13] = value; break;
    }
    return m;
}

void RideNodeSet::Find(MDL3* model, const RideTypeRow* typeRow) {
    row = typeRow;
    nodes.clear();
    for (float& a : ownAngle)
        a = 0.0f;
    if (!row) return;
    MDL3NODE* root = model && model->numNodes > 0 ? &model->nodes[0] : nullptr;
    for (int i = 0; i < row->numMotions; ++i) {
        const RideNodeMotion& m = row->motions[i];
        const int n = m.count > 0 ? m.count : 1;
        for (int k = 0; k < n; ++k) {
            RideNode node;
            node.node = root ? Mdl3FindNode(root, RideNodeName(m, k).c_str()) : nullptr;
            node.motion = i;
            node.k = k;
            nodes.push_back(node);
        }
    }
}

void RideNodeSet::Advance(float step) {
    if (!row) return;
    for (int i = 0; i < row->numMotions; ++i) {
        const float turn = row->motions[i].turn;
        if (Whole(turn)) continue;
        ownAngle[i] = (float)std::fmod((double)ownAngle[i] + (double)turn * step, kTwoPiD);
        if (ownAngle[i] < 0.0f) ownAngle[i] += (float)kTwoPiD;
    }
}

void RideNodeSet::Pose(double a, float speed, bool wraps) {
    if (!row) return;
    for (RideNode& n : nodes) {
        if (!n.node) continue;
        const RideNodeMotion& m = row->motions[n.motion];
        // A stand's time grows all day: the turn is taken modulo a whole turn in double.
        const double turn = !wraps || Whole(m.turn) ? std::fmod((double)m.turn * a, kTwoPiD)
                                                    : (double)ownAngle[n.motion];
        const double amp = m.ampBySpeed ? (double)m.amp * speed : (double)m.amp;
        const double wave =
            amp * std::sin((double)m.freq * a + m.phase + n.k * (double)m.phaseStep);
        const double value = turn + wave + m.offset + (double)m.lift * speed;
        n.matrix = RideAxisMatrix(m.axis, (float)value);
    }
}

void RideNodeSet::Attach() {
    for (RideNode& n : nodes)
        if (n.node) Mdl3NodeSetOverride(n.node, &n.matrix);
}

void RideNodeSet::Detach() {
    for (RideNode& n : nodes)
        if (n.node) Mdl3NodeClearOverride(n.node);
}

int RideNodeSet::FoundCount() const {
    int found = 0;
    for (const RideNode& n : nodes)
        found += n.node != nullptr;
    return found;
}
