#include "music.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace grumbo::forge {

namespace {

enum class Groove { Straight, Driving, HalfTime, Swing, Sparse, March };

struct Song {
    const char* name;
    float bpm;
    int root;                  // MIDI note of the key's tonic, bass octave
    std::array<int, 7> scale;  // semitone offsets of the seven degrees
    std::array<int, 8> chords; // scale degree of each bar's chord (0-based)
    Wave lead;
    Wave bass;
    Wave arp;
    Groove groove;
    float energy; // 0 calm .. 1 frantic
    std::uint32_t seed;
};

constexpr std::array<int, 7> MAJOR = {0, 2, 4, 5, 7, 9, 11};
constexpr std::array<int, 7> MINOR = {0, 2, 3, 5, 7, 8, 10};
constexpr std::array<int, 7> DORIAN = {0, 2, 3, 5, 7, 9, 10};
constexpr std::array<int, 7> MIXOLYDIAN = {0, 2, 4, 5, 7, 9, 10};
constexpr std::array<int, 7> PHRYGIAN = {0, 1, 3, 5, 7, 8, 10};
constexpr std::array<int, 7> HARMONIC = {0, 2, 3, 5, 7, 8, 11};

constexpr int BARS = 8;
constexpr int STEPS_PER_BAR = 16;

// Semitone offset of a scale degree that may run past one octave.
int degreeOffset(const std::array<int, 7>& scale, int degree) {
    int octave = degree >= 0 ? degree / 7 : (degree - 6) / 7;
    int index = degree - octave * 7;
    return scale[static_cast<size_t>(index)] + 12 * octave;
}

struct Grid {
    long stepFrames;
    double stepSeconds;
    long loopFrames;
};

Grid gridFor(float bpm) {
    Grid g;
    // Whole frames per sixteenth so the loop is an exact number of steps.
    g.stepFrames = std::lround(SAMPLE_RATE * 60.0 / bpm / 4.0);
    g.stepSeconds = static_cast<double>(g.stepFrames) / SAMPLE_RATE;
    g.loopFrames = g.stepFrames * STEPS_PER_BAR * BARS;
    return g;
}

double stepTime(const Grid& g, int bar, int step, Groove groove) {
    double t = (bar * STEPS_PER_BAR + step) * g.stepSeconds;
    if (groove == Groove::Swing && step % 4 == 2) {
        t += g.stepSeconds * 0.33;
    }
    return t;
}

void drums(Track& track, const Song& song, const Grid& g, Rng& noise) {
    const float e = song.energy;
    for (int bar = 0; bar < BARS; ++bar) {
        const bool fill = bar == BARS - 1;
        for (int s = 0; s < STEPS_PER_BAR; ++s) {
            double t = stepTime(g, bar, s, song.groove);
            switch (song.groove) {
            case Groove::Driving:
                if (s % 4 == 0) {
                    kick(track, t, 0.95f);
                }
                if (s == 4 || s == 12 || (fill && s >= 12 && s % 1 == 0)) {
                    snare(track, t, fill && s > 12 ? 0.5f : 0.75f, noise);
                }
                hat(track, t, s % 2 ? 0.35f : 0.55f, s % 8 == 6, noise);
                break;
            case Groove::HalfTime:
                if (s == 0 || s == 10) {
                    kick(track, t, 0.9f, 0.85f);
                }
                if (s == 8) {
                    snare(track, t, 0.7f, noise);
                }
                if (s % 4 == 0) {
                    hat(track, t, 0.35f, false, noise);
                }
                break;
            case Groove::Swing:
                if (s == 0 || s == 8) {
                    kick(track, t, 0.6f);
                }
                if (s == 4 || s == 12) {
                    snare(track, t, 0.35f, noise);
                }
                if (s % 4 == 0 || s % 4 == 2) {
                    hat(track, t, 0.4f, s % 8 == 4, noise);
                }
                break;
            case Groove::Sparse:
                if (s == 0 && bar % 2 == 0) {
                    kick(track, t, 0.55f, 0.7f);
                }
                if (s == 12 && bar % 2 == 1) {
                    hat(track, t, 0.3f, true, noise);
                }
                break;
            case Groove::March:
                if (s % 4 == 0) {
                    kick(track, t, 0.8f, 0.9f);
                }
                if (s % 8 == 4 || (s % 2 == 0 && fill)) {
                    snare(track, t, 0.6f, noise);
                }
                if (s % 2 == 0) {
                    hat(track, t, 0.3f, false, noise);
                }
                break;
            case Groove::Straight:
                if (s == 0 || s == 6 || s == 8 || (e > 0.5f && s == 14)) {
                    kick(track, t, 0.85f);
                }
                if (s == 4 || s == 12 || (fill && (s == 13 || s == 14 || s == 15))) {
                    snare(track, t, 0.65f, noise);
                }
                if (s % 2 == 0 || e > 0.6f) {
                    hat(track, t, s % 4 == 0 ? 0.45f : 0.3f, s == 14, noise);
                }
                break;
            }
        }
    }
    crash(track, 0.0, 0.45f, noise);
}

void bassLine(Track& track, const Song& song, const Grid& g, Rng& noise) {
    for (int bar = 0; bar < BARS; ++bar) {
        int chordRoot = song.root + degreeOffset(song.scale, song.chords[static_cast<size_t>(bar)]);
        for (int s = 0; s < STEPS_PER_BAR; ++s) {
            int interval = -1;
            float len = 1.6f;
            switch (song.groove) {
            case Groove::Driving:
                interval = (s % 2 == 0) ? (s % 8 == 6 ? 12 : 0) : -1;
                len = 1.7f;
                break;
            case Groove::HalfTime:
                interval = (s == 0) ? 0 : (s == 10 ? 0 : (s == 14 ? 7 : -1));
                len = s == 0 ? 8.0f : 3.0f;
                break;
            case Groove::Swing: {
                // Walking bass: root, third, fifth, approach.
                static constexpr int WALK[4] = {0, 4, 7, 11};
                interval = s % 4 == 0 ? WALK[s / 4] - (s == 12 ? 1 : 0) : -1;
                len = 3.2f;
                break;
            }
            case Groove::Sparse:
                interval = s == 0 ? 0 : -1;
                len = 14.0f;
                break;
            case Groove::March:
                interval = s % 4 == 0 ? (s % 8 == 4 ? 7 : 0) : -1;
                len = 2.5f;
                break;
            case Groove::Straight:
                interval = (s == 0 || s == 3 || s == 6 || s == 8 || s == 11 || s == 14)
                               ? (s == 11 ? 7 : (s == 14 ? 12 : 0))
                               : -1;
                len = 2.0f;
                break;
            }
            if (interval < 0) {
                continue;
            }
            Note n;
            n.start = stepTime(g, bar, s, song.groove);
            n.length = g.stepSeconds * len;
            n.freq = midiToFreq(static_cast<float>(chordRoot + interval));
            n.wave = song.bass;
            n.volume = song.bass == Wave::Triangle || song.bass == Wave::Sine ? 0.38f : 0.22f;
            n.pan = 0;
            n.env = {0.004f, 0.09f, 0.55f, 0.05f};
            addNote(track, n, noise);
        }
    }
}

void arpeggio(Track& track, const Song& song, const Grid& g, Rng& noise) {
    for (int bar = 0; bar < BARS; ++bar) {
        int degree = song.chords[static_cast<size_t>(bar)];
        for (int s = 0; s < STEPS_PER_BAR; ++s) {
            if (song.groove == Groove::Sparse ? s % 4 != 0 : (song.energy < 0.5f && s % 2 == 1)) {
                continue;
            }
            static constexpr int SHAPE[4] = {0, 2, 4, 7};
            int chordTone = degree + SHAPE[s % 4 == 3 ? 1 : s % 4];
            Note n;
            n.start = stepTime(g, bar, s, song.groove);
            n.length = g.stepSeconds * (song.groove == Groove::Sparse ? 3.0f : 0.7f);
            n.freq = midiToFreq(static_cast<float>(song.root + 24 + degreeOffset(song.scale, chordTone)));
            n.wave = song.arp;
            n.volume = 0.09f;
            n.pan = (s % 2 == 0) ? -0.45f : 0.45f;
            n.env = {0.003f, 0.05f, 0.4f, 0.08f};
            addNote(track, n, noise);
        }
    }
}

// Melody: a two-bar motif, answered, repeated with a new ending, resolved to the tonic at the loop.
void melody(Track& track, const Song& song, const Grid& g, Rng& rng, Rng& noise) {
    static constexpr std::array<std::array<int, 8>, 6> RHYTHMS = {{
        {1, 0, 1, 0, 1, 1, 0, 1},
        {1, 0, 0, 1, 0, 0, 1, 0},
        {1, 1, 0, 1, 1, 0, 1, 0},
        {1, 0, 1, 1, 0, 1, 0, 0},
        {1, 0, 0, 0, 1, 0, 1, 1},
        {1, 1, 1, 0, 1, 0, 0, 0},
    }};
    struct Phrase {
        std::array<int, 16> degrees;
        std::array<int, 16> on;
    };
    auto makePhrase = [&](int startBar) {
        Phrase p{};
        int degree = 7 + rng.below(3) * 2;
        for (int half = 0; half < 2; ++half) {
            const auto& rhythm = RHYTHMS[static_cast<size_t>(rng.below(static_cast<int>(RHYTHMS.size())))];
            int chord = song.chords[static_cast<size_t>(startBar + half)];
            for (int k = 0; k < 8; ++k) {
                size_t idx = static_cast<size_t>(half * 8 + k);
                p.on[idx] = rhythm[static_cast<size_t>(k)];
                int step = rng.below(5) - 2;
                degree = std::clamp(degree + step, 4, 13);
                if (k % 4 == 0) {
                    // Strong beats land on a chord tone.
                    int best = chord;
                    for (int c : {chord + 2, chord + 4, chord + 7, chord + 9, chord + 11}) {
                        if (std::abs(c - degree) < std::abs(best - degree)) {
                            best = c;
                        }
                    }
                    degree = std::clamp(best, 4, 14);
                }
                p.degrees[idx] = degree;
            }
        }
        return p;
    };
    Phrase a = makePhrase(0);
    Phrase b = makePhrase(2);
    Phrase c = makePhrase(4);
    std::array<Phrase, 4> plan = {a, b, c, a};
    // The last phrase closes on the tonic so the loop turns over naturally.
    plan[3].degrees[14] = 7;
    plan[3].degrees[15] = 7;
    plan[3].on[15] = 0;
    plan[3].on[14] = 1;
    const double eighth = g.stepSeconds * 2;
    for (int ph = 0; ph < 4; ++ph) {
        const Phrase& p = plan[static_cast<size_t>(ph)];
        for (int k = 0; k < 16; ++k) {
            if (!p.on[static_cast<size_t>(k)]) {
                continue;
            }
            int hold = 1;
            while (k + hold < 16 && !p.on[static_cast<size_t>(k + hold)] && hold < 3) {
                ++hold;
            }
            int bar = ph * 2 + k / 8;
            Note n;
            n.start = stepTime(g, bar, (k % 8) * 2, song.groove);
            n.length = eighth * hold * 0.85;
            n.freq = midiToFreq(static_cast<float>(
                song.root + 24 + degreeOffset(song.scale, p.degrees[static_cast<size_t>(k)])));
            n.wave = song.lead;
            n.volume = song.lead == Wave::Sine || song.lead == Wave::Triangle ? 0.36f : 0.22f;
            n.pan = 0.12f;
            n.env = {0.006f, 0.12f, 0.65f, 0.09f};
            n.vibratoDepth = hold > 1 ? 0.006f : 0.0f;
            addNote(track, n, noise);
            // A quiet echo one dotted eighth later widens the lead.
            Note echo = n;
            echo.start += eighth * 1.5;
            echo.volume *= 0.3f;
            echo.pan = -0.5f;
            addNote(track, echo, noise);
        }
    }
}

Track render(const Song& song) {
    Grid g = gridFor(song.bpm);
    Track track(static_cast<size_t>(g.loopFrames), true);
    Rng noise{song.seed * 2654435761u + 17u};
    Rng rng{song.seed};
    drums(track, song, g, noise);
    bassLine(track, song, g, noise);
    arpeggio(track, song, g, noise);
    melody(track, song, g, rng, noise);
    highPass(track, 28.0f);
    balanceMusic(track, 0.19f, 0.89f);
    return track;
}

// Worlds come in pairs that share key and tempo, so the boss music of a pair (boss clip = world / 2)
// slots in without a key change.
struct PairKey {
    float bpm;
    int root;
};
constexpr PairKey PAIRS[5] = {{128, 45}, {112, 40}, {136, 43}, {124, 38}, {140, 41}};

Song worldSong(int world) {
    const PairKey& key = PAIRS[world / 2];
    static const std::array<Song, 10> SONGS = {{
        {"music_1",
         0,
         0,
         DORIAN,
         {0, 0, 6, 6, 3, 3, 4, 4},
         Wave::Pulse25,
         Wave::Triangle,
         Wave::Pulse12,
         Groove::Straight,
         0.55f,
         101},
        {"music_2",
         0,
         0,
         MINOR,
         {0, 5, 2, 6, 0, 5, 3, 4},
         Wave::Square,
         Wave::Triangle,
         Wave::Pulse25,
         Groove::Straight,
         0.6f,
         202},
        {"music_3",
         0,
         0,
         MINOR,
         {0, 0, 5, 5, 3, 3, 4, 4},
         Wave::Triangle,
         Wave::Sine,
         Wave::Pulse12,
         Groove::HalfTime,
         0.35f,
         303},
        {"music_4",
         0,
         0,
         MAJOR,
         {0, 3, 4, 0, 5, 3, 1, 4},
         Wave::Pulse25,
         Wave::Triangle,
         Wave::Pulse12,
         Groove::Straight,
         0.7f,
         404},
        {"music_5",
         0,
         0,
         HARMONIC,
         {0, 0, 3, 3, 5, 5, 4, 4},
         Wave::Square,
         Wave::Triangle,
         Wave::Pulse25,
         Groove::March,
         0.6f,
         505},
        {"music_6",
         0,
         0,
         MAJOR,
         {0, 4, 5, 3, 0, 4, 3, 4},
         Wave::Triangle,
         Wave::Triangle,
         Wave::Pulse12,
         Groove::Straight,
         0.5f,
         606},
        {"music_7",
         0,
         0,
         PHRYGIAN,
         {0, 1, 0, 6, 0, 1, 5, 6},
         Wave::Saw,
         Wave::Square,
         Wave::Pulse12,
         Groove::Driving,
         0.8f,
         707},
        {"music_8",
         0,
         0,
         MIXOLYDIAN,
         {0, 6, 3, 0, 0, 6, 3, 4},
         Wave::Pulse25,
         Wave::Triangle,
         Wave::Organ,
         Groove::Straight,
         0.65f,
         808},
        {"music_9",
         0,
         0,
         DORIAN,
         {0, 3, 0, 3, 5, 6, 4, 4},
         Wave::Square,
         Wave::Triangle,
         Wave::Pulse12,
         Groove::Driving,
         0.75f,
         909},
        {"music_10",
         0,
         0,
         MAJOR,
         {0, 5, 3, 4, 0, 5, 3, 4},
         Wave::Saw,
         Wave::Triangle,
         Wave::Pulse25,
         Groove::Straight,
         0.8f,
         1010},
    }};
    Song song = SONGS[static_cast<size_t>(world)];
    song.bpm = key.bpm;
    song.root = key.root;
    return song;
}

Song bossSong(int boss) {
    const PairKey& key = PAIRS[boss];
    Song song{"boss",
              key.bpm,
              key.root,
              HARMONIC,
              {0, 0, 5, 5, 0, 0, 4, 4},
              Wave::Saw,
              Wave::Square,
              Wave::Pulse25,
              Groove::Driving,
              1.0f,
              5000u + static_cast<std::uint32_t>(boss) * 31u};
    if (boss % 2 == 1) {
        song.scale = PHRYGIAN;
        song.chords = {0, 1, 0, 1, 5, 5, 6, 4};
    }
    return song;
}

Song eliteSong(int elite) {
    // A chase layer keyed to the first world that uses it.
    const PairKey& key = PAIRS[elite / 2];
    return {"elite",
            key.bpm,
            key.root,
            MINOR,
            {0, 6, 5, 6, 0, 6, 5, 4},
            Wave::Pulse25,
            Wave::Square,
            Wave::Pulse12,
            Groove::Driving,
            0.9f,
            7000u + static_cast<std::uint32_t>(elite) * 17u};
}

Track ambientBed() {
    // Twenty seconds of wind and a slow drone; every partial completes whole cycles in the loop.
    const long frames = 20L * SAMPLE_RATE;
    const double seconds = static_cast<double>(frames) / SAMPLE_RATE;
    Track track(static_cast<size_t>(frames), true);
    Rng noise{424242};
    auto whole = [seconds](double hz) { return std::round(hz * seconds) / seconds; };
    const double drones[4] = {whole(55.0), whole(82.5), whole(110.3), whole(164.6)};
    const double swell = whole(0.1);
    for (long i = 0; i < frames; ++i) {
        double t = static_cast<double>(i) / SAMPLE_RATE;
        double s = 0;
        for (int k = 0; k < 4; ++k) {
            s += std::sin(6.283185307179586 * drones[k] * t) * (0.5 / (k + 1));
        }
        double wind = (noise.unit() * 2.0 - 1.0) * (0.55 + 0.45 * std::sin(6.283185307179586 * swell * t));
        double slow = 0.6 + 0.4 * std::sin(6.283185307179586 * whole(0.05) * t + 1.0);
        track.left[static_cast<size_t>(i)] = static_cast<float>(s * slow * 0.3 + wind * 0.5);
        track.right[static_cast<size_t>(i)] = static_cast<float>(s * (1.0 - slow * 0.3) * 0.3 + wind * 0.45);
    }
    lowPass(track, 900.0f);
    lowPass(track, 1400.0f);
    balanceMusic(track, 0.12f, 0.7f);
    return track;
}

} // namespace

std::vector<MusicClip> composeMusic() {
    std::vector<MusicClip> clips;
    Song menu{"music_menu",
              118,
              43,
              MAJOR,
              {0, 4, 5, 3, 0, 4, 3, 4},
              Wave::Pulse25,
              Wave::Triangle,
              Wave::Pulse12,
              Groove::Straight,
              0.6f,
              42};
    clips.push_back({"music_menu", render(menu)});
    for (int w = 0; w < 10; ++w) {
        clips.push_back({"music_" + std::to_string(w + 1), render(worldSong(w))});
    }
    for (int b = 0; b < 5; ++b) {
        clips.push_back({"boss_" + std::to_string(b + 1), render(bossSong(b))});
    }
    for (int e = 0; e < 3; ++e) {
        clips.push_back({"elite_" + std::to_string(e + 1), render(eliteSong(e))});
    }
    Song grocery{
        "theme_grocery", 104,           41,   MAJOR, {0, 5, 1, 4, 0, 5, 1, 4}, Wave::Organ, Wave::Sine,
        Wave::Triangle,  Groove::Swing, 0.3f, 61};
    Song horror{
        "theme_horror", 84,   38, HARMONIC, {0, 0, 5, 5, 3, 3, 4, 4}, Wave::Triangle, Wave::Sine, Wave::Sine,
        Groove::Sparse, 0.2f, 62};
    Song bunker{"theme_bunker",
                96,
                36,
                PHRYGIAN,
                {0, 0, 1, 1, 0, 0, 6, 1},
                Wave::Pulse12,
                Wave::Square,
                Wave::Pulse12,
                Groove::March,
                0.5f,
                63};
    Song cards{
        "theme_cards", 112,           44,   DORIAN, {0, 3, 0, 3, 4, 3, 1, 4}, Wave::Sine, Wave::Triangle,
        Wave::Organ,   Groove::Swing, 0.4f, 64};
    for (const Song& theme : {grocery, horror, bunker, cards}) {
        clips.push_back({theme.name, render(theme)});
    }
    clips.push_back({"ambient", ambientBed()});
    return clips;
}

} // namespace grumbo::forge
