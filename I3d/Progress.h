// The progress hook: long loads (the terrain's tile textures) report what they are doing to
// whoever shows a loading screen. Without a hook nothing is shown.
#pragma once

using I3dProgressHook = void (*)(const char* text, int level);

// Null clears it.
void I3dSetProgressHook(I3dProgressHook hook);
// Passes the text to the hook, when there is one.
void I3dProgress(const char* text, int level);
