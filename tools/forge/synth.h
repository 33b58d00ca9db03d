#pragma once

// A small deterministic synthesiser: stereo float tracks, band-limited oscillators, envelopes,
// drum voices and the level tools the catalogue is balanced with.

#include "image.h"

#include <cstdint>
#include <vector>

namespace grumbo::forge {

inline constexpr int SAMPLE_RATE = 44100;

struct Track {
    std::vector<float> left;
    std::vector<float> right;
    // A looping track wraps every write around its end, so tails that run past the loop point
    // reappear at its start and the loop joins without a seam.
    bool loops = false;

    explicit Track(size_t frames = 0, bool looping = false)
        : left(frames, 0.0f), right(frames, 0.0f), loops(looping) {}
    size_t frames() const { return left.size(); }
    void add(long frame, float l, float r);
};

enum class Wave { Sine, Triangle, Square, Pulse25, Pulse12, Saw, Organ, Noise };

struct Envelope {
    float attack = 0.005f;
    float decay = 0.08f;
    float sustain = 0.7f;
    float release = 0.06f;
};

struct Note {
    double start = 0;    // seconds
    double length = 0.2; // seconds held before the release
    float freq = 440;
    float endFreq = 0; // slide target; 0 keeps the pitch
    Wave wave = Wave::Square;
    float volume = 0.3f;
    float pan = 0; // -1 left .. 1 right
    Envelope env;
    float vibratoDepth = 0; // fraction of the frequency
    float vibratoRate = 5.5f;
};

float midiToFreq(float midi);
void addNote(Track& track, const Note& note, Rng& noise);

// Drum voices at a start time in seconds.
void kick(Track& track, double start, float volume, float pitch = 1.0f);
void snare(Track& track, double start, float volume, Rng& noise);
void hat(Track& track, double start, float volume, bool open, Rng& noise);
void crash(Track& track, double start, float volume, Rng& noise);

// Level tools.
float peakOf(const Track& track);
float rmsOf(const Track& track);
void gain(Track& track, float factor);
void normalisePeak(Track& track, float peak);
// Brings the loudness near a target RMS and then rounds peaks off smoothly below the ceiling.
void balanceMusic(Track& track, float targetRms, float ceiling);
// Short fades at both ends so a one-shot never starts or stops with a click.
void fadeEnds(Track& track, float fadeInSeconds, float fadeOutSeconds);
// One-pole low-pass, run twice around a looping track so its state meets itself at the seam.
void lowPass(Track& track, float cutoffHz);
void highPass(Track& track, float cutoffHz);

std::vector<std::int16_t> toPcm(const Track& track);

} // namespace grumbo::forge
