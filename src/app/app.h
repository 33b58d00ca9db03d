// The application: one `App` owns the simulation, the input devices, the window
// and the drawing device, and runs the frame loop that ties them together.
//
// Its member functions are spread over files by concern: the shell and frame
// loop (app_shell.cpp), the drawing primitives (app_draw.cpp), the world
// (app_world.cpp, app_world_layers.cpp), and the flow between play and the
// screens around it (app_menus.cpp, app_hud.cpp), and what is heard and kept
// (app_sound.cpp).
#pragma once

#include "app/frame_loop.h"
#include "app/menus.h"
#include "app/native_io.h"
#include "app/records.h"
#include "app/render_math.h"
#include "app/replay_options.h"
#include "app/save_schema.h"
#include "app/sound_policy.h"
#include "app/text_cache.h"
#include "game/game.h"
#include "platform/renderer.h"
#include "platform/window.h"
#include "replay/replay.h"
#include "replay/replay_writer.h"
#include "save/native_save.h"

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace grumbo {

inline constexpr int WORLD_COUNT = 10;
inline constexpr int TEXT_SIZE_COUNT = 6;
// Text sizes in canvas units, by size index.
inline constexpr std::array<float, TEXT_SIZE_COUNT> TEXT_SIZES{10, 12, 16, 24, 40, 68};
inline constexpr int SMOKE_FRAME_COUNT = 240;
inline constexpr int MAX_EVENTS_PER_PASS = 128;
inline constexpr float ATTRACT_IDLE_SECONDS = 30;

inline constexpr const char* WINDOW_TITLE = "Grumbos Megastream";
inline constexpr const char* LAUNCH_ERROR_CAPTION = "Grumbos Megastream: launch error";
inline constexpr const char* ARTWORK_ERROR_CAPTION = "Grumbos Megastream: artwork missing";
inline constexpr const char* ARTWORK_ERROR_TEXT =
    "The sprite artwork is missing. Extract the entire ZIP before launching the game.";

class App {
  public:
    App();
    // Runs on the given input devices instead of the platform's (tests).
    explicit App(std::unique_ptr<InputDevices> devices);
    // Runs on the given input devices and sound output (tests).
    App(std::unique_ptr<InputDevices> devices, std::unique_ptr<AudioOutput> sound);
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // Shell and frame loop (app_shell.cpp).
    // Start-up, the loop and shutdown; returns the process exit code.
    int launch(std::string_view commandLine);
    // Everything before the loop: the command line, the window, `init`, the
    // window size and full screen; false after the launch error was reported.
    bool startUp(std::string_view commandLine);
    bool init();
    // After the loop: saves a journey in progress (never in a smoke run).
    void shutdown();
    // One pass of the loop: pump events, then idle, wait or run a frame.
    void runPass();
    void handleWindowEvent(const WindowEvent& event);
    void render();
    void toggleFullscreen();
    void changeResolution();
    void capture();
    void writeSmokeResults() const;

    // Drawing layer (app_draw.cpp). Coordinates are canvas units.
    bool createTarget();
    void releaseDeviceResources();
    Texture loadImage(const std::string& relativePath, bool opaque = false);
    void line(float x1, float y1, float x2, float y2, std::uint32_t colour, float width, float opacity);
    void rect(float x, float y, float w, float h, std::uint32_t colour, float opacity);
    // A convex quadrilateral (or a triangle, with two equal corners) as four x, y pairs.
    void quad(const float* points, std::uint32_t colour, float opacity);
    void panel(float x, float y, float w, float h, std::uint32_t colour);
    void text(std::string_view text, float x, float y, float w, float h, int size, std::uint32_t colour,
              bool centred);
    void button(std::string_view label, int index, float x, float y, float w, float h);
    void sprite(std::string_view name, float x, float y, float w, float h, bool flipped, float opacity,
                float rotation);
    // A soft light (`glowImage`) or a flame tongue (`flameImage`, `mirrored`
    // to make it sway) tinted `colour` over the box; a flat fill without the picture.
    void light(const Texture& picture, float x, float y, float w, float h, std::uint32_t colour,
               float opacity, bool mirrored = false);
    // Fills a rectangle with a texture repeated from the origin (ox, oy).
    void tile(const Texture& texture, float x, float y, float w, float h, float ox, float oy);
    static const char* pickupSprite(PickupKind kind);
    static const char* weaponSprite(Weapon weapon);

    // World rendering (app_world.cpp, app_world_layers.cpp).
    void world();
    void background(int world, float cameraX);
    void hazards(float cameraX);
    void loadWorldArt(std::size_t index);
    void resetLevelPresentation();
    void presentationTick(float dt);

    // Play and the screens around it (app_menus.cpp, app_hud.cpp).
    void mouseInput(Control& control);
    void controls(Control& control);
    // Carries out the highlighted entry of the current menu page.
    void action();
    // Starts a world, fresh or continuing the saved journey.
    void start(int level, bool continuing);
    void menuRender();
    void signCard();
    void completionCard();
    void hud();
    // The caption of the voice line playing, over the level band.
    void caption();

    // The player's own controls and assists (app_options.cpp): a remap cell
    // listening for its key or button, the entries of the remap and assist
    // pages, and drawing both pages.
    void listenForBinding(const Control& control);
    void optionAction(MenuCommand command);
    void remapPage(float cx);
    void assistPage(float cx);

    // Sound, voice and saving (app_sound.cpp).
    void soundEvents();
    void encounterReactions();
    void reaction(const std::string& group, VoiceMoment moment, float chance, float pan);
    // Plays a clip; a voice line that starts also shows its caption, when they are on, for as long
    // as the clip lasts.
    void playClip(std::string_view name, float volume, float pan);
    // Reads the settings and the journey to continue, then opens the writer.
    void loadSaved();
    // Hands the journey and settings to the writer.
    void persist();

    // Replays (app_replay.cpp).
    // `--replay FILE --verify`: checks the replay without a window, prints what
    // it found and returns the exit code (0 same, 1 parted, 2 unreadable).
    int verifyReplay();
    // A world has just started: it is recorded from here on, and its records
    // count from here. A new journey starts the journey timer; a world chosen
    // on the level-select screen stops it counting for the best journey.
    void beginRecording(bool newJourney = false, bool chosenWorld = false);
    // Hands finished worlds to the replay writer: last.replay beside the save,
    // and every world of the run to the file of `--record`.
    void keepReplays();
    // Plays `file` in the window from its first world; nothing is saved meanwhile.
    void watchReplay(ReplayFile file);
    // One frame of watching: the watcher's keys, then this frame's steps.
    void watchFrame(const Control& control, float dt);
    // Back to the title screen.
    void stopWatching();
    // The REPLAY badge over the world band while watching.
    void replayBadge();
    // Whether anything was pressed, moved or clicked this frame.
    bool anyInput(const Control& control);
    // Counts the title screen's idle time; after `ATTRACT_IDLE_SECONDS` a demo
    // world from assets/demo.replay plays until any input.
    void titleIdle(const Control& control, float dt);

    // Records (app_records.cpp).
    // The world's gate was reached in play: its records are noted.
    void clearedWorld();
    void worldRecordsLine(float cx);
    void clearRecordsLines(float cx);
    void hudTimer(float cx);

    // Owned subsystems. The window outlives the devices that draw into it and
    // the input layer, so it is declared first and closed last.
    Window window;
    Renderer renderer;
    Game game;
    NativeInput input;
    NativeAudio audio;
    AsyncSave saver;

    // Shell state.
    std::string baseDirectory;
    // The artwork and sound folder; found from baseDirectory at start-up when empty.
    std::string assetDirectory;
    float viewWidth = 960;
    float viewScale = 1;
    float viewOffsetY = 0;
    int clientWidth = 1280;
    int clientHeight = 720;
    bool running = true;
    bool active = true;
    bool fullscreen = false;
    bool smoke = false;
    bool gamepadActive = false;
    bool minimized = false;
    bool resumeAfterSizeMove = false;
    bool resizePending = false;
    bool dirty = true;
    bool resetTiming = false;
    bool showTimings = false;
    std::uint32_t graphicsCreates = 0;
    double lastCreateMs = 0;
    FrameStatistics timing;
    std::string timingText = "F3: collecting frame timings";
    int smokeFrames = 0;
    int smokeLevel = 0;
    FramePacer pacer;

    // What the save file mirrors; an empty `savePath` is worked out at start-up.
    std::wstring savePath;
    Settings settings;
    Progress progress;

    // Replays: the options, the recording of the worlds played, and their writer.
    ReplayOptions replayOptions;
    ReplayRecorder recorder;
    ReplayWriter replayWriter;
    // Watching a replay: the file, the world and step reached, speed and pause.
    ReplayFile watched;
    bool watching = false;
    bool watchPaused = false;
    int watchSpeed = 1;
    std::size_t watchSegment = 0;
    std::size_t watchStep = 0;
    // The title's demo: it is being shown, the idle time, and the next world.
    bool attract = false;
    float titleIdleSeconds = 0;
    std::size_t nextDemo = 0;
    int idleMouseX = -1;
    int idleMouseY = -1;
    // Records, the last clear and where the world in play started from.
    Records records;
    ClearResult lastClear;
    bool worldFromStart = false;
    int worldStartDeaths = 0;

    // Presentation state.
    float shakeTimer = 0;
    float presentationClock = 0;
    double presentationTime = 0;
    float toastTimer = 0;
    std::string toastText;
    std::deque<std::string> toastQueue;
    // The words of the voice line playing, shown until `captionUntil` (presentation seconds).
    std::string captionText;
    double captionUntil = 0;
    float ipJokeTimer = 0;
    float ipJokeCountdown = 19;
    std::string ipText;
    std::uint32_t ipJokeRng = 0x2F6B1D3u;
    std::vector<bool> pickupSeen;
    // Per weapon: its unlock has been noticed (rare ones get a voice line).
    std::array<bool, WEAPON_COUNT> weaponAnnounced{};
    SoundPolicy sounds;

    // Menu and mouse state; the window events feed the mouse's pending clicks and wheel.
    MenuState menu;
    MousePlay mouse;

    // Graphics: device-dependent textures are recreated together after a loss.
    bool deviceReady = false;
    // The sprite sheet could not be loaded: said once, and the game ends with exit code 1.
    bool artworkMissing = false;
    Texture spriteSheet;
    Texture glowImage;
    Texture flameImage;
    std::array<Texture, WORLD_COUNT> backgrounds{};
    std::array<Texture, WORLD_COUNT> terrain{};
    std::array<bool, WORLD_COUNT> worldArtLoaded{};
    TextCache textCache;
    std::vector<FRect> clickRegions;

    // The frame's mapping from canvas units to window pixels, and its clip.
    // Everything, the world included, is drawn straight at the window's
    // resolution, so sprites keep every row and move by fractions of a unit.
    Affine transform;
    FRect clipPixels;

    // The last presented frame, read back for the screenshot.
    bool captureRequested = false;
    std::vector<std::uint8_t> capturePixels;
    int captureWidth = 0;
    int captureHeight = 0;

  private:
    void frame(std::uint64_t now);
    void noticePickups();
    void announceWeapons();
    void changeSetting(int entry);
    void titlePage(float cx);
    void levelSelectPage(float cx);
    void controlsPage(float cx);
    void settingsPage(float cx);
    PolicyContext policyContext() const;
    void carryOut(PolicyRequests& requests);
    void pauseForDeactivation();
    void setClip(const FRect& canvasRect);
    void worldLayers(float cameraX);
    void drawPlatforms(float cameraX);
    void drawPits(float cameraX);
    void drawPitEdges(float cameraX);
    void drawProps(float cameraX);
    void drawMarkers(float cameraX);
    void drawPickups(float cameraX);
    void drawGate(float cameraX);
    void drawEnemies(float cameraX);
    void drawProjectiles(float cameraX);
    void drawParticles(float cameraX);
    void drawPlayer(float cameraX);
    void signPrompt(float cameraX);
};

} // namespace grumbo
