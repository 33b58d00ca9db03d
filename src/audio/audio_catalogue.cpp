#include "audio/audio_catalogue.h"

#include "audio/wav.h"
#include "platform/dir_list.h"
#include "platform/files.h"

#include <algorithm>
#include <optional>

namespace grumbo {

namespace {

bool hasWavExtension(std::wstring_view name) {
    if (name.size() < 4) {
        return false;
    }
    const std::wstring_view tail = name.substr(name.size() - 4);
    static constexpr wchar_t LOWER[] = L".wav";
    static constexpr wchar_t UPPER[] = L".WAV";
    for (std::size_t i = 0; i < 4; ++i) {
        if (tail[i] != LOWER[i] && tail[i] != UPPER[i]) {
            return false;
        }
    }
    return true;
}

const AudioClip* findClip(const AudioCatalogue& catalogue, const std::string& name) {
    const auto it = catalogue.find(name);
    return it == catalogue.end() ? nullptr : &it->second;
}

} // namespace

std::wstring prepareAudioFolder(std::wstring folder) {
    if (!folder.empty() && !folder.ends_with(L'/') && !folder.ends_with(L'\\')) {
        folder += L'/';
    }
    return folder;
}

std::string fileNameToUtf8(std::wstring_view name) {
    std::string out;
    for (const wchar_t wc : name) {
        const auto c = static_cast<std::uint32_t>(wc);
        if (c == 0 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            return {};
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | c >> 18);
            out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

void addAudioFiles(const std::wstring& scanFolder, const std::vector<DirEntry>& entries,
                   std::vector<AudioFile>& list) {
    for (const DirEntry& entry : entries) {
        if (list.size() >= AUDIO_FILE_LIMIT) {
            return;
        }
        if (entry.isDirectory || !hasWavExtension(entry.name)) {
            continue;
        }
        const std::string name = normalizeAudioName(fileNameToUtf8(entry.name));
        if (name.empty()) {
            continue;
        }
        const bool seen =
            std::any_of(list.begin(), list.end(), [&](const AudioFile& f) { return f.name == name; });
        if (!seen) {
            list.push_back({name, scanFolder + entry.name});
        }
    }
}

void orderAudioFiles(std::vector<AudioFile>& list) {
    std::sort(list.begin(), list.end(), [](const AudioFile& a, const AudioFile& b) {
        const bool musicA = isMusicName(a.name);
        const bool musicB = isMusicName(b.name);
        if (musicA != musicB) {
            return musicB;
        }
        return a.name < b.name;
    });
}

std::vector<AudioFile> findAudioFiles(const std::wstring& folder) {
    const std::wstring base = prepareAudioFolder(folder);
    std::vector<AudioFile> list;
    std::vector<DirEntry> entries;
    for (const std::wstring& scanFolder : {base + L"audio/", base}) {
        if (listFolder(scanFolder, entries)) {
            addAudioFiles(scanFolder, entries, list);
        }
    }
    orderAudioFiles(list);
    return list;
}

void loadAudioFiles(const std::vector<AudioFile>& files, AudioCatalogue& catalogue) {
    std::uint64_t used = 0;
    std::vector<std::uint8_t> bytes;
    for (const AudioFile& file : files) {
        if (catalogue.contains(file.name)) {
            continue;
        }
        if (readWholeFile(file.path, bytes, WAV_MAX_FILE_BYTES) != syserror::Success ||
            bytes.size() < WAV_MIN_FILE_BYTES) {
            continue;
        }
        std::optional<AudioClip> clip = decodeWav(bytes, CATALOGUE_BUDGET_BYTES - used);
        if (!clip) {
            continue;
        }
        used += clip->samples.size() * sizeof(std::int16_t);
        catalogue.emplace(file.name, std::move(*clip));
    }
}

MusicTable buildMusicTable(const AudioCatalogue& catalogue) {
    MusicTable table;
    table.menu = findClip(catalogue, "music_menu");
    for (std::size_t i = 0; i < table.world.size(); ++i) {
        table.world[i] = findClip(catalogue, "music_" + std::to_string(i + 1));
    }
    for (std::size_t i = 0; i < table.boss.size(); ++i) {
        table.boss[i] = findClip(catalogue, "boss_" + std::to_string(i + 1));
    }
    for (std::size_t i = 0; i < table.elite.size(); ++i) {
        table.elite[i] = findClip(catalogue, "elite_" + std::to_string(i + 1));
    }
    static constexpr const char* THEME_CLIPS[4] = {"theme_grocery", "theme_horror", "theme_bunker",
                                                   "theme_cards"};
    for (std::size_t i = 0; i < table.theme.size(); ++i) {
        table.theme[i] = findClip(catalogue, THEME_CLIPS[i]);
    }
    table.ambient = findClip(catalogue, "ambient");
    return table;
}

} // namespace grumbo
