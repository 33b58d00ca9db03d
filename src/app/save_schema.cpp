// The save file's schema. Every save starts from the last saved text, so keys
// of other versions survive, and keys come out in the order they were first
// written: on a first journey save Level, Subscribers, Completion, Checkpoint,
// Weapons, Equipped, MaxHealth, Collected, Defeated, CampaignVersion,
// HighestLevel, then the settings.

#include "app/save_schema.h"

#include "app/player_options.h"
#include "platform/files.h"
#include "save/save_text.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <iterator>
#include <memory>
#include <vector>

namespace grumbo {
namespace {

const std::wstring JOURNEY = L"Journey";
const std::wstring SETTINGS = L"Settings";

// The start-up reader streams the file in blocks of this size, so a file of
// any size gives its settings in bounded memory.
constexpr std::size_t STARTUP_BLOCK_BYTES = 1u << 20;
// Longer lines hold nothing the start-up reader wants and are skipped.
constexpr std::size_t STARTUP_LINE_LIMIT = 64u * 1024u;
// The keys read at start-up; every other line is passed over.
const std::wstring STARTUP_KEYS[] = {L"Level",          L"Subscribers", L"HighestLevel", L"Muted",
                                     L"VoiceClips",     L"Shake",       L"Music",        L"Effects",
                                     L"AutoFullscreen", L"IPJokes",     L"Resolution",   L"Captions",
                                     L"Timer",          L"GameSpeed",   L"NoDamage",     L"ExtraAirJump"};

void setInteger(IniSnapshot& snapshot, const std::wstring& section, const std::wstring& key, int value) {
    snapshot.set(section, key, std::to_wstring(value));
}

int completionOf(int state) {
    if (state == Finale) {
        return 2;
    }
    return state == WorldComplete ? 1 : 0;
}

// Whole percent, truncated. The small epsilon keeps a loaded percent from
// drifting down on every save (53 / 100 times 100 is just under 53 as a float).
int percentOf(float volume) {
    return static_cast<int>(volume * 100.0f + 0.001f);
}

float volumeOf(std::int32_t percent) {
    // Read as unsigned, so a negative value counts as very loud, not silent.
    return std::min(static_cast<float>(static_cast<std::uint32_t>(percent)) / 100.0f, 1.0f);
}

} // namespace

std::wstring saveFilePath(const std::wstring& dataFolder, const std::wstring& exeFolder) {
    // Only a per-user folder that cannot be determined sends the save beside the game: one
    // that cannot be created now (read-only, a file in the way) stays the place, so a later
    // run finds the journey where it always looks; the writer reports the failure meanwhile.
    if (!dataFolder.empty()) {
        const std::wstring folder = dataFolder + L"/LanternFox/GrumboMegastream";
        createFolders(folder);
        return folder + L"/save.ini";
    }
    return exeFolder.empty() ? std::wstring(L"save.ini") : exeFolder + L"/save.ini";
}

std::int32_t profileInteger(const IniSnapshot& file, const std::wstring& section, const std::wstring& key,
                            std::int32_t fallback) {
    const std::wstring value = file.get(section, key, std::wstring());
    std::size_t i = 0;
    while (i < value.size() && IniSnapshot::isSpace(value[i])) {
        ++i;
    }
    bool negative = false;
    if (i < value.size() && (value[i] == L'-' || value[i] == L'+')) {
        negative = value[i] == L'-';
        ++i;
    }
    const std::size_t digitsStart = i;
    long long magnitude = 0;
    while (i < value.size() && value[i] >= L'0' && value[i] <= L'9') {
        magnitude = std::min<long long>(magnitude * 10 + (value[i] - L'0'), 1LL << 32);
        ++i;
    }
    if (i == digitsStart) {
        return fallback;
    }
    const long long signedValue = negative ? -magnitude : magnitude;
    return static_cast<std::int32_t>(std::clamp<long long>(signedValue, INT32_MIN, INT32_MAX));
}

void loadSaveText(const std::wstring& text, Progress& progress, Settings& settings) {
    IniSnapshot file;
    file.parse(text);
    progress.savedLevel = profileInteger(file, JOURNEY, L"Level", -1);
    progress.savedSubscribers = profileInteger(file, JOURNEY, L"Subscribers", 0);
    progress.highestLevel = profileInteger(file, JOURNEY, L"HighestLevel", 0);
    settings.muted = profileInteger(file, SETTINGS, L"Muted", 0) != 0;
    settings.voiceClips = profileInteger(file, SETTINGS, L"VoiceClips", 1) != 0;
    settings.screenShake = profileInteger(file, SETTINGS, L"Shake", 1) != 0;
    settings.musicVolume = volumeOf(profileInteger(file, SETTINGS, L"Music", 28));
    settings.effectsVolume = volumeOf(profileInteger(file, SETTINGS, L"Effects", 85));
    settings.autoFullscreen = profileInteger(file, SETTINGS, L"AutoFullscreen", 0) != 0;
    settings.ipJokes = profileInteger(file, SETTINGS, L"IPJokes", 1) != 0;
    settings.resolutionIndex =
        std::clamp<std::int32_t>(profileInteger(file, SETTINGS, L"Resolution", 0), 0, RESOLUTION_COUNT - 1);
    settings.captions = profileInteger(file, SETTINGS, L"Captions", 0) != 0;
    settings.timer = std::clamp(profileInteger(file, SETTINGS, L"Timer", 0), 0, 2);
    readControls(file, settings.controls);
    readAssists(file, settings.assists);
}

// Reads like the save writer would, but decodes what it can instead of refusing the file: a
// stray last byte of UTF-16 is dropped, and outside UTF-16 only ASCII matters (every value
// read here is a number), so other bytes become U+FFFD. The file is streamed block by block
// and only the lines of the keys above are kept, each merged at once into one small snapshot.
void loadSaveFile(const std::wstring& path, Progress& progress, Settings& settings) {
    IniSnapshot kept;
    std::unique_ptr<FileSystem> files = makeNativeFileSystem();
    FileHandle file = INVALID_FILE;
    if (files->openRead(path, file) == syserror::Success) {
        std::vector<std::uint8_t> block(STARTUP_BLOCK_BYTES);
        std::wstring section;
        std::wstring line;
        bool overlong = false;
        int utf16 = -1; // -1 not yet known, 0 bytes, 1 little-endian, 2 big-endian
        const auto endLine = [&] {
            const std::wstring trimmed = IniSnapshot::trim(line);
            if (!overlong && !trimmed.empty() && trimmed.front() == L'[') {
                const std::size_t close = trimmed.find(L']');
                section = close == std::wstring::npos ? std::wstring()
                                                      : IniSnapshot::trim(trimmed.substr(1, close - 1));
            } else if (!overlong && !section.empty()) {
                const std::wstring key = IniSnapshot::trim(trimmed.substr(0, trimmed.find(L'=')));
                const bool wanted =
                    IniSnapshot::sameIgnoringCase(section, L"Controls") ||
                    std::any_of(std::begin(STARTUP_KEYS), std::end(STARTUP_KEYS),
                                [&](const std::wstring& k) { return IniSnapshot::sameIgnoringCase(k, key); });
                if (wanted && trimmed.find(L'=') != std::wstring::npos) {
                    IniSnapshot one;
                    one.parse(L"[" + section + L"]\n" + trimmed);
                    if (!one.sections.empty()) {
                        kept.set(section, one.sections[0].entries[0].first,
                                 one.sections[0].entries[0].second);
                    }
                }
            }
            line.clear();
            overlong = false;
        };
        std::size_t got = 0;
        std::size_t start = 0;
        while (files->read(file, block.data(), block.size(), got) == syserror::Success && got > 0) {
            std::size_t i = 0;
            if (utf16 < 0) {
                utf16 = got >= 2 && block[0] == 0xFF && block[1] == 0xFE   ? 1
                        : got >= 2 && block[0] == 0xFE && block[1] == 0xFF ? 2
                                                                           : 0;
                start = utf16 != 0                                                             ? 2
                        : got >= 3 && block[0] == 0xEF && block[1] == 0xBB && block[2] == 0xBF ? 3
                                                                                               : 0;
                i = start;
            }
            const std::size_t step = utf16 != 0 ? 2 : 1;
            for (; i + step <= got; i += step) {
                const wchar_t c = utf16 == 1        ? static_cast<wchar_t>(block[i] | block[i + 1] << 8)
                                  : utf16 == 2      ? static_cast<wchar_t>(block[i] << 8 | block[i + 1])
                                  : block[i] < 0x80 ? static_cast<wchar_t>(block[i])
                                                    : L'\uFFFD';
                if (c == L'\r' || c == L'\n') {
                    endLine();
                } else if (line.size() < STARTUP_LINE_LIMIT) {
                    line += c;
                } else {
                    overlong = true;
                }
            }
        }
        endLine();
        files->close(file);
    }
    std::wstring text;
    for (const auto& [name, entries, index] : kept.sections) {
        text += L"[" + name + L"]\r\n";
        for (const auto& [key, value] : entries) {
            text += key + L"=\"" + value + L"\"\r\n";
        }
    }
    loadSaveText(text, progress, settings);
}

std::wstring saveSnapshotText(const std::wstring& lastText, const Game& game, Progress& progress,
                              const Settings& settings) {
    IniSnapshot snapshot;
    snapshot.parse(lastText);
    const bool inWorld = game.state != Title;
    if (inWorld) {
        progress.savedLevel = game.world;
        progress.savedSubscribers = game.subscribers;
    }
    if (progress.savedLevel >= 0) {
        setInteger(snapshot, JOURNEY, L"Level", progress.savedLevel);
        setInteger(snapshot, JOURNEY, L"Subscribers", progress.savedSubscribers);
    }
    if (inWorld) {
        int weapons = 0;
        for (int i = 0; i < WEAPON_COUNT; ++i) {
            if (game.player.ownedWeapons[static_cast<std::size_t>(i)]) {
                weapons |= 1 << i;
            }
        }
        std::wstring collected;
        for (const Pickup& pickup : game.level.pickups) {
            collected += pickup.collected ? L'1' : L'0';
        }
        std::wstring defeated;
        for (const Enemy& enemy : game.level.enemies) {
            defeated += enemy.alive ? L'0' : L'1';
        }
        setInteger(snapshot, JOURNEY, L"Completion", completionOf(game.state));
        setInteger(snapshot, JOURNEY, L"Checkpoint", game.checkpoint);
        setInteger(snapshot, JOURNEY, L"Weapons", weapons);
        setInteger(snapshot, JOURNEY, L"Equipped", static_cast<int>(game.player.weapon));
        setInteger(snapshot, JOURNEY, L"MaxHealth", game.player.maxHealth);
        snapshot.set(JOURNEY, L"Collected", collected);
        snapshot.set(JOURNEY, L"Defeated", defeated);
        setInteger(snapshot, JOURNEY, L"CampaignVersion", CAMPAIGN_VERSION);
    }
    setInteger(snapshot, JOURNEY, L"HighestLevel", progress.highestLevel);
    setInteger(snapshot, SETTINGS, L"VoiceClips", settings.voiceClips ? 1 : 0);
    setInteger(snapshot, SETTINGS, L"Music", percentOf(settings.musicVolume));
    setInteger(snapshot, SETTINGS, L"Effects", percentOf(settings.effectsVolume));
    setInteger(snapshot, SETTINGS, L"Muted", settings.muted ? 1 : 0);
    setInteger(snapshot, SETTINGS, L"Shake", settings.screenShake ? 1 : 0);
    setInteger(snapshot, SETTINGS, L"AutoFullscreen", settings.autoFullscreen ? 1 : 0);
    setInteger(snapshot, SETTINGS, L"IPJokes", settings.ipJokes ? 1 : 0);
    setInteger(snapshot, SETTINGS, L"Resolution", settings.resolutionIndex);
    // Written once captions were turned on, so the file of a player who never did stays as it was.
    if (settings.captions || !snapshot.get(SETTINGS, L"Captions", L"").empty()) {
        setInteger(snapshot, SETTINGS, L"Captions", settings.captions ? 1 : 0);
    }
    if (settings.timer != 0 || !snapshot.get(SETTINGS, L"Timer", L"").empty()) {
        setInteger(snapshot, SETTINGS, L"Timer", settings.timer);
    }
    writeAssists(snapshot, settings.assists);
    writeControls(snapshot, settings.controls);
    return snapshot.serialize();
}

void applyCompletion(Game& game, int completion) {
    std::vector<Enemy>& enemies = game.level.enemies;
    if (enemies.empty()) {
        game.exitOpen = true;
    } else if (completion != 0) {
        for (Enemy& enemy : enemies) {
            if (enemy.kind == EnemyKind::Boss) {
                enemy.alive = false;
                enemy.hp = 0;
            }
        }
        game.exitOpen = true;
    } else {
        game.exitOpen = std::none_of(enemies.begin(), enemies.end(), [](const Enemy& enemy) {
            return enemy.kind == EnemyKind::Boss && enemy.alive;
        });
    }
    game.state = completion == 2 ? Finale : completion == 1 ? WorldComplete : Playing;
}

void restoreJourney(Game& game, const IniSnapshot& snapshot) {
    Player& player = game.player;
    const int maxHealth =
        std::clamp(snapshot.integer(JOURNEY, L"MaxHealth", 100), MIN_MAX_HEALTH, MAX_MAX_HEALTH);
    player.maxHealth = maxHealth;
    player.health = maxHealth;

    game.resumeAtCheckpoint(snapshot.integer(JOURNEY, L"Checkpoint", -1));

    const std::int32_t weapons = snapshot.integer(JOURNEY, L"Weapons", 1);
    for (int i = 0; i < WEAPON_COUNT; ++i) {
        player.ownedWeapons[static_cast<std::size_t>(i)] = i == 0 || (weapons & (1 << i)) != 0;
    }
    const int equipped = std::clamp(snapshot.integer(JOURNEY, L"Equipped", 0), 0, WEAPON_COUNT - 1);
    if (player.ownedWeapons[static_cast<std::size_t>(equipped)]) {
        player.weapon = static_cast<Weapon>(equipped);
    }

    const std::wstring collected = snapshot.get(JOURNEY, L"Collected", std::wstring());
    const std::wstring defeated = snapshot.get(JOURNEY, L"Defeated", std::wstring());
    if (snapshot.integer(JOURNEY, L"CampaignVersion", 0) > 3) {
        std::vector<Pickup>& pickups = game.level.pickups;
        for (std::size_t i = 0; i < pickups.size() && i < collected.size(); ++i) {
            pickups[i].collected = collected[i] == L'1';
        }
        std::vector<Enemy>& enemies = game.level.enemies;
        for (std::size_t i = 0; i < enemies.size() && i < defeated.size(); ++i) {
            if (defeated[i] == L'1') {
                enemies[i].alive = false;
                enemies[i].hp = 0;
            }
        }
    }

    int completion = snapshot.integer(JOURNEY, L"Completion", 0);
    if (completion == 2 && game.world < 9) {
        completion = 1;
    }
    applyCompletion(game, completion);
}

} // namespace grumbo
