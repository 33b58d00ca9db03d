// The persona's voice lines: each clip's name and the words it speaks. The
// asset forge speaks exactly these words into the clips and the captions show
// them, so what is heard and what is read cannot drift apart. The voice bank
// (sound_policy.cpp) picks among these clips.
#pragma once

#include <array>
#include <string_view>

namespace grumbo {

struct VoiceLine {
    std::string_view clip;
    std::string_view words;
};

inline constexpr std::array<VoiceLine, 33> VOICE_LINES{{
    {"grumbo_knuckle_sandwich", "Knuckle sandwich!"},
    {"grumbo_watch_this", "Watch this!"},
    {"grumbo_well_ill_be", "Well, I'll be!"},
    {"grumbo_one_by_one", "One by one!"},
    {"grumbo_food", "Food!"},
    {"grumbo_what_is_this", "What is this?"},
    {"grumbo_lets_go", "Let's go!"},
    {"grumbo_shots_fired", "Shots fired!"},
    {"grumbo_didnt_do_nothing", "I didn't do nothing!"},
    {"grumbo_please_dont_kill", "Please don't kill me!"},
    {"grumbo_ew", "Eww!"},
    {"grumbo_help", "Help!"},
    {"grumbo_how_did_die", "How did I die?"},
    {"grumbo_im_done", "I'm done."},
    {"grumbo_its_over", "It's over!"},
    {"grumbo_no", "Nooo!"},
    {"grumbo_banned", "Banned!"},
    {"grumbo_got_runner", "We got a runner!"},
    {"grumbo_where_is_he", "Where is he?"},
    {"grumbo_granny", "Granny?"},
    {"grumbo_spooky_time", "Spooky time!"},
    {"grumbo_what_is_that", "What is that?"},
    {"grumbo_oh_my_goodness", "Oh my goodness!"},
    {"grumbo_got_kill", "Got a kill!"},
    {"grumbo_gg_buddy", "G G, buddy!"},
    {"grumbo_good_night", "Good night!"},
    {"grumbo_new_king", "There's a new king!"},
    {"grumbo_too_easy", "Too easy!"},
    {"grumbo_yeah", "Yeah!"},
    {"grumbo_laugh", "Ha ha ha ha ha!"},
    {"grumbo_health_department", "Call the health department!"},
    {"grumbo_open_door", "Open the door!"},
    {"grumbo_what", "What?"},
}};

// The words of a voice clip by its exact name; empty for any other clip.
constexpr std::string_view voiceLineWords(std::string_view clip) {
    for (const VoiceLine& line : VOICE_LINES) {
        if (line.clip == clip) {
            return line.words;
        }
    }
    return {};
}

} // namespace grumbo
