#pragma once

// The streamer's voice lines (app/voice_lines.h), spoken by espeak-ng and shaped into one comic voice.

#include "synth.h"

#include <string>
#include <vector>

namespace grumbo::forge {

// Turns espeak's mono 16-bit output (any rate) into the finished clip: pitched up a touch,
// band-limited like a headset mic, compressed, trimmed and normalised.
Track shapeVoice(const std::vector<std::int16_t>& mono, int rate);

// Parses a 16-bit PCM WAV file's first channel; false when it is not one.
bool readMonoWav(const std::string& path, std::vector<std::int16_t>& samples, int& rate);

} // namespace grumbo::forge
