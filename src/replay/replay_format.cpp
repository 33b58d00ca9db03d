// The replay file: a text header of "key=value" lines, then the steps of every
// segment, run-length encoded and compressed with zlib. docs/replay-format.md
// describes it; every count in the header is checked against the limits
// before anything is allocated, and the data must account for every step.
#include "platform/files.h"
#include "replay/replay.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <new>
#include <optional>
#include <string_view>
#include <zlib.h>

#ifndef GRUMBO_GAME_VERSION
#define GRUMBO_GAME_VERSION "unknown"
#endif

namespace grumbo {
namespace {

constexpr std::string_view MAGIC = "GRUMBO-REPLAY";
constexpr std::string_view DATA_MARK = "data";
// One record: flags (2 bytes), weapon slot, state, aim x, aim y, view width.
constexpr std::size_t RECORD_BYTES = 16;
// A run's count is a base-128 number of at most this many bytes.
constexpr std::size_t MAX_COUNT_BYTES = 4;
constexpr std::uint16_t KNOWN_FLAGS = 0x0FFF;
constexpr float MAX_VIEW_WIDTH = 100000;

// ---- writing ----

void putFloat(std::vector<std::uint8_t>& out, float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
    }
}

void putRecord(std::vector<std::uint8_t>& out, const ReplayStep& step) {
    const Input& in = step.input;
    const bool bits[] = {in.left,     in.right,    in.jumpHeld,        in.jumpPressed,
                         in.fireHeld, in.interact, in.pause,           in.nextWeapon,
                         in.dash,     in.aiming,   step.soundsDrained, step.restartCheckpoint};
    std::uint16_t flags = 0;
    for (std::size_t i = 0; i < std::size(bits); ++i) {
        flags = static_cast<std::uint16_t>(flags | (bits[i] ? 1u << i : 0u));
    }
    out.push_back(static_cast<std::uint8_t>(flags & 0xFF));
    out.push_back(static_cast<std::uint8_t>(flags >> 8));
    out.push_back(static_cast<std::uint8_t>(static_cast<std::int8_t>(step.weaponSlot)));
    out.push_back(static_cast<std::uint8_t>(step.stateBefore));
    putFloat(out, in.aim.x);
    putFloat(out, in.aim.y);
    putFloat(out, step.viewWidth);
}

std::string hex(std::uint64_t value) {
    char text[17];
    for (int i = 15; i >= 0; --i) {
        text[i] = "0123456789abcdef"[value & 0xF];
        value >>= 4;
    }
    text[16] = '\0';
    return text;
}

void line(std::string& out, std::string_view key, std::string_view value) {
    out.append(key).append("=").append(value).append("\n");
}

void line(std::string& out, std::string_view key, std::int64_t value) {
    line(out, key, std::to_string(value));
}

// ---- reading ----

struct Cursor {
    const std::vector<std::uint8_t>& bytes;
    std::size_t at = 0;
    std::string error;

    // The next header line, without its line end; nothing at the end of the file.
    std::optional<std::string_view> nextLine() {
        if (at >= bytes.size()) {
            return std::nullopt;
        }
        const auto* begin = reinterpret_cast<const char*>(bytes.data()) + at;
        const std::size_t left = bytes.size() - at;
        const void* end = std::memchr(begin, '\n', left);
        if (end == nullptr) {
            return std::nullopt;
        }
        const auto length = static_cast<std::size_t>(static_cast<const char*>(end) - begin);
        at += length + 1;
        return std::string_view(begin, length);
    }
};

bool parseInt(std::string_view text, std::int64_t& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

bool parseHex(std::string_view text, std::uint64_t& value) {
    if (text.size() != 16) {
        return false;
    }
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    return ec == std::errc() && end == text.data() + text.size();
}

bool splitLine(std::string_view text, std::string_view& key, std::string_view& value) {
    const std::size_t eq = text.find('=');
    if (eq == std::string_view::npos) {
        return false;
    }
    key = text.substr(0, eq);
    value = text.substr(eq + 1);
    return true;
}

float getFloat(const std::uint8_t* p) {
    std::uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) {
        bits |= static_cast<std::uint32_t>(p[i]) << (8 * i);
    }
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

bool getRecord(const std::uint8_t* p, ReplayStep& step) {
    const auto flags = static_cast<std::uint16_t>(p[0] | p[1] << 8);
    if ((flags & ~KNOWN_FLAGS) != 0) {
        return false;
    }
    const auto flag = [flags](int bit) { return (flags >> bit & 1u) != 0; };
    Input& in = step.input;
    in.left = flag(0);
    in.right = flag(1);
    in.jumpHeld = flag(2);
    in.jumpPressed = flag(3);
    in.fireHeld = flag(4);
    in.interact = flag(5);
    in.pause = flag(6);
    in.nextWeapon = flag(7);
    in.dash = flag(8);
    in.aiming = flag(9);
    step.soundsDrained = flag(10);
    step.restartCheckpoint = flag(11);
    step.weaponSlot = static_cast<std::int8_t>(p[2]);
    step.stateBefore = p[3];
    in.aim = {getFloat(p + 4), getFloat(p + 8)};
    step.viewWidth = getFloat(p + 12);
    return step.weaponSlot >= -1 && step.weaponSlot < WEAPON_COUNT && step.stateBefore <= Finale &&
           std::isfinite(in.aim.x) && std::isfinite(in.aim.y) && step.viewWidth >= 1 &&
           step.viewWidth <= MAX_VIEW_WIDTH;
}

// One segment's header lines, up to and including its final digest.
bool readSegment(Cursor& cursor, ReplaySegment& segment, std::int64_t& steps) {
    ReplayStart& s = segment.start;
    std::int64_t hashCount = -1;
    bool haveStart = false;
    while (const auto text = cursor.nextLine()) {
        std::string_view key;
        std::string_view value;
        if (!splitLine(*text, key, value)) {
            return false;
        }
        std::int64_t number = 0;
        const auto integer = [&](int& field, std::int64_t lo, std::int64_t hi) {
            if (!parseInt(value, number) || number < lo || number > hi) {
                return false;
            }
            field = static_cast<int>(number);
            return true;
        };
        bool ok = true;
        int flag = 0;
        if (key == "World") {
            ok = integer(s.world, 0, 9);
        } else if (key == "Subscribers") {
            ok = integer(s.subscribers, INT32_MIN, INT32_MAX);
        } else if (key == "Deaths") {
            ok = integer(s.deaths, 0, INT32_MAX);
        } else if (key == "Completion") {
            ok = integer(s.completion, 0, 2);
        } else if (key == "Checkpoint") {
            ok = integer(s.checkpoint, -1, 255);
        } else if (key == "Weapons") {
            ok = integer(s.weapons, 0, (1 << WEAPON_COUNT) - 1);
        } else if (key == "Equipped") {
            ok = integer(s.equipped, 0, WEAPON_COUNT - 1);
        } else if (key == "MaxHealth") {
            ok = integer(s.maxHealth, 1, 100000);
        } else if (key == "ExitOpen") {
            ok = integer(flag, 0, 1);
            s.exitOpen = flag != 0;
        } else if (key == "GameSpeed") {
            ok = integer(s.assists.speedPercent, 50, 100);
        } else if (key == "NoDamage") {
            ok = integer(flag, 0, 1);
            s.assists.noDamage = flag != 0;
        } else if (key == "ExtraAirJump") {
            ok = integer(flag, 0, 1);
            s.assists.extraAirJump = flag != 0;
        } else if (key == "Collected") {
            s.collected = std::string(value);
            ok = value.find_first_not_of("01") == std::string_view::npos;
        } else if (key == "Defeated") {
            s.defeated = std::string(value);
            ok = value.find_first_not_of("01") == std::string_view::npos;
        } else if (key == "steps") {
            // Checked here, before the steps are ever allocated.
            ok = parseInt(value, steps) && steps >= 0 && steps <= REPLAY_MAX_SEGMENT_STEPS;
            if (parseInt(value, number) && number > REPLAY_MAX_SEGMENT_STEPS) {
                cursor.error = "a world in this replay lasts longer than two hours";
                return false;
            }
        } else if (key == "start_hash") {
            ok = parseHex(value, segment.startHash);
            haveStart = true;
        } else if (key == "hashes") {
            hashCount = 0;
            for (std::size_t at = 0; ok && at < value.size(); at += 17) {
                std::uint64_t h = 0;
                ok = parseHex(value.substr(at, 16), h) &&
                     (at + 16 == value.size() || value[at + 16] == ',') &&
                     ++hashCount <= steps / REPLAY_HASH_INTERVAL;
                if (ok) {
                    segment.hashes.push_back(h);
                }
            }
        } else if (key == "final_hash") {
            return ok && haveStart && hashCount == steps / REPLAY_HASH_INTERVAL &&
                   parseHex(value, segment.finalHash);
        } else {
            return false;
        }
        if (!ok) {
            return false;
        }
    }
    return false;
}

bool fail(std::string& error, std::string message) {
    error = std::move(message);
    return false;
}

} // namespace

std::vector<std::uint8_t> encodeReplay(const ReplayFile& file) {
    // Runs of identical records: a count, then the record.
    std::vector<std::uint8_t> raw;
    std::vector<std::uint8_t> record;
    std::vector<std::uint8_t> next;
    const auto putRun = [&raw, &record](std::size_t run) {
        for (std::size_t n = run;; n >>= 7) {
            raw.push_back(static_cast<std::uint8_t>((n & 0x7F) | (n >= 0x80 ? 0x80 : 0)));
            if (n < 0x80) {
                break;
            }
        }
        raw.insert(raw.end(), record.begin(), record.end());
    };
    for (const ReplaySegment& segment : file.segments) {
        std::size_t run = 0;
        for (const ReplayStep& step : segment.steps) {
            next.clear();
            putRecord(next, step);
            if (run > 0 && next != record) {
                putRun(run);
                run = 0;
            }
            record.swap(next);
            ++run;
        }
        if (run > 0) {
            putRun(run);
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> packed(packedSize);
    compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), Z_BEST_COMPRESSION);
    packed.resize(packedSize);

    std::string header;
    header.append(MAGIC).append("\n");
    line(header, "format", REPLAY_FORMAT_VERSION);
    line(header, "game", file.gameVersion.empty() ? GRUMBO_GAME_VERSION : file.gameVersion);
    for (const auto& [name, value] : file.settings) {
        line(header, "setting." + name, value);
    }
    line(header, "segments", static_cast<std::int64_t>(file.segments.size()));
    for (const ReplaySegment& segment : file.segments) {
        const ReplayStart& s = segment.start;
        header.append("segment\n");
        line(header, "World", s.world);
        line(header, "Subscribers", s.subscribers);
        line(header, "Deaths", s.deaths);
        line(header, "Completion", s.completion);
        line(header, "Checkpoint", s.checkpoint);
        line(header, "Weapons", s.weapons);
        line(header, "Equipped", s.equipped);
        line(header, "MaxHealth", s.maxHealth);
        line(header, "ExitOpen", s.exitOpen ? 1 : 0);
        // Written only when on, so a world played without assists reads as before they existed.
        if (s.assists.speedPercent != 100) {
            line(header, "GameSpeed", s.assists.speedPercent);
        }
        if (s.assists.noDamage) {
            line(header, "NoDamage", 1);
        }
        if (s.assists.extraAirJump) {
            line(header, "ExtraAirJump", 1);
        }
        line(header, "Collected", s.collected);
        line(header, "Defeated", s.defeated);
        line(header, "steps", static_cast<std::int64_t>(segment.steps.size()));
        line(header, "start_hash", hex(segment.startHash));
        std::string hashes;
        for (const std::uint64_t h : segment.hashes) {
            if (!hashes.empty()) {
                hashes += ',';
            }
            hashes += hex(h);
        }
        line(header, "hashes", hashes);
        line(header, "final_hash", hex(segment.finalHash));
    }
    header.append(DATA_MARK).append("\n");
    line(header, "raw_bytes", static_cast<std::int64_t>(raw.size()));
    line(header, "packed_bytes", static_cast<std::int64_t>(packed.size()));
    std::vector<std::uint8_t> out(header.begin(), header.end());
    out.insert(out.end(), packed.begin(), packed.end());
    return out;
}

namespace {

bool decodeChecked(const std::vector<std::uint8_t>& bytes, ReplayFile& file, std::string& error) {
    file = ReplayFile{};
    Cursor cursor{bytes, 0, {}};
    const auto magic = cursor.nextLine();
    if (!magic || *magic != MAGIC) {
        return fail(error, "not a replay file");
    }
    const auto damaged = [&error](std::string_view what) {
        return fail(error, "the replay is damaged (" + std::string(what) + ")");
    };
    std::string_view key;
    std::string_view value;
    std::int64_t number = 0;
    const auto version = cursor.nextLine();
    if (!version || !splitLine(*version, key, value) || key != "format" || !parseInt(value, number)) {
        return damaged("no format version");
    }
    if (number != REPLAY_FORMAT_VERSION) {
        return fail(error, "the replay has format version " + std::string(value) +
                               "; this game reads version " + std::to_string(REPLAY_FORMAT_VERSION));
    }
    std::int64_t segmentCount = -1;
    while (segmentCount < 0) {
        const auto text = cursor.nextLine();
        if (!text || !splitLine(*text, key, value)) {
            return damaged("header cut short");
        }
        if (key == "game") {
            file.gameVersion = std::string(value);
        } else if (key.starts_with("note.")) {
            // Notes are for people reading the file; they change nothing.
        } else if (key.starts_with("setting.")) {
            return fail(error, "the replay was played with the setting " + std::string(key.substr(8)) +
                                   ", which this game does not know");
        } else if (key == "segments") {
            if (!parseInt(value, segmentCount) || segmentCount < 0 || segmentCount > REPLAY_MAX_SEGMENTS) {
                return damaged("segment count");
            }
        } else {
            return damaged("unknown header line");
        }
    }
    std::vector<std::int64_t> stepCounts;
    std::int64_t totalSteps = 0;
    for (std::int64_t i = 0; i < segmentCount; ++i) {
        const auto mark = cursor.nextLine();
        if (!mark || *mark != "segment") {
            return damaged("segment header");
        }
        ReplaySegment segment;
        std::int64_t steps = -1;
        if (!readSegment(cursor, segment, steps)) {
            if (!cursor.error.empty()) {
                return fail(error, "the replay is refused: " + cursor.error);
            }
            return damaged("segment header");
        }
        stepCounts.push_back(steps);
        totalSteps += steps;
        if (totalSteps > REPLAY_MAX_FILE_STEPS) {
            return fail(error, "the replay is refused: it holds more than eight hours of play");
        }
        file.segments.push_back(std::move(segment));
    }
    const auto mark = cursor.nextLine();
    std::int64_t rawBytes = -1;
    std::int64_t packedBytes = -1;
    const auto sizeLine = [&](std::string_view name, std::int64_t& field) {
        const auto text = cursor.nextLine();
        return text && splitLine(*text, key, value) && key == name && parseInt(value, field) && field >= 0;
    };
    if (!mark || *mark != DATA_MARK || !sizeLine("raw_bytes", rawBytes) ||
        !sizeLine("packed_bytes", packedBytes)) {
        return damaged("data header");
    }
    const auto maxRaw = static_cast<std::int64_t>(RECORD_BYTES + MAX_COUNT_BYTES) * totalSteps;
    if (rawBytes > maxRaw) {
        return damaged("data size");
    }
    if (static_cast<std::uint64_t>(packedBytes) != bytes.size() - cursor.at) {
        return damaged(static_cast<std::uint64_t>(packedBytes) > bytes.size() - cursor.at
                           ? "cut short"
                           : "extra bytes at the end");
    }
    std::vector<std::uint8_t> raw(static_cast<std::size_t>(rawBytes));
    auto rawSize = static_cast<uLongf>(rawBytes);
    const int unpacked =
        uncompress(raw.data(), &rawSize, bytes.data() + cursor.at, static_cast<uLong>(packedBytes));
    if (unpacked != Z_OK || rawSize != static_cast<uLongf>(rawBytes)) {
        return damaged("compressed data");
    }

    std::size_t at = 0;
    for (std::size_t s = 0; s < file.segments.size(); ++s) {
        std::vector<ReplayStep>& steps = file.segments[s].steps;
        const auto wanted = static_cast<std::size_t>(stepCounts[s]);
        steps.reserve(wanted);
        while (steps.size() < wanted) {
            std::size_t run = 0;
            int shift = 0;
            bool more = true;
            for (std::size_t n = 0; more; ++n) {
                if (n == MAX_COUNT_BYTES || at >= raw.size()) {
                    return damaged("step data");
                }
                run |= static_cast<std::size_t>(raw[at] & 0x7F) << shift;
                more = (raw[at++] & 0x80) != 0;
                shift += 7;
            }
            ReplayStep step;
            if (run == 0 || run > wanted - steps.size() || raw.size() - at < RECORD_BYTES ||
                !getRecord(raw.data() + at, step)) {
                return damaged("step data");
            }
            at += RECORD_BYTES;
            steps.insert(steps.end(), run, step);
        }
    }
    if (at != raw.size()) {
        return damaged("step data");
    }
    return true;
}

} // namespace

bool decodeReplay(const std::vector<std::uint8_t>& bytes, ReplayFile& file, std::string& error) {
    // The limits keep every allocation modest; should one still fail, the
    // file is refused like any other.
    try {
        return decodeChecked(bytes, file, error);
    } catch (const std::bad_alloc&) {
        file = ReplayFile{};
        return fail(error, "there is not enough memory to read the replay");
    }
}

bool loadReplay(const std::wstring& path, ReplayFile& file, std::string& error) {
    std::vector<std::uint8_t> bytes;
    const std::uint32_t code = readWholeFile(path, bytes, REPLAY_MAX_FILE_BYTES);
    if (code == syserror::FileTooLarge) {
        return fail(error, "the replay file is larger than any replay this game writes");
    }
    if (code != syserror::Success) {
        return fail(error, "the replay file cannot be read (system error " + std::to_string(code) + ")");
    }
    return decodeReplay(bytes, file, error);
}

} // namespace grumbo
