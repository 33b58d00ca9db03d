#include "audio_forge.h"

#include "app/voice_lines.h"
#include "effects.h"
#include "music.h"
#include "voice.h"
#include "writers.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace grumbo::forge {

namespace {

bool saveClip(const std::string& folder, const std::string& name, const Track& track) {
    if (writeFile(folder + "/" + name + ".wav", encodeWav(toPcm(track)))) {
        return true;
    }
    std::fprintf(stderr, "grumbo_forge: cannot write %s/%s.wav\n", folder.c_str(), name.c_str());
    return false;
}

// espeak-ng reads the line from a file, so no text ever passes through a shell.
bool speak(const std::string& espeak, const std::string& work, const grumbo::VoiceLine& line, Track& out) {
    const std::string clip(line.clip);
    const std::string textPath = work + "/" + clip + ".txt";
    const std::string wavPath = work + "/" + clip + ".raw.wav";
    {
        std::ofstream text(textPath, std::ios::trunc);
        text << line.words << '\n';
    }
    // One fixed voice and fixed settings: an American male variant, raised pitch, wide inflection.
    const std::string command = "\"" + espeak + "\" -v en-us+m3 -p 62 -s 158 -a 160 -g 2 -f \"" + textPath +
                                "\" -w \"" + wavPath + "\" >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) {
        return false;
    }
    std::vector<std::int16_t> mono;
    int rate = 0;
    if (!readMonoWav(wavPath, mono, rate)) {
        return false;
    }
    out = shapeVoice(mono, rate);
    return true;
}

} // namespace

bool forgeAudio(const std::string& folder, const std::string& espeak) {
    bool ok = true;
    for (const EffectClip& clip : makeEffects()) {
        ok &= saveClip(folder, clip.name, clip.track);
    }
    for (const MusicClip& clip : composeMusic()) {
        ok &= saveClip(folder, clip.name, clip.track);
    }
    if (espeak.empty()) {
        std::fprintf(stderr, "grumbo_forge: no espeak-ng, voice lines skipped\n");
        return ok;
    }
    const std::string work = folder + "/voice_work.tmp";
    std::error_code error;
    std::filesystem::create_directories(work, error);
    for (const grumbo::VoiceLine& line : VOICE_LINES) {
        const std::string clip(line.clip);
        Track track;
        if (!speak(espeak, work, line, track)) {
            std::fprintf(stderr, "grumbo_forge: espeak-ng failed for %s, skipped\n", clip.c_str());
            continue;
        }
        ok &= saveClip(folder, clip, track);
    }
    std::filesystem::remove_all(work, error);
    return ok;
}

} // namespace grumbo::forge
