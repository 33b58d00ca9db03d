#pragma once

#include "audio/audio_clip.h"
#include "platform/dir_list.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace grumbo {

// Every clip the game can play, by normalized name; a name seen again keeps the first clip.
using AudioCatalogue = std::unordered_map<std::string, AudioClip>;

// At most this many files are considered, over both folders together.
constexpr std::size_t AUDIO_FILE_LIMIT = 256;

struct AudioFile {
    std::string name;
    std::wstring path;
};

// The clips that give the music its roles; each is null when its file is missing.
struct MusicTable {
    const AudioClip* menu = nullptr;
    std::array<const AudioClip*, 10> world{};
    std::array<const AudioClip*, 5> boss{};
    std::array<const AudioClip*, 3> elite{};
    std::array<const AudioClip*, 4> theme{};
    const AudioClip* ambient = nullptr;
};

// Appends a separator unless the folder is empty (the working directory) or already ends in one.
std::wstring prepareAudioFolder(std::wstring folder);

// A file name as UTF-8, the way clips are named; empty when it holds no valid code points.
std::string fileNameToUtf8(std::wstring_view name);

// Adds the "*.wav" files of one listed folder to the list: directories and duplicate or empty
// names are skipped, and nothing is added once the list is full.
void addAudioFiles(const std::wstring& scanFolder, const std::vector<DirEntry>& entries,
                   std::vector<AudioFile>& list);

// Non-music clips first, music last; byte-wise by name within each group.
void orderAudioFiles(std::vector<AudioFile>& list);

// The files to load from `folder`: its "audio" subfolder first, then the folder itself, ordered.
std::vector<AudioFile> findAudioFiles(const std::wstring& folder);

// Loads every file of the list in order, skipping any that cannot be read or decoded.
void loadAudioFiles(const std::vector<AudioFile>& files, AudioCatalogue& catalogue);

MusicTable buildMusicTable(const AudioCatalogue& catalogue);

} // namespace grumbo
