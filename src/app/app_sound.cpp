// What the player hears and what is kept: the sound policy's requests carried
// out on the mixer, the controller and the screen, and the journey and
// settings saved through the background writer.
#include "app/app.h"
#include "app/hud_layout.h"
#include "app/voice_lines.h"
#include "platform/user_paths.h"

namespace grumbo {

void App::loadSaved() {
    if (savePath.empty()) {
        savePath = saveFilePath(userDataFolder(), widenPath(baseDirectory));
    }
    loadSaveFile(savePath, progress, settings);
    // A writer that cannot open keeps refusing saves and leaves the file alone;
    // the settings read above still apply. A smoke run plays with the player's
    // settings but never opens the writer, so it cannot touch the save.
    if (!smoke) {
        saver.open(savePath);
        IniSnapshot saved;
        saved.parse(saver.latestSnapshot());
        readRecords(saved, records);
    }
}

void App::persist() {
    // The smoke run plays unattended and must leave the player's journey alone,
    // and a replay being watched is not the player's journey.
    if (smoke || watching) {
        return;
    }
    IniSnapshot snapshot;
    snapshot.parse(saveSnapshotText(saver.latestSnapshot(), game, progress, settings));
    writeRecords(snapshot, records);
    saver.enqueue(snapshot.serialize());
}

PolicyContext App::policyContext() const {
    PolicyContext context;
    context.now = presentationTime;
    context.viewWidth = viewWidth;
    context.voiceClips = settings.voiceClips;
    context.muted = settings.muted;
    return context;
}

void App::carryOut(PolicyRequests& requests) {
    for (const ClipRequest& clip : requests.clips) {
        playClip(clip.clip, clip.volume, clip.pan);
    }
    for (const RumbleRequest& rumble : requests.rumbles) {
        input.rumble(rumble.strength, rumble.seconds);
    }
    if (requests.shake) {
        shakeTimer = SHAKE_SECONDS;
    }
    for (std::string& toast : requests.toasts) {
        pushToast(toastText, toastTimer, toastQueue, std::move(toast));
    }
    if (requests.battleMusicChanged) {
        audio.setBattleMusic(requests.battleBoss, requests.battleChase, requests.battleTheme);
    }
    if (requests.saveProgress) {
        persist();
    }
}

void App::playClip(std::string_view name, float volume, float pan) {
    const double seconds = audio.play(name, volume, pan);
    const std::string_view words = voiceLineWords(name);
    if (settings.captions && seconds > 0 && !words.empty()) {
        captionText = words;
        captionUntil = presentationTime + seconds;
    }
}

void App::soundEvents() {
    PolicyRequests requests;
    sounds.soundEvents(game, policyContext(), requests);
    game.sounds.clear();
    carryOut(requests);
}

void App::encounterReactions() {
    PolicyRequests requests;
    sounds.encounterReactions(game, policyContext(), requests);
    carryOut(requests);
}

void App::reaction(const std::string& group, VoiceMoment moment, float chance, float pan) {
    PolicyRequests requests;
    sounds.reaction(group, moment, chance, pan, policyContext(), requests);
    carryOut(requests);
}

} // namespace grumbo
