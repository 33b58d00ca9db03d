#pragma once

// Sound side of the forge: effects, music loops, the ambient bed and the streamer's voice lines.

#include <cstdint>
#include <string>
#include <vector>

namespace grumbo::forge {

// Writes every clip as a 44100 Hz 16-bit stereo WAV into folder. espeak is the speech program used
// for the voice lines; when it is empty or fails, the voice lines are skipped with a message.
bool forgeAudio(const std::string& folder, const std::string& espeak);

} // namespace grumbo::forge
