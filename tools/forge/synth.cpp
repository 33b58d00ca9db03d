#include "synth.h"

#include <algorithm>
#include <cmath>

namespace grumbo::forge {

namespace {

constexpr double TAU = 6.283185307179586;

// PolyBLEP removes most aliasing from hard-edged waves at almost no cost.
double polyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

double pulse(double phase, double dt, double duty) {
    double v = phase < duty ? 1.0 : -1.0;
    v += polyBlep(phase, dt);
    double shifted = phase - duty;
    if (shifted < 0) {
        shifted += 1.0;
    }
    v -= polyBlep(shifted, dt);
    return v;
}

double oscillator(Wave wave, double phase, double dt, Rng& noise) {
    switch (wave) {
    case Wave::Sine:
        return std::sin(TAU * phase);
    case Wave::Triangle:
        return phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
    case Wave::Square:
        return pulse(phase, dt, 0.5) * 0.8;
    case Wave::Pulse25:
        return pulse(phase, dt, 0.25) * 0.8;
    case Wave::Pulse12:
        return pulse(phase, dt, 0.125) * 0.8;
    case Wave::Saw:
        return (2.0 * phase - 1.0 - polyBlep(phase, dt)) * 0.7;
    case Wave::Organ:
        return (std::sin(TAU * phase) + 0.5 * std::sin(2 * TAU * phase) + 0.25 * std::sin(3 * TAU * phase)) *
               0.6;
    case Wave::Noise:
        return noise.unit() * 2.0 - 1.0;
    }
    return 0.0;
}

float envelopeAt(const Envelope& env, double t, double held) {
    double level;
    if (t < env.attack) {
        level = t / std::max(1e-4f, env.attack);
    } else if (t < env.attack + env.decay) {
        level = 1.0 - (1.0 - env.sustain) * (t - env.attack) / std::max(1e-4f, env.decay);
    } else {
        level = env.sustain;
    }
    if (t > held) {
        double heldLevel =
            held < env.attack
                ? held / std::max(1e-4f, env.attack)
                : (held < env.attack + env.decay
                       ? 1.0 - (1.0 - env.sustain) * (held - env.attack) / std::max(1e-4f, env.decay)
                       : env.sustain);
        level = heldLevel * std::max(0.0, 1.0 - (t - held) / std::max(1e-4f, env.release));
    }
    return static_cast<float>(level);
}

long frameAt(double seconds) {
    return static_cast<long>(std::lround(seconds * SAMPLE_RATE));
}

// Drum hits rise over 1.5 ms: instant onsets would click, above all at a loop's first sample.
double onset(double t) {
    return std::min(1.0, t / 0.0015);
}

void panGains(float pan, float& l, float& r) {
    float p = std::clamp(pan, -1.0f, 1.0f);
    l = std::sqrt(0.5f * (1.0f - p));
    r = std::sqrt(0.5f * (1.0f + p));
}

} // namespace

void Track::add(long frame, float l, float r) {
    long n = static_cast<long>(left.size());
    if (n == 0) {
        return;
    }
    if (loops) {
        frame = ((frame % n) + n) % n;
    } else if (frame < 0 || frame >= n) {
        return;
    }
    left[static_cast<size_t>(frame)] += l;
    right[static_cast<size_t>(frame)] += r;
}

float midiToFreq(float midi) {
    return 440.0f * std::pow(2.0f, (midi - 69.0f) / 12.0f);
}

void addNote(Track& track, const Note& note, Rng& noise) {
    const long first = frameAt(note.start);
    const double total = note.length + note.env.release;
    const long count = frameAt(total);
    float gl = 0, gr = 0;
    panGains(note.pan, gl, gr);
    double phase = 0;
    for (long i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / SAMPLE_RATE;
        double f = note.freq;
        if (note.endFreq > 0) {
            f = note.freq * std::pow(static_cast<double>(note.endFreq) / note.freq,
                                     std::min(1.0, t / std::max(1e-4, total)));
        }
        if (note.vibratoDepth > 0 && t > 0.08) {
            f *= 1.0 + note.vibratoDepth * std::sin(TAU * note.vibratoRate * t);
        }
        double dt = f / SAMPLE_RATE;
        float v = static_cast<float>(oscillator(note.wave, phase, dt, noise)) *
                  envelopeAt(note.env, t, note.length) * note.volume;
        track.add(first + i, v * gl, v * gr);
        phase += dt;
        phase -= std::floor(phase);
    }
}

void kick(Track& track, double start, float volume, float pitch) {
    const long first = frameAt(start);
    const long count = frameAt(0.32);
    double phase = 0;
    for (long i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / SAMPLE_RATE;
        double f = (48.0 + 110.0 * std::exp(-t * 28.0)) * pitch;
        phase += f / SAMPLE_RATE;
        double body = std::sin(TAU * phase) * std::exp(-t * 9.0);
        double click = t < 0.004 ? (1.0 - t / 0.004) * 0.4 : 0.0;
        float v = static_cast<float>(std::tanh((body + click) * 1.6) * volume * onset(t));
        track.add(first + i, v * 0.707f, v * 0.707f);
    }
}

void snare(Track& track, double start, float volume, Rng& noise) {
    const long first = frameAt(start);
    const long count = frameAt(0.2);
    float prev = 0;
    for (long i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / SAMPLE_RATE;
        float n = noise.unit() * 2.0f - 1.0f;
        float bright = n - prev * 0.6f;
        prev = n;
        double tone = std::sin(TAU * 185.0 * t) * std::exp(-t * 30.0);
        float v = static_cast<float>((bright * 0.55 * std::exp(-t * 22.0) + tone * 0.6) * volume * onset(t));
        track.add(first + i, v * 0.75f, v * 0.66f);
    }
}

void hat(Track& track, double start, float volume, bool open, Rng& noise) {
    const long first = frameAt(start);
    const double decay = open ? 9.0 : 45.0;
    const long count = frameAt(open ? 0.3 : 0.07);
    float prev = 0;
    for (long i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / SAMPLE_RATE;
        float n = noise.unit() * 2.0f - 1.0f;
        float high = n - prev;
        prev = n;
        float v = static_cast<float>(high * 0.35 * std::exp(-t * decay) * volume * onset(t));
        track.add(first + i, v * 0.6f, v * 0.8f);
    }
}

void crash(Track& track, double start, float volume, Rng& noise) {
    const long first = frameAt(start);
    const long count = frameAt(1.2);
    float prev = 0;
    for (long i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / SAMPLE_RATE;
        float n = noise.unit() * 2.0f - 1.0f;
        float high = n - prev * 0.9f;
        prev = n;
        float v = static_cast<float>(high * 0.3 * std::exp(-t * 3.2) * volume * onset(t));
        track.add(first + i, v * 0.8f, v * 0.7f);
    }
}

float peakOf(const Track& track) {
    float peak = 0;
    for (size_t i = 0; i < track.frames(); ++i) {
        peak = std::max({peak, std::fabs(track.left[i]), std::fabs(track.right[i])});
    }
    return peak;
}

float rmsOf(const Track& track) {
    double sum = 0;
    for (size_t i = 0; i < track.frames(); ++i) {
        sum += static_cast<double>(track.left[i]) * track.left[i] +
               static_cast<double>(track.right[i]) * track.right[i];
    }
    return track.frames() == 0
               ? 0.0f
               : static_cast<float>(std::sqrt(sum / (2.0 * static_cast<double>(track.frames()))));
}

void gain(Track& track, float factor) {
    for (size_t i = 0; i < track.frames(); ++i) {
        track.left[i] *= factor;
        track.right[i] *= factor;
    }
}

void normalisePeak(Track& track, float peak) {
    float current = peakOf(track);
    if (current > 1e-6f) {
        gain(track, peak / current);
    }
}

void balanceMusic(Track& track, float targetRms, float ceiling) {
    float rms = rmsOf(track);
    if (rms > 1e-6f) {
        gain(track, targetRms / rms);
    }
    // Soft knee: samples above 60 % of the ceiling are bent smoothly toward it, never past it.
    const float knee = ceiling * 0.6f;
    auto soft = [&](float v) {
        float a = std::fabs(v);
        if (a <= knee) {
            return v;
        }
        float over = (a - knee) / (ceiling - knee);
        float bent = knee + (ceiling - knee) * std::tanh(over);
        return v < 0 ? -bent : bent;
    };
    for (size_t i = 0; i < track.frames(); ++i) {
        track.left[i] = soft(track.left[i]);
        track.right[i] = soft(track.right[i]);
    }
}

void fadeEnds(Track& track, float fadeInSeconds, float fadeOutSeconds) {
    const size_t n = track.frames();
    const size_t in = std::min(n, static_cast<size_t>(fadeInSeconds * SAMPLE_RATE));
    const size_t out = std::min(n, static_cast<size_t>(fadeOutSeconds * SAMPLE_RATE));
    for (size_t i = 0; i < in; ++i) {
        float g = static_cast<float>(i) / static_cast<float>(in);
        track.left[i] *= g;
        track.right[i] *= g;
    }
    for (size_t i = 0; i < out; ++i) {
        float g = static_cast<float>(i) / static_cast<float>(out);
        track.left[n - 1 - i] *= g;
        track.right[n - 1 - i] *= g;
    }
}

namespace {

template <typename Step> void filterChannel(std::vector<float>& channel, bool loops, Step step) {
    float state = 0;
    // A looping track is filtered twice round so the state entering the loop is the one leaving it.
    if (loops) {
        for (float v : channel) {
            step(state, v);
        }
    }
    for (float& v : channel) {
        v = step(state, v);
    }
}

} // namespace

void lowPass(Track& track, float cutoffHz) {
    const float a = 1.0f - std::exp(static_cast<float>(-TAU) * cutoffHz / SAMPLE_RATE);
    auto step = [a](float& state, float v) {
        state += a * (v - state);
        return state;
    };
    filterChannel(track.left, track.loops, step);
    filterChannel(track.right, track.loops, step);
}

void highPass(Track& track, float cutoffHz) {
    const float a = 1.0f - std::exp(static_cast<float>(-TAU) * cutoffHz / SAMPLE_RATE);
    auto step = [a](float& state, float v) {
        state += a * (v - state);
        return v - state;
    };
    filterChannel(track.left, track.loops, step);
    filterChannel(track.right, track.loops, step);
}

std::vector<std::int16_t> toPcm(const Track& track) {
    std::vector<std::int16_t> pcm(track.frames() * 2);
    for (size_t i = 0; i < track.frames(); ++i) {
        pcm[2 * i] =
            static_cast<std::int16_t>(std::lround(std::clamp(track.left[i], -1.0f, 1.0f) * 32767.0f));
        pcm[2 * i + 1] =
            static_cast<std::int16_t>(std::lround(std::clamp(track.right[i], -1.0f, 1.0f) * 32767.0f));
    }
    return pcm;
}

} // namespace grumbo::forge
