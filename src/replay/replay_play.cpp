// Recording a run step by step, starting a recorded world again, and playing
// a replay through to check that it comes out the same.
#include "game/state_hash.h"
#include "replay/replay.h"

#include <algorithm>
#include <cstddef>

namespace grumbo {

ReplayStart replayStartOf(const Game& game) {
    ReplayStart start;
    start.world = game.world;
    start.subscribers = game.subscribers;
    start.deaths = game.deaths;
    start.completion = game.state == Finale ? 2 : game.state == WorldComplete ? 1 : 0;
    start.checkpoint = game.checkpoint;
    start.weapons = 0;
    for (int i = 0; i < WEAPON_COUNT; ++i) {
        if (game.player.ownedWeapons[static_cast<std::size_t>(i)]) {
            start.weapons |= 1 << i;
        }
    }
    start.equipped = static_cast<int>(game.player.weapon);
    start.maxHealth = game.player.maxHealth;
    start.exitOpen = game.exitOpen;
    start.assists = game.assists;
    for (const Pickup& pickup : game.level.pickups) {
        start.collected += pickup.collected ? '1' : '0';
    }
    for (const Enemy& enemy : game.level.enemies) {
        start.defeated += enemy.alive ? '0' : '1';
    }
    return start;
}

// The same result as starting the world and restoring a continued journey,
// without the clamping a save file needs: these values were taken from a game.
void startReplayWorld(Game& game, const ReplayStart& start) {
    game = Game();
    game.assists = start.assists;
    game.start(start.world);
    game.subscribers = start.subscribers;
    game.deaths = start.deaths;
    Player& player = game.player;
    player.maxHealth = start.maxHealth;
    player.health = start.maxHealth;
    for (int i = 0; i < WEAPON_COUNT; ++i) {
        player.ownedWeapons[static_cast<std::size_t>(i)] = (start.weapons & (1 << i)) != 0;
    }
    player.weapon = static_cast<Weapon>(std::clamp(start.equipped, 0, WEAPON_COUNT - 1));

    game.resumeAtCheckpoint(start.checkpoint);
    std::vector<Pickup>& pickups = game.level.pickups;
    for (std::size_t i = 0; i < pickups.size() && i < start.collected.size(); ++i) {
        pickups[i].collected = start.collected[i] == '1';
    }
    std::vector<Enemy>& enemies = game.level.enemies;
    for (std::size_t i = 0; i < enemies.size() && i < start.defeated.size(); ++i) {
        if (start.defeated[i] == '1') {
            enemies[i].alive = false;
            enemies[i].hp = 0;
        }
    }
    game.exitOpen = start.exitOpen;
    game.state = start.completion == 2 ? Finale : start.completion == 1 ? WorldComplete : Playing;
}

void applyReplayStep(Game& game, const ReplayStep& step) {
    if (step.soundsDrained) {
        game.sounds.clear();
    }
    if (step.restartCheckpoint) {
        game.restartCheckpoint();
    }
    if (step.weaponSlot >= 0 && step.weaponSlot < WEAPON_COUNT &&
        game.player.ownedWeapons[static_cast<std::size_t>(step.weaponSlot)]) {
        game.player.weapon = static_cast<Weapon>(step.weaponSlot);
    }
    game.state = step.stateBefore;
    game.viewWidth = step.viewWidth;
    game.update(step.input, REPLAY_STEP_SECONDS);
}

void ReplayRecorder::beginWorld(const Game& game) {
    close();
    active_ = true;
    current_ = ReplaySegment{};
    current_.start = replayStartOf(game);
    current_.startHash = stateHash(game);
    lastHash_ = current_.startHash;
    pending_ = ReplayStep{};
}

void ReplayRecorder::endWorld() {
    close();
}

void ReplayRecorder::close() {
    if (!active_) {
        return;
    }
    active_ = false;
    current_.finalHash = lastHash_;
    if (!keepAll_) {
        closed_.clear();
    } else if (static_cast<int>(closed_.size()) >= REPLAY_MAX_SEGMENTS) {
        closed_.erase(closed_.begin());
    }
    closed_.push_back(std::move(current_));
    std::int64_t steps = 0;
    for (const ReplaySegment& segment : closed_) {
        steps += static_cast<std::int64_t>(segment.steps.size());
    }
    while (closed_.size() > 1 && steps > REPLAY_MAX_FILE_STEPS) {
        steps -= static_cast<std::int64_t>(closed_.front().steps.size());
        closed_.erase(closed_.begin());
    }
    current_ = ReplaySegment{};
    ++newlyClosed_;
}

int ReplayRecorder::takeClosed() {
    const int count = newlyClosed_;
    newlyClosed_ = 0;
    return count;
}

void ReplayRecorder::update(Game& game, const Input& input) {
    const int before = game.state;
    if (before == Title) {
        close();
    }
    ReplayStep step = pending_;
    pending_ = ReplayStep{};
    step.input = input;
    step.stateBefore = before;
    step.viewWidth = game.viewWidth;
    game.update(input, REPLAY_STEP_SECONDS);

    // A step that starts a world does nothing else: the new segment begins
    // from the world it started.
    const bool startedWorld =
        (before == Title || before == WorldComplete || before == Finale) && game.state == Playing;
    if (startedWorld) {
        beginWorld(game);
        return;
    }
    if (!active_) {
        return;
    }
    current_.steps.push_back(step);
    lastHash_ = stateHash(game);
    const auto count = static_cast<std::int64_t>(current_.steps.size());
    if (count % REPLAY_HASH_INTERVAL == 0) {
        current_.hashes.push_back(lastHash_);
    }
    if (count >= REPLAY_MAX_SEGMENT_STEPS) {
        close();
    }
}

ReplayCheck checkReplay(const ReplayFile& file) {
    ReplayCheck check;
    check.matches = true;
    const auto parted = [&check](int segment, std::int64_t step) {
        if (check.matches) {
            check.matches = false;
            check.segment = segment;
            check.partsAtStep = step;
        }
    };
    for (std::size_t s = 0; s < file.segments.size(); ++s) {
        const ReplaySegment& segment = file.segments[s];
        const int index = static_cast<int>(s);
        startReplayWorld(check.game, segment.start);
        if (stateHash(check.game) != segment.startHash) {
            parted(index, 0);
        }
        std::int64_t step = 0;
        std::size_t nextHash = 0;
        for (const ReplayStep& recorded : segment.steps) {
            applyReplayStep(check.game, recorded);
            ++step;
            if (step % REPLAY_HASH_INTERVAL == 0 && nextHash < segment.hashes.size()) {
                if (stateHash(check.game) != segment.hashes[nextHash]) {
                    parted(index, step);
                }
                ++nextHash;
            }
        }
        check.steps += step;
        check.stateHash = stateHash(check.game);
        if (check.stateHash != segment.finalHash) {
            parted(index, step);
        }
    }
    return check;
}

} // namespace grumbo
