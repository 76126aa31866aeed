// Where a walking character stands: the patrons and the carnies face their heading on the ground
// under a box one unit square and as high as they are.
#pragma once

class Ent3dBase;

// The entity's box in its own frame: one unit square around its feet, `height` high.
void GameEntStandLocalBox(Ent3dBase* e, float height);

// The world matrix turned by `yaw` about y and set at the entity's position moved by
// (`offsetX`, 0, `offsetZ`), and the world box around the position itself.
void GameEntStand(Ent3dBase* e, float yaw, float offsetX, float offsetZ, float height);
