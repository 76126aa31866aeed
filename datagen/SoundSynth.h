// What the sound generator's synthesis shares: a clip of float samples and the pieces the
// attraction sounds are built from. Every sound an attraction plays loops, so each is made to
// join its end to its start without a click.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Interleaved float samples in -1..1.
struct Clip {
    int channels;
    int rate;
    std::vector<float> samples;
    size_t Frames() const { return samples.size() / (size_t)channels; }
};

// The attraction sounds the shipped "Data.ini" names ("soundFile" and "musicFile"), each with
// the file it is written to below the data folder.
struct AttractionSound {
    const char* file; // "Sounds/Carousel.wav", "Music/BandOrgan.ogg"
    Clip (*make)();
};
const std::vector<AttractionSound>& AttractionSounds();
