// The editor's view of the game through the kernel: the game drawn into a texture that the
// editor's window shows, and the hook that draws the window over it.
#include "I3d/Src/Kernel.h"

int I3dSetViewFramebuffer(int width, int height) {
    return D3dSetViewFramebuffer(D3dDevice(), width, height);
}

unsigned I3dViewTexture() {
    return D3dViewTexture(D3dDevice());
}

void I3dSetComposeHook(I3dComposeHook hook, void* context) {
    D3dSetComposeHook(D3dDevice(), hook, context);
}
