// The sound targets' device: OpenAL Soft's null backend, opened once per process and closed at
// exit. Without a device the loaders still check and read their files; with one they also make
// the OpenAL buffers, as the game does.
#pragma once

void FuzzOpenSoundOnce();
