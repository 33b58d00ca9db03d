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
#include "app/render_math.h"
#include "app/save_schema.h"
#include "app/sound_policy.h"
#include "app/text_cache.h"
#include "game/game.h"
#include "platform/renderer.h"
#include "platform/window.h"
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

inline constexpr const char* WINDOW_TITLE = "Grumbos Megastream";
inline constexpr const char* LAUNCH_ERROR_CAPTION = "Grumbos Megastream: launch error";
inline constexpr const char* ARTWORK_ERROR_CAPTION = "Grumbos Megastream: artwork missing";
inline constexpr const char* ARTWORK_ERROR_TEXT =
    "The sprite artwork is missing. Extract the entire ZIP before launching the game.";

// A text met while the world is drawn into its canvas layer: it is drawn at
// the window's resolution once the layer is on screen, so it stays crisp.
struct DeferredText {
    std::string text;
    float x = 0;
    float y = 0;
    float w = 0;
    float h = 0;
    int size = 0;
    std::uint32_t colour = 0;
    bool centred = false;
};

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
    Texture loadImage(const std::string& relativePath);
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
    // Fills a rectangle with a texture repeated from the origin (ox, oy).
    void tile(const Texture& texture, float x, float y, float w, float h, float ox, float oy);
    static const char* pickupSprite(PickupKind kind);
    static const char* weaponSprite(Weapon weapon);

    // World rendering (app_world.cpp, app_world_layers.cpp).
    void world();
    void background(int world, float cameraX);
    void hazards(float cameraX);
    void createTerrain();
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
    // Reads the settings and the journey to continue, then opens the writer.
    void loadSaved();
    // Hands the journey and settings to the writer.
    void persist();

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

    // Presentation state.
    float shakeTimer = 0;
    float presentationClock = 0;
    double presentationTime = 0;
    float toastTimer = 0;
    std::string toastText;
    std::deque<std::string> toastQueue;
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
    Texture spriteSheet;
    std::array<Texture, WORLD_COUNT> backgrounds{};
    std::array<Texture, WORLD_COUNT> terrain{};
    Texture worldLayer;
    TextCache textCache;
    float textScale = 0;
    std::vector<FRect> clickRegions;

    // The frame's mapping from canvas units to pixels of the current target and
    // its clip; while `layerActive`, drawing goes into `worldLayer` at one pixel
    // per canvas unit and texts wait in `deferredTexts`.
    Affine transform;
    FRect clipPixels;
    bool layerActive = false;
    // Drawing the world 1:1 into the layer and scaling it once costs about half
    // of scaling every sprite; off, the world goes straight to the window.
    bool useWorldLayer = true;
    std::vector<DeferredText> deferredTexts;

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
    void drawText(std::string_view text, float x, float y, float w, float h, int size, std::uint32_t colour,
                  bool centred);
    void setClip(const FRect& canvasRect);
    void beginWorldLayer();
    void endWorldLayer();
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
