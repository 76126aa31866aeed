// The current camera: the one camera the game is seen through now, shared process-wide. The
// attraction panel's ride view makes the ride camera current and gives the management camera
// back; the ride camera hands its view to the mouse pick while it is current, so that a click
// in the ride view picks what that view shows. A link to a destroyed camera reads null.
#pragma once

class ENTBASE;

void CameraSetCurrent(ENTBASE* camera);
ENTBASE* CameraGetCurrent();
