#include "effects.h"

#include <algorithm>
#include <cmath>

namespace grumbo::forge {

namespace {

constexpr double TAU = 6.283185307179586;

// FNV-1a: a stable seed from a clip name.
std::uint32_t seedOf(const std::string& text) {
    std::uint32_t h = 2166136261u;
    for (char ch : text) {
        h = (h ^ static_cast<std::uint8_t>(ch)) * 16777619u;
    }
    return h;
}

// Drops the silent tail so a clip is only as long as its sound.
void trimTail(Track& t) {
    size_t end = t.frames();
    while (end > 0 && std::fabs(t.left[end - 1]) < 1e-4f && std::fabs(t.right[end - 1]) < 1e-4f) {
        --end;
    }
    end = std::min(t.frames(), end + SAMPLE_RATE / 100);
    t.left.resize(end);
    t.right.resize(end);
}

Track blank(double seconds) {
    return Track(static_cast<size_t>(seconds * SAMPLE_RATE));
}

Note tone(double start, double length, float freq, float endFreq, Wave wave, float volume, Envelope env,
          float pan = 0) {
    Note n;
    n.start = start;
    n.length = length;
    n.freq = freq;
    n.endFreq = endFreq;
    n.wave = wave;
    n.volume = volume;
    n.env = env;
    n.pan = pan;
    return n;
}

// A flapping, raspy low buzz: the heart of every fart. Pitch wobbles and the amplitude flutters.
void fartBuzz(Track& t, double start, double length, float f0, float f1, float flutterHz, Rng& rng) {
    const long first = static_cast<long>(start * SAMPLE_RATE);
    const long count = static_cast<long>(length * SAMPLE_RATE);
    double phase = 0;
    float wobble = 0;
    for (long i = 0; i < count; ++i) {
        double u = static_cast<double>(i) / static_cast<double>(count);
        if (i % 400 == 0) {
            wobble = rng.range(-0.08f, 0.08f);
        }
        double f = (f0 + (f1 - f0) * u) * (1.0 + wobble);
        phase += f / SAMPLE_RATE;
        phase -= std::floor(phase);
        // Narrow pulse plus noise gated by the same cycle: a lip flap.
        double flap = phase < 0.18 ? 1.0 : -0.22;
        double grit = (rng.unit() * 2.0 - 1.0) * (phase < 0.3 ? 0.6 : 0.1);
        double flutter = 0.65 + 0.35 * std::sin(TAU * flutterHz * u * length);
        double env = std::min(1.0, u * 25.0) * std::pow(1.0 - u, 0.7);
        float v = static_cast<float>((flap * 0.7 + grit) * flutter * env * 0.6);
        t.add(first + i, v, v);
    }
}

Track fart(int variant) {
    Rng rng{9001u + static_cast<std::uint32_t>(variant) * 13u};
    Track t = blank(0.6);
    if (variant == 1) {
        fartBuzz(t, 0.0, 0.32, 95, 70, 22, rng);
    } else if (variant == 2) {
        fartBuzz(t, 0.0, 0.16, 140, 120, 30, rng);
        fartBuzz(t, 0.18, 0.22, 120, 85, 18, rng);
    } else {
        fartBuzz(t, 0.0, 0.45, 70, 160, 26, rng);
    }
    lowPass(t, 2400.0f);
    lowPass(t, 3200.0f);
    return t;
}

void noiseBurst(Track& t, double start, double length, float volume, float decay, float brightness,
                Rng& rng) {
    const long first = static_cast<long>(start * SAMPLE_RATE);
    const long count = static_cast<long>(length * SAMPLE_RATE);
    float prev = 0;
    for (long i = 0; i < count; ++i) {
        double u = static_cast<double>(i) / SAMPLE_RATE;
        float n = rng.unit() * 2.0f - 1.0f;
        float shaped = n * brightness + prev * (1.0f - brightness);
        prev = shaped;
        float v = static_cast<float>(shaped * volume * std::exp(-u * decay));
        t.add(first + i, v, v);
    }
}

Track shoot(const std::string& weapon) {
    Rng rng{seedOf(weapon)};
    Rng noise{77u + static_cast<std::uint32_t>(weapon.size())};
    const Envelope snap{0.002f, 0.05f, 0.4f, 0.05f};
    Track t = blank(0.5);
    if (weapon == "gift") {
        // Ribbon pop and a sparkly chime.
        addNote(t, tone(0, 0.03, 600, 300, Wave::Square, 0.4f, snap), noise);
        for (int i = 0; i < 3; ++i) {
            addNote(t,
                    tone(0.03 + i * 0.045, 0.05, midiToFreq(84.0f + i * 4), 0, Wave::Triangle, 0.35f, snap),
                    noise);
        }
    } else if (weapon == "ip") {
        // Modem-ish data chirps.
        for (int i = 0; i < 6; ++i) {
            addNote(t, tone(i * 0.025, 0.02, 1200.0f + (i % 3) * 500.0f, 0, Wave::Pulse25, 0.3f, snap),
                    noise);
        }
    } else if (weapon == "water") {
        addNote(t, tone(0, 0.12, 900, 2400, Wave::Sine, 0.55f, {0.002f, 0.05f, 0.5f, 0.06f}), noise);
        noiseBurst(t, 0, 0.18, 0.35f, 18, 0.25f, rng);
    } else if (weapon == "spinner") {
        for (int i = 0; i < 8; ++i) {
            addNote(t, tone(i * 0.02, 0.012, 2600.0f - i * 120.0f, 0, Wave::Triangle, 0.3f, snap), noise);
        }
    } else if (weapon == "hammer") {
        addNote(t, tone(0, 0.08, 220, 55, Wave::Square, 0.5f, {0.001f, 0.1f, 0.3f, 0.08f}), noise);
        noiseBurst(t, 0, 0.15, 0.5f, 30, 0.6f, rng);
        addNote(t, tone(0.02, 0.2, 1800, 1700, Wave::Triangle, 0.15f, {0.001f, 0.2f, 0.1f, 0.1f}), noise);
    } else if (weapon == "raid") {
        noiseBurst(t, 0, 0.45, 0.7f, 6, 0.12f, rng);
        addNote(t, tone(0, 0.3, 180, 60, Wave::Saw, 0.35f, {0.01f, 0.2f, 0.4f, 0.12f}), noise);
    } else if (weapon == "snack") {
        for (int i = 0; i < 3; ++i) {
            noiseBurst(t, i * 0.03, 0.08, 0.5f, 40, 0.8f, rng);
        }
        addNote(t, tone(0, 0.06, 300, 120, Wave::Square, 0.35f, snap), noise);
    } else if (weapon == "rgb") {
        addNote(t, tone(0, 0.18, 2400, 500, Wave::Saw, 0.3f, {0.002f, 0.1f, 0.6f, 0.05f}), noise);
        addNote(t, tone(0, 0.18, 2412, 505, Wave::Square, 0.2f, {0.002f, 0.1f, 0.6f, 0.05f}, 0.3f), noise);
    } else if (weapon == "receipt") {
        // A thermal printer rattle.
        for (int i = 0; i < 12; ++i) {
            noiseBurst(t, i * 0.018, 0.01, 0.5f, 200, 0.9f, rng);
            addNote(t, tone(i * 0.018, 0.008, 3200, 0, Wave::Square, 0.08f, snap), noise);
        }
    } else {
        // One by one: two rising tones, one after the other.
        addNote(t, tone(0, 0.07, midiToFreq(76), 0, Wave::Pulse25, 0.4f, snap), noise);
        addNote(t, tone(0.08, 0.1, midiToFreq(88), 0, Wave::Pulse25, 0.4f, snap), noise);
    }
    return t;
}

Track simple(const std::string& name) {
    Rng rng{seedOf(name)};
    Rng noise{4242};
    const Envelope pluck{0.003f, 0.08f, 0.5f, 0.08f};
    if (name == "hurt") {
        Track t = blank(0.4);
        addNote(t, tone(0, 0.18, 420, 110, Wave::Square, 0.45f, pluck), noise);
        noiseBurst(t, 0, 0.12, 0.35f, 25, 0.5f, rng);
        return t;
    }
    if (name == "pickup") {
        Track t = blank(0.4);
        addNote(t, tone(0, 0.06, midiToFreq(83), 0, Wave::Pulse25, 0.4f, pluck), noise);
        addNote(t, tone(0.06, 0.16, midiToFreq(90), 0, Wave::Pulse25, 0.4f, pluck), noise);
        return t;
    }
    if (name == "ui_confirm") {
        Track t = blank(0.25);
        addNote(t, tone(0, 0.04, midiToFreq(79), 0, Wave::Square, 0.35f, pluck), noise);
        addNote(t, tone(0.045, 0.07, midiToFreq(86), 0, Wave::Square, 0.35f, pluck), noise);
        return t;
    }
    if (name == "victory") {
        Track t = blank(2.2);
        const int notes[] = {72, 76, 79, 84, 79, 84};
        const double times[] = {0, 0.12, 0.24, 0.36, 0.6, 0.72};
        const double lengths[] = {0.1, 0.1, 0.1, 0.2, 0.1, 1.0};
        for (int i = 0; i < 6; ++i) {
            addNote(t,
                    tone(times[i], lengths[i], midiToFreq(static_cast<float>(notes[i])), 0, Wave::Pulse25,
                         0.3f, pluck, -0.2f),
                    noise);
            addNote(t,
                    tone(times[i], lengths[i], midiToFreq(static_cast<float>(notes[i] - 12)), 0,
                         Wave::Triangle, 0.4f, pluck, 0.2f),
                    noise);
        }
        Note chord = tone(0.72, 1.0, midiToFreq(64), 0, Wave::Square, 0.15f, {0.01f, 0.3f, 0.6f, 0.4f});
        addNote(t, chord, noise);
        chord.freq = midiToFreq(67);
        addNote(t, chord, noise);
        return t;
    }
    if (name == "enemy_death") {
        Track t = blank(0.5);
        noiseBurst(t, 0, 0.35, 0.6f, 12, 0.35f, rng);
        addNote(t, tone(0, 0.25, 300, 40, Wave::Square, 0.35f, pluck), noise);
        return t;
    }
    if (name == "boss_phase") {
        Track t = blank(1.4);
        addNote(t, tone(0, 0.9, 55, 40, Wave::Saw, 0.5f, {0.02f, 0.3f, 0.7f, 0.4f}), noise);
        addNote(t, tone(0, 0.9, 82.5f, 58, Wave::Square, 0.3f, {0.02f, 0.3f, 0.7f, 0.4f}), noise);
        noiseBurst(t, 0, 1.0, 0.3f, 3, 0.08f, rng);
        return t;
    }
    if (name == "hazard_warn") {
        Track t = blank(0.6);
        for (int i = 0; i < 2; ++i) {
            addNote(t, tone(i * 0.22, 0.15, 880, 0, Wave::Square, 0.35f, {0.005f, 0.02f, 0.9f, 0.03f}),
                    noise);
            addNote(t, tone(i * 0.22, 0.15, 1320, 0, Wave::Square, 0.15f, {0.005f, 0.02f, 0.9f, 0.03f}),
                    noise);
        }
        return t;
    }
    if (name == "shield_break") {
        Track t = blank(0.7);
        for (int i = 0; i < 6; ++i) {
            addNote(t,
                    tone(i * 0.03, 0.25, rng.range(2000, 4200), 0, Wave::Triangle, 0.2f,
                         {0.001f, 0.15f, 0.2f, 0.2f}, rng.range(-0.6f, 0.6f)),
                    noise);
        }
        noiseBurst(t, 0, 0.3, 0.5f, 14, 0.9f, rng);
        return t;
    }
    // dash: a quick airy whoosh.
    Track t = blank(0.35);
    const long count = static_cast<long>(0.3 * SAMPLE_RATE);
    float state = 0;
    for (long i = 0; i < count; ++i) {
        double u = static_cast<double>(i) / static_cast<double>(count);
        float cutoff = static_cast<float>(0.02 + 0.25 * std::sin(3.14159265 * u));
        state += cutoff * ((rng.unit() * 2.0f - 1.0f) - state);
        float v = static_cast<float>(state * std::sin(3.14159265 * u) * 1.6);
        t.add(i, v * static_cast<float>(1.0 - u * 0.5), v * static_cast<float>(0.5 + u * 0.5));
    }
    return t;
}

} // namespace

std::vector<EffectClip> makeEffects() {
    std::vector<EffectClip> clips;
    for (int v = 1; v <= 3; ++v) {
        clips.push_back({"fart_jump_" + std::to_string(v), fart(v)});
    }
    for (const char* weapon :
         {"gift", "ip", "water", "spinner", "hammer", "raid", "snack", "rgb", "receipt", "onebyone"}) {
        clips.push_back({std::string("shoot_") + weapon, shoot(weapon)});
    }
    for (const char* name : {"hurt", "pickup", "ui_confirm", "victory", "enemy_death", "boss_phase",
                             "hazard_warn", "shield_break", "dash"}) {
        clips.push_back({name, simple(name)});
    }
    // Effects peak near -3 dBFS with 2 ms and 20 ms fades, so no clip starts or ends on a click.
    // A steep cut below 35 Hz first takes out any offset and sub-bass thump the noise and
    // pitch sweeps leave behind: speakers cannot play it, and it eats the mixer's headroom.
    for (EffectClip& clip : clips) {
        highPass(clip.track, 35.0f);
        highPass(clip.track, 35.0f);
        trimTail(clip.track);
        fadeEnds(clip.track, 0.002f, 0.02f);
        normalisePeak(clip.track, 0.708f);
    }
    return clips;
}

} // namespace grumbo::forge
