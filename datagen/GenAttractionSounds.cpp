// The attractions' own sounds, synthesised: each loops, since an attraction's sound entity plays
// it for as long as the listener is near. All are mono, so that the sound layer can place them
// where the attraction stands. Two things make a loop seamless here: events (a bell's strike,
// a bleat, a note) wrap around the loop's end into its start, and continuous noise is
// cross-faded from past the end back into the start.
#include "datagen/SoundSynth.h"
#include "engine/MathConst.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

constexpr int kRate = 22050;

// The same 15-bit generator as the game's, so the bytes are the same on every run.
class Noise {
  public:
    explicit Noise(uint32_t seed) : m_state(seed) {}
    double Next() { // -1..1
        m_state = m_state * 214013u + 2531011u;
        return (double)((m_state >> 16) & 0x7FFF) / 16383.5 - 1.0;
    }

  private:
    uint32_t m_state;
};

size_t Frames(double seconds) {
    return (size_t)std::lround(seconds * kRate);
}

// Adds `event` into `loop` from `at` seconds, wrapping past the end to the start.
void AddEvent(std::vector<float>& loop, double at, const std::vector<float>& event,
              double gain = 1.0) {
    const size_t n = loop.size(), start = Frames(at) % n;
    for (size_t i = 0; i < event.size(); ++i)
        loop[(start + i) % n] += (float)(gain * event[i]);
}

// Low-passed noise `seconds` long that joins its end to its start: made a fade longer and the
// overhang cross-faded into the start.
std::vector<float> LoopedNoise(double seconds, uint32_t seed, double cutoffHz, double amp) {
    const size_t n = Frames(seconds), fade = Frames(0.25);
    const double k = 1.0 - std::exp(-2.0 * kPiD * cutoffHz / kRate);
    Noise noise(seed);
    std::vector<float> raw(n + fade);
    double low = 0.0, lower = 0.0;
    for (float& s : raw) {
        low += k * (noise.Next() - low);
        lower += k * (low - lower);
        s = (float)lower;
    }
    double peak = 1e-9;
    for (float s : raw)
        peak = std::max(peak, (double)std::fabs(s));
    std::vector<float> out(n);
    for (size_t i = 0; i < n; ++i) {
        double s = raw[i];
        if (i < fade) {
            const double w = (double)i / (double)fade;
            s = w * raw[i] + (1.0 - w) * raw[n + i];
        }
        out[i] = (float)(amp * s / peak);
    }
    return out;
}

// An attack and release in seconds over a sound `length` seconds long, at time t.
double Envelope(double t, double length, double attack, double release) {
    if (t < 0.0 || t >= length) return 0.0;
    double e = 1.0;
    if (t < attack) e = t / attack;
    if (length - t < release) e = std::min(e, (length - t) / release);
    return e;
}

// A struck, decaying sound: partials at ratios of `base`, each with its own amplitude and decay
// (per second), lasting `seconds`.
std::vector<float> Strike(double base, const std::vector<double>& ratios,
                          const std::vector<double>& amps, const std::vector<double>& decays,
                          double seconds) {
    std::vector<float> out(Frames(seconds));
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = (double)i / kRate;
        double s = 0.0;
        for (size_t p = 0; p < ratios.size(); ++p)
            s += amps[p] * std::exp(-decays[p] * t) * std::sin(2.0 * kPiD * base * ratios[p] * t);
        out[i] = (float)(s * Envelope(t, seconds, 0.002, 0.05));
    }
    return out;
}

// A burst of band-limited noise with a quick attack and an exponential decay.
std::vector<float> Burst(uint32_t seed, double cutoffHz, double decay, double seconds) {
    std::vector<float> out(Frames(seconds));
    Noise noise(seed);
    const double k = 1.0 - std::exp(-2.0 * kPiD * cutoffHz / kRate);
    double low = 0.0;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = (double)i / kRate;
        low += k * (noise.Next() - low);
        out[i] = (float)(low * std::exp(-decay * t) * Envelope(t, seconds, 0.003, 0.02));
    }
    return out;
}

// A tone whose frequency glides from f0 to f1, with vibrato, under an envelope; `harmonics`
// partials at 1/n.
std::vector<float> Glide(double f0, double f1, double seconds, double vibratoHz,
                         double vibratoDepth, int harmonics, double attack, double release) {
    std::vector<float> out(Frames(seconds));
    double phase = 0.0;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = (double)i / kRate;
        const double f = (f0 + (f1 - f0) * t / seconds) *
                         (1.0 + vibratoDepth * std::sin(2.0 * kPiD * vibratoHz * t));
        phase += 2.0 * kPiD * f / kRate;
        double s = 0.0;
        for (int n = 1; n <= harmonics; ++n)
            s += std::sin(phase * n) / n;
        out[i] = (float)(s * Envelope(t, seconds, attack, release));
    }
    return out;
}

Clip Finish(std::vector<float> samples, double peak = 0.7) {
    double top = 1e-9;
    for (float s : samples)
        top = std::max(top, (double)std::fabs(s));
    for (float& s : samples)
        s = (float)(s * peak / top);
    return Clip{1, kRate, std::move(samples)};
}

// ---- the attractions ----

// The turning platform's mechanism: a low rumble, the drive's hum, and the cranks knocking
// twice a second.
Clip Carousel() {
    const double L = 4.0;
    std::vector<float> loop = LoopedNoise(L, 11, 180.0, 0.25);
    for (size_t i = 0; i < loop.size(); ++i) {
        const double t = (double)i / kRate;
        loop[i] += (float)(0.12 * std::sin(2.0 * kPiD * 60.0 * t) +
                           0.06 * std::sin(2.0 * kPiD * 120.0 * t));
    }
    for (int k = 0; k < 8; ++k)
        AddEvent(loop, 0.5 * k, Burst(100 + (uint32_t)k, 1500.0, 60.0, 0.08), k % 2 ? 0.3 : 0.5);
    return Finish(loop, 0.6);
}

// The lift's motor whining up the tower, the air brakes' hiss at the top, the fall's rush.
Clip DropTower() {
    const double L = 8.0;
    std::vector<float> loop = LoopedNoise(L, 21, 120.0, 0.15);
    AddEvent(loop, 0.0, Glide(180.0, 420.0, 5.0, 0.0, 0.0, 5, 0.5, 0.2), 0.35);
    AddEvent(loop, 5.2, Burst(22, 6000.0, 3.0, 0.9), 0.8);
    std::vector<float> rush = LoopedNoise(1.4, 23, 900.0, 1.0);
    for (size_t i = 0; i < rush.size(); ++i)
        rush[i] *= (float)Envelope((double)i / kRate, 1.4, 0.1, 0.6);
    AddEvent(loop, 6.2, rush, 0.45);
    return Finish(loop);
}

// An engine running on: firing strokes at `fireHz`, each a damped knock at `knockHz`, over a
// hum of `humHz` and its harmonics and a mechanical hiss.
Clip Generator(double fireHz, double knockHz, double humHz, uint32_t seed, double hiss) {
    const double L = 2.0; // every frequency below is a whole number of cycles in it
    std::vector<float> loop = LoopedNoise(L, seed, 2500.0, hiss);
    for (size_t i = 0; i < loop.size(); ++i) {
        const double t = (double)i / kRate;
        double hum = 0.0;
        for (int n = 1; n <= 4; ++n)
            hum += std::sin(2.0 * kPiD * humHz * n * t) / n;
        loop[i] += (float)(0.2 * hum);
    }
    Noise vary(seed + 1);
    const int strokes = (int)std::lround(fireHz * L);
    std::vector<float> knock = Strike(knockHz, {1.0, 2.1}, {1.0, 0.3}, {55.0, 90.0}, 0.06);
    for (int k = 0; k < strokes; ++k)
        AddEvent(loop, k / fireHz, knock, 0.5 + 0.15 * vary.Next());
    return Finish(loop, 0.6);
}

Clip GeneratorSmall() {
    return Generator(30.0, 140.0, 120.0, 31, 0.08);
}

// Slower strokes, a deeper knock and hum: a big diesel.
Clip GeneratorLarge() {
    return Generator(15.0, 60.0, 50.0, 41, 0.12);
}

// A low drone that beats against itself, wind rising and falling, and a long moan.
Clip GhostManor() {
    const double L = 8.0;
    std::vector<float> loop = LoopedNoise(L, 51, 500.0, 0.3);
    for (size_t i = 0; i < loop.size(); ++i) {
        const double t = (double)i / kRate;
        loop[i] *= (float)(0.55 + 0.45 * std::sin(2.0 * kPiD * 0.25 * t)); // two gusts a loop
        loop[i] +=
            (float)(0.18 * (std::sin(2.0 * kPiD * 55.0 * t) + std::sin(2.0 * kPiD * 55.375 * t) +
                            0.5 * std::sin(2.0 * kPiD * 82.5 * t)));
    }
    AddEvent(loop, 1.5, Glide(310.0, 190.0, 2.8, 5.0, 0.02, 3, 0.6, 1.0), 0.3);
    AddEvent(loop, 5.5, Glide(260.0, 170.0, 2.0, 4.0, 0.025, 3, 0.5, 0.8), 0.2);
    return Finish(loop);
}

// A goat's bleat: a buzzing voice with the fast warble of a goat, its harmonics shaped to an
// open vowel.
std::vector<float> Bleat(double f0, double seconds) {
    std::vector<float> out(Frames(seconds));
    double phase = 0.0;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = (double)i / kRate;
        const double warble = std::sin(2.0 * kPiD * 24.0 * t);
        const double f = f0 * (1.0 + 0.035 * warble) * (1.0 - 0.12 * t / seconds);
        phase += 2.0 * kPiD * f / kRate;
        double s = 0.0;
        for (int n = 1; n <= 14; ++n) {
            const double h = f * n;
            const double vowel = std::exp(-std::pow((h - 750.0) / 320.0, 2.0)) +
                                 0.6 * std::exp(-std::pow((h - 1800.0) / 450.0, 2.0));
            s += std::sin(phase * n) * (0.15 + vowel) / n;
        }
        out[i] = (float)(s * (0.6 + 0.4 * warble) * Envelope(t, seconds, 0.04, 0.15));
    }
    return out;
}

// The petting zoo: a few goats answering each other over the rustle of straw.
Clip Goats() {
    const double L = 6.0;
    std::vector<float> loop = LoopedNoise(L, 61, 3000.0, 0.03);
    AddEvent(loop, 0.4, Bleat(430.0, 0.7), 0.6);
    AddEvent(loop, 1.5, Bleat(540.0, 0.45), 0.45);
    AddEvent(loop, 3.8, Bleat(360.0, 0.85), 0.6);
    AddEvent(loop, 4.9, Bleat(500.0, 0.4), 0.35);
    return Finish(loop);
}

// The mallet's thud, the puck's run up the tower and the bell it rings.
Clip HighStriker() {
    const double L = 5.0;
    std::vector<float> loop = LoopedNoise(L, 71, 800.0, 0.03);
    AddEvent(loop, 0.3, Strike(70.0, {1.0, 1.6}, {1.0, 0.4}, {22.0, 35.0}, 0.3), 0.8);
    AddEvent(loop, 0.3, Burst(72, 900.0, 30.0, 0.15), 0.5);
    AddEvent(loop, 0.35, Glide(500.0, 1700.0, 0.55, 40.0, 0.05, 2, 0.02, 0.05), 0.15);
    AddEvent(loop, 0.9,
             Strike(880.0, {1.0, 2.0, 2.76, 5.4}, {1.0, 0.5, 0.4, 0.2}, {2.0, 3.0, 4.0, 6.0}, 2.5),
             0.6);
    return Finish(loop);
}

// A ship's timber creaking: the stick and slip of wood under load, clicks coming faster as it
// strains.
std::vector<float> Creak(uint32_t seed, double seconds, double fromHz, double toHz) {
    std::vector<float> out(Frames(seconds));
    Noise vary(seed);
    const std::vector<float> click = Strike(480.0, {1.0, 1.9}, {1.0, 0.5}, {180.0, 260.0}, 0.02);
    for (double t = 0.0; t < seconds;) {
        const double rate = fromHz + (toHz - fromHz) * t / seconds;
        const size_t at = Frames(t);
        const double gain = Envelope(t, seconds, 0.15, 0.2) * (0.8 + 0.2 * vary.Next());
        for (size_t i = 0; i < click.size() && at + i < out.size(); ++i)
            out[at + i] += (float)(gain * click[i]);
        t += 1.0 / rate;
    }
    return out;
}

// The swinging ship: air rushing past twice a swing, the timbers creaking at each end of it.
Clip Galleon() {
    const double L = 6.0;
    std::vector<float> loop = LoopedNoise(L, 81, 700.0, 0.35);
    for (size_t i = 0; i < loop.size(); ++i) {
        const double t = (double)i / kRate;
        const double swing = std::cos(2.0 * kPiD * t / 3.0); // fastest at 0 and 3 s
        loop[i] *= (float)(0.2 + 0.8 * swing * swing);
    }
    AddEvent(loop, 1.2, Creak(82, 0.7, 35.0, 90.0), 0.6);
    AddEvent(loop, 4.3, Creak(83, 0.8, 30.0, 75.0), 0.5);
    return Finish(loop);
}

// The kiddie train: its bell rung twice, twice a loop, over the engine's chuffing.
Clip TrainBell() {
    const double L = 4.0;
    std::vector<float> loop(Frames(L), 0.0f);
    const std::vector<float> bell =
        Strike(1046.0, {1.0, 2.0, 2.76, 5.4, 8.93}, {1.0, 0.55, 0.4, 0.22, 0.1},
               {3.0, 4.0, 5.0, 8.0, 12.0}, 1.8);
    for (double at : {0.0, 0.45, 2.0, 2.45})
        AddEvent(loop, at, bell, 0.6);
    for (int k = 0; k < 8; ++k)
        AddEvent(loop, 0.25 + 0.5 * k, Burst(90 + (uint32_t)k, 1200.0, 14.0, 0.22), 0.35);
    return Finish(loop);
}

// ---- the band organ ----

double NoteHz(int midi) {
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

// An organ pipe's note: the fundamental with its octave and twelfth, a slight tremolo.
std::vector<float> OrganNote(int midi, double seconds, double tremolo) {
    const double f = NoteHz(midi);
    std::vector<float> out(Frames(seconds));
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = (double)i / kRate;
        const double p = 2.0 * kPiD * f * t;
        const double s = std::sin(p) + 0.5 * std::sin(2.0 * p) + 0.3 * std::sin(3.0 * p) +
                         0.15 * std::sin(4.0 * p);
        out[i] = (float)(s * (1.0 + tremolo * std::sin(2.0 * kPiD * 6.0 * t)) *
                         Envelope(t, seconds, 0.012, 0.04));
    }
    return out;
}

// A waltz of eight bars, looping: the tune over an "oom-pah-pah" of bass and chords.
Clip BandOrgan() {
    const double beat = 0.375; // three beats a bar
    const int bars = 8;
    std::vector<float> loop(Frames(beat * 3 * bars), 0.0f);
    struct Note {
        double beat, beats;
        int midi;
    };
    const Note tune[] = {
        {0, 2, 76},  {2, 1, 79},  {3, 2, 84},  {5, 1, 83},  {6, 1, 81},  {7, 1, 79},
        {8, 1, 77},  {9, 3, 74},  {12, 2, 77}, {14, 1, 81}, {15, 2, 83}, {17, 1, 81},
        {18, 1, 79}, {19, 1, 77}, {20, 1, 76}, {21, 3, 72},
    };
    for (const Note& n : tune)
        AddEvent(loop, n.beat * beat, OrganNote(n.midi, n.beats * beat * 0.95, 0.08), 0.5);
    // Each bar's root for the "oom" and its chord for the "pah-pah".
    const int roots[bars] = {48, 48, 53, 43, 43, 43, 48, 48};
    const int chords[bars][3] = {{64, 67, 72}, {64, 67, 72}, {65, 69, 72}, {62, 67, 71},
                                 {62, 65, 71}, {62, 67, 71}, {64, 67, 72}, {64, 67, 72}};
    for (int b = 0; b < bars; ++b) {
        const double at = b * 3 * beat;
        AddEvent(loop, at, OrganNote(roots[b], beat * 0.8, 0.0), 0.45);
        for (int pah = 1; pah <= 2; ++pah)
            for (int note : chords[b])
                AddEvent(loop, at + pah * beat, OrganNote(note, beat * 0.45, 0.0), 0.13);
    }
    return Finish(loop);
}

} // namespace

const std::vector<AttractionSound>& AttractionSounds() {
    static const std::vector<AttractionSound> s_sounds = {
        {"Sounds/Carousel.wav", Carousel},     {"Music/BandOrgan.ogg", BandOrgan},
        {"Sounds/DropTower.wav", DropTower},   {"Sounds/GeneratorSmall.wav", GeneratorSmall},
        {"Sounds/GhostManor.wav", GhostManor}, {"Sounds/GeneratorLarge.wav", GeneratorLarge},
        {"Sounds/Goats.wav", Goats},           {"Sounds/HighStriker.wav", HighStriker},
        {"Sounds/Galleon.wav", Galleon},       {"Sounds/TrainBell.wav", TrainBell},
    };
    return s_sounds;
}
