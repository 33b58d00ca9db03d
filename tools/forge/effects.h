#pragma once

// One-shot sound effects: jumps, the ten weapons, hits, pickups and alarms.

#include "synth.h"

#include <string>
#include <vector>

namespace grumbo::forge {

struct EffectClip {
    std::string name;
    Track track;
};

std::vector<EffectClip> makeEffects();

} // namespace grumbo::forge
