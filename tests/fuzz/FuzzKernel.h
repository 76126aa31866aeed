// The render kernel for the fuzz targets whose loaders make textures or buffers: started once
// per process on the recording layer (no GPU, no window), stopped at exit.
#pragma once

// Starts it on first call; later calls empty the recording layer's call log, which would
// otherwise grow with every input of a campaign.
void FuzzKernelReady();
