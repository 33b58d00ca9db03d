#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace grumbo {

class AudioOutput;

// The game's whole sound output: the clip catalogue and a software mixer on a thread of its own.
// Every member function is called on the window thread; sample data never touches it.
class NativeAudio {
  public:
    // Plays through the system's sound device.
    NativeAudio();
    // Plays through `output` (tests pass a device without hardware).
    explicit NativeAudio(std::unique_ptr<AudioOutput> output);
    ~NativeAudio();
    NativeAudio(const NativeAudio&) = delete;
    NativeAudio& operator=(const NativeAudio&) = delete;

    // Starts the mixer thread, which opens the device, loads every "*.wav" of folder/audio and
    // then of folder (see `clipsLoaded`) and mixes. False when the thread cannot start; when the
    // device cannot open, `running` turns false and the game stays silent. Calling it again reloads.
    bool open(const std::wstring& folder);
    // Queues a one-shot sound by clip name; volume 0 to 1, pan -1 (left) to 1 (right). Returns the
    // clip's length in seconds when it was queued, 0 when nothing will play.
    double play(std::string_view name, float volume, float pan);
    // -2 or less silence, -1 the menu music, 0 to 9 the music of that world; clears the battle music.
    void setMusic(int index);
    // Battle music over the world's music: boss first, then chase, then the chapter theme
    // (1 to 4, 0 none). A world without that clip keeps its own music.
    void setBattleMusic(bool boss, bool chase, int theme);
    void setMuted(bool muted);
    void setVolumes(float music, float effects);
    // Turns the persona's voice clips on or off; off also silences any that is playing.
    void setVoiceEnabled(bool enabled);
    // The mixer runs by itself; nothing to do per frame.
    void update() {}
    // Stops the mixer and the device and forgets the clips; the settings are kept.
    void close();

    // Whether the device plays and the mixer thread runs.
    bool running() const;
    // Whether the mixer has loaded the clips; until then `play` drops its requests.
    bool clipsLoaded() const;
    // Whether a clip of that name was loaded (looked up like `play` does).
    bool hasClip(std::string_view name) const;
    std::size_t clipCount() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl;
};

} // namespace grumbo
