// Writes the game's and the tests' sounds into the data folder: 16-bit PCM WAV effects under
// "Sounds/" and Ogg Vorbis music under "Music/", all synthesised here (the attractions' own in
// GenAttractionSounds.cpp).
#include "datagen/SoundSynth.h"
#include "engine/MathConst.h"

#include <sys/stat.h>
#include <vorbis/vorbisenc.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// ---- sample synthesis ----

// A tone per channel, faded in and out over 5 ms so it starts and ends without a click.
static Clip Tone(int channels, int rate, double seconds, const double* freqs, double amp) {
    Clip c{channels, rate, {}};
    size_t frames = (size_t)(seconds * rate);
    size_t fade = (size_t)(0.005 * rate);
    for (size_t i = 0; i < frames; ++i) {
        double env = 1.0;
        if (i < fade) env = (double)i / (double)fade;
        if (frames - i < fade) env = (double)(frames - i) / (double)fade;
        for (int ch = 0; ch < channels; ++ch)
            c.samples.push_back(
                (float)(amp * env * std::sin(2.0 * kPiD * freqs[ch] * (double)i / rate)));
    }
    return c;
}

// A short, quickly decaying 2 kHz tick: the interface click.
static Clip ClickSound() {
    Clip c{1, 22050, {}};
    size_t frames = (size_t)(0.03 * c.rate);
    for (size_t i = 0; i < frames; ++i) {
        double t = (double)i / c.rate;
        c.samples.push_back(
            (float)(0.8 * std::exp(-t * 200.0) * std::sin(2.0 * kPiD * 2000.0 * t)));
    }
    return c;
}

// Four seconds of a soft chord that loops seamlessly: every frequency, and the slow swell,
// completes a whole number of cycles in the loop.
static Clip MenuLoop() {
    Clip c{2, 44100, {}};
    const double seconds = 4.0;
    size_t frames = (size_t)(seconds * c.rate);
    const double left[3] = {220.0, 277.0, 330.0};
    const double right[3] = {165.0, 247.0, 330.0};
    for (size_t i = 0; i < frames; ++i) {
        double t = (double)i / c.rate;
        double swell = 0.75 + 0.25 * std::sin(2.0 * kPiD * 0.5 * t);
        double l = 0.0, r = 0.0;
        for (int k = 0; k < 3; ++k) {
            l += std::sin(2.0 * kPiD * left[k] * t);
            r += std::sin(2.0 * kPiD * right[k] * t);
        }
        c.samples.push_back((float)(0.2 * swell * l));
        c.samples.push_back((float)(0.2 * swell * r));
    }
    return c;
}

// Two seconds of a venue's own chord, looping seamlessly like the menu loop: every frequency is
// a multiple of half a hertz (the right side a fifth above) and the swell runs at 0.5 Hz.
static Clip VenueLoop(const double (&chord)[3]) {
    Clip c{2, 44100, {}};
    const size_t frames = (size_t)(2.0 * c.rate);
    for (size_t i = 0; i < frames; ++i) {
        double t = (double)i / c.rate;
        double swell = 0.75 + 0.25 * std::sin(2.0 * kPiD * 0.5 * t);
        double l = 0.0, r = 0.0;
        for (int k = 0; k < 3; ++k) {
            l += std::sin(2.0 * kPiD * chord[k] * t);
            r += std::sin(2.0 * kPiD * chord[k] * 1.5 * t);
        }
        c.samples.push_back((float)(0.15 * swell * l));
        c.samples.push_back((float)(0.15 * swell * r));
    }
    return c;
}

// The "musicFile" of every venue the shipped "Venue.ini" lists, each with its chord.
struct VenueSong {
    const char* file;
    double chord[3];
};
static const VenueSong kVenueSongs[] = {
    {"CedarCounty.ogg", {196.0, 247.0, 294.0}}, {"Lakeside.ogg", {220.0, 262.0, 330.0}},
    {"HarborPier.ogg", {175.0, 220.0, 262.0}},  {"RedMesa.ogg", {147.0, 185.0, 220.0}},
    {"StateFair.ogg", {262.0, 330.0, 392.0}},
};

// ---- writers ----

static void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back((uint8_t)v);
    out.push_back((uint8_t)(v >> 8));
}
static void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

static bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "gen_sounds: cannot write %s\n", path.c_str());
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fclose(f) == 0 && ok;
    if (!ok) std::fprintf(stderr, "gen_sounds: write failed: %s\n", path.c_str());
    return ok;
}

static bool WriteWav(const std::string& path, const Clip& c) {
    uint32_t dataBytes = (uint32_t)(c.samples.size() * 2);
    std::vector<uint8_t> out;
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    Put32(out, 36 + dataBytes);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    Put32(out, 16);
    Put16(out, 1); // PCM
    Put16(out, (uint32_t)c.channels);
    Put32(out, (uint32_t)c.rate);
    Put32(out, (uint32_t)(c.rate * c.channels * 2));
    Put16(out, (uint32_t)(c.channels * 2));
    Put16(out, 16);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    Put32(out, dataBytes);
    for (float s : c.samples) {
        long v = std::lround(s * 32767.0f);
        v = v > 32767 ? 32767 : v < -32768 ? -32768 : v;
        Put16(out, (uint32_t)(uint16_t)(int16_t)v);
    }
    return WriteBytes(path, out);
}

static void TakePage(std::vector<uint8_t>& out, const ogg_page& page) {
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

// Ogg Vorbis at quality 0.4. A clip with no samples gives a valid stream that holds no audio.
static bool WriteOgg(const std::string& path, const Clip& c) {
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, c.channels, c.rate, 0.4f) != 0) {
        std::fprintf(stderr, "gen_sounds: vorbis encoder refused %s\n", path.c_str());
        vorbis_info_clear(&vi);
        return false;
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_comment_add_tag(&vc, "ENCODER", "gen_sounds");
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 0x46414952); // fixed serial: the same bytes on every run

    std::vector<uint8_t> out;
    ogg_packet header, comment, codebooks;
    vorbis_analysis_headerout(&vd, &vc, &header, &comment, &codebooks);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comment);
    ogg_stream_packetin(&os, &codebooks);
    ogg_page page;
    while (ogg_stream_flush(&os, &page))
        TakePage(out, page);

    const size_t chunk = 1024;
    size_t frames = c.Frames();
    for (size_t at = 0;;) {
        size_t n = frames - at < chunk ? frames - at : chunk;
        if (n > 0) {
            float** buf = vorbis_analysis_buffer(&vd, (int)n);
            for (size_t i = 0; i < n; ++i)
                for (int ch = 0; ch < c.channels; ++ch)
                    buf[ch][i] = c.samples[(at + i) * (size_t)c.channels + (size_t)ch];
        }
        vorbis_analysis_wrote(&vd, (int)n); // 0 marks the end of the stream
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&vd, &packet)) {
                ogg_stream_packetin(&os, &packet);
                while (ogg_stream_pageout(&os, &page))
                    TakePage(out, page);
            }
        }
        if (n == 0) break;
        at += n;
    }
    while (ogg_stream_flush(&os, &page))
        TakePage(out, page);

    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return WriteBytes(path, out);
}

static bool MakeDir(const std::string& path) {
    if (mkdir(path.c_str(), 0755) == 0 || errno == EEXIST) return true;
    std::fprintf(stderr, "gen_sounds: cannot make %s\n", path.c_str());
    return false;
}

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: gen_sounds <Data folder>/\n");
        return 2;
    }
    std::string data = argv[1];
    std::string sounds = data + "Sounds/", music = data + "Music/";
    if (!MakeDir(sounds) || !MakeDir(music)) return 1;

    const double a440[1] = {440.0};
    const double stereo[2] = {440.0, 660.0};
    bool ok = WriteWav(sounds + "Click.wav", ClickSound());
    ok = WriteWav(sounds + "ToneMono.wav", Tone(1, 22050, 0.5, a440, 0.5)) && ok;
    ok = WriteWav(sounds + "ToneStereo.wav", Tone(2, 44100, 0.5, stereo, 0.5)) && ok;
    ok = WriteOgg(music + "MenuLoop.ogg", MenuLoop()) && ok;
    for (const VenueSong& song : kVenueSongs)
        ok = WriteOgg(music + song.file, VenueLoop(song.chord)) && ok;
    ok = WriteOgg(music + "ToneMono.ogg", Tone(1, 22050, 1.0, a440, 0.5)) && ok;
    ok = WriteOgg(music + "Silence.ogg", Clip{2, 44100, {}}) && ok;
    // Front and rear left at 440 Hz, front and rear right at 660 Hz: the stereo down-mix keeps
    // each side's pitch.
    const double quad[4] = {440.0, 660.0, 440.0, 660.0};
    ok = WriteOgg(music + "ToneQuad.ogg", Tone(4, 44100, 1.0, quad, 0.5)) && ok;
    for (const AttractionSound& sound : AttractionSounds()) {
        const std::string path = data + sound.file;
        const bool ogg = path.size() > 4 && path.compare(path.size() - 4, 4, ".ogg") == 0;
        ok = (ogg ? WriteOgg(path, sound.make()) : WriteWav(path, sound.make())) && ok;
    }
    return ok ? 0 : 1;
}
