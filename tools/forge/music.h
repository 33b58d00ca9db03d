#pragma once

// Music loops: every clip the mixer's music roles name, each a whole number of bars that loops seamlessly.

#include "synth.h"

#include <string>
#include <vector>

namespace grumbo::forge {

struct MusicClip {
    std::string name;
    Track track;
};

// All music clips: "music_menu", "music_1".."music_10", "boss_1".."boss_5", "elite_1".."elite_3",
// the four chapter themes and the "ambient" bed.
std::vector<MusicClip> composeMusic();

} // namespace grumbo::forge
