// The simulation: plain records for everything a world holds and one `Game`
// object that owns a run. It knows no window, clock, device or file; the app
// hands it one `Input` and a time step per step and reads its members back.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace grumbo {

struct Vec2 {
    float x = 0;
    float y = 0;
};

struct Rect {
    float x = 0;
    float y = 0;
    float w = 0;
    float h = 0;

    // Overlap with positive area only: rectangles that merely touch do not
    // overlap, and an empty rectangle overlaps nothing even when it lies
    // inside another.
    bool overlaps(const Rect& other) const {
        return w > 0 && h > 0 && other.w > 0 && other.h > 0 && other.x + other.w > x && x + w > other.x &&
               other.y + other.h > y && y + h > other.y;
    }
};

enum Weapon : std::int32_t {
    GiftedSubs,
    IpAddresses,
    WaterSlides,
    FidgetSpinners,
    BanHammer,
    RaidRocket,
    SnackShotgun,
    RgbLaser,
    ReceiptCannon,
    OneByOne,
};
inline constexpr int WEAPON_COUNT = 10;

// Weapon pickups share their names with the weapons, so the pickup kinds live
// in their own scope.
enum class PickupKind : std::int32_t {
    SubscriberTokens,
    GiftedSubs,
    IpAddresses,
    WaterSlides,
    FidgetSpinners,
    HotDog,
    Hamburger,
    Burrito,
    Creatine,
    BanHammer,
    RaidRocket,
    SnackShotgun,
    RgbLaser,
    Shield,
    EnergyDrink,
    ProteinShake,
    Magnet,
    Nachos,
    ReceiptCannon,
    OneByOne,
    SoupCan,
    Flashlight,
};
inline constexpr int PICKUP_KIND_COUNT = 22;

enum class EnemyKind : std::int32_t {
    Zombie,
    Slender,
    Cat,
    Letter,
    Boss,
    Spitter,
    Armored,
    Drone,
    Turret,
    Mimic,
    Cart,
    Caretaker,
};
inline constexpr int ENEMY_KIND_COUNT = 12;

enum class HazardKind : std::int32_t { Spikes, Flame, Laser, Crusher, Geyser };
inline constexpr int HAZARD_KIND_COUNT = 5;

enum class Sound : std::int32_t {
    FartJump,
    Shoot,
    Hurt,
    Pickup,
    Death,
    Checkpoint,
    SignOpen,
    WorldComplete,
    GameComplete,
    Stomp,
    EnemyDefeated,
    BossAttack,
    HazardWarning,
    ShieldBreak,
    Dash,
    BossPhase,
};
inline constexpr int SOUND_COUNT = 16;

// Occasions for the persona's voice; only the presentation uses them.
enum class VoiceMoment : std::int32_t {
    RareWeapon,
    Hurt,
    Death,
    BossEncounter,
    BossDefeated,
    WorldComplete,
    ChapterEntry,
};
inline constexpr int VOICE_MOMENT_COUNT = 7;

// Each count sizes the tables indexed by its enumeration, so it must follow
// the enumeration's last member.
static_assert(WEAPON_COUNT == OneByOne + 1);
static_assert(PICKUP_KIND_COUNT == static_cast<int>(PickupKind::Flashlight) + 1);
static_assert(ENEMY_KIND_COUNT == static_cast<int>(EnemyKind::Caretaker) + 1);
static_assert(HAZARD_KIND_COUNT == static_cast<int>(HazardKind::Geyser) + 1);
static_assert(SOUND_COUNT == static_cast<int>(Sound::BossPhase) + 1);
static_assert(VOICE_MOMENT_COUNT == static_cast<int>(VoiceMoment::ChapterEntry) + 1);

// The values of `Game::state`.
enum GameState : int {
    Title = 0,
    Playing = 1,
    Paused = 2,
    SignCard = 3,
    WorldComplete = 4,
    Finale = 5,
};

// One simulation step's worth of player intent. The "pressed" fields are
// edges: the app latches each press into exactly one step.
struct Input {
    bool left = false;
    bool right = false;
    bool jumpHeld = false;
    bool jumpPressed = false;
    bool fireHeld = false;
    bool interact = false;
    bool pause = false;
    bool nextWeapon = false;
    bool dash = false;
    bool aiming = false;
    Vec2 aim;
};

struct SoundEvent {
    Sound sound = Sound::FartJump;
    float volume = 1;
    float x = 0;
    Weapon weapon = GiftedSubs;
};

struct Platform {
    Rect rect;
    bool groundBlock = false;
    bool moving = false;
    bool crumbling = false;
    bool present = true;
    Vec2 home;
    Vec2 travel;
    Vec2 delta;
    float speed = 1;
    float phase = 0;
    float crumbleTimer = -1;
    float rebuildTimer = 0;
    float beltSpeed = 0;
};

struct Enemy {
    EnemyKind kind = EnemyKind::Zombie;
    Vec2 pos;
    Vec2 vel;
    Vec2 size;
    float patrolMin = 0;
    float patrolMax = 0;
    int hp = 1;
    int facing = -1;
    int maxHp = 1;
    int tier = 0;
    int bossIndex = -1;
    int phase = 1;
    int attackCount = 0;
    bool alive = true;
    bool grounded = false;
    char letter = 'A';
    float actionTimer = 0;
    float hitFlash = 0;
    float attackCooldown = 0;
    float windupTimer = 0;
    float chaseTimer = 0;
    float slowTimer = 0;
    float stunTimer = 0;
    Vec2 home;
    Vec2 aimPoint;
};

struct Hazard {
    Rect rect;
    HazardKind kind = HazardKind::Spikes;
    bool active = true;
    float clock = 0;
    float period = 0;
    float activeTime = 0;
    int damage = 0;
    Rect home;
    bool warning = false;
};

struct Pickup {
    PickupKind kind = PickupKind::SubscriberTokens;
    Vec2 pos; // centre of the 28 x 28 pickup box
    bool collected = false;
    int value = 1;
};

struct Sign {
    Vec2 pos; // x is the centre, y the ground line
    std::string text;
    bool read = false;
};

struct Checkpoint {
    Vec2 pos; // x is the flag's centre, y the ground line
    bool reached = false;
};

struct Pit {
    float left = 0;
    float right = 0;
    float y = 470;
};

struct Chapter {
    float startX = 0;
    float endX = 0;
    std::string title;
    int theme = 0; // 0 grocery, 1 granny, 2 bunker, 3 cards
};

struct Projectile {
    Weapon weapon = GiftedSubs;
    Vec2 pos;
    Vec2 vel;
    float life = 0;
    Vec2 size;
    float spin = 0;
    int damage = 0;
    int dir = 1;
    int pierce = 1;
    float gravity = 0;
    float blastRadius = 0;
    float slowOnHit = 0;
    int bounces = 0;
    std::uint64_t hitMask = 0;
    bool hostile = false;
    bool alive = true;
};

struct Particle {
    Vec2 pos; // centre
    Vec2 vel;
    float life = 0;
    float maxLife = 0;
    float size = 0;
    std::uint32_t color = 0;
    int kind = 0; // 0 cloud, 1 spark, 2 large burst, 3 trail
};

struct Level {
    std::string name;
    std::string subtitle;
    int world = 0;
    float length = 6000;
    float bossArenaX = 4950;
    Vec2 spawn{110, 406};
    Rect exitGate;
    std::vector<Platform> platforms;
    std::vector<Enemy> enemies;
    std::vector<Pickup> pickups;
    std::vector<Sign> signs;
    std::vector<Checkpoint> checkpoints;
    std::vector<Hazard> hazards;
    std::vector<Pit> pits;
    std::vector<Chapter> chapters;
};

struct Player {
    Vec2 pos{110, 406};
    Vec2 vel;
    Vec2 size{42, 64};
    int facing = 1;
    int health = 100;
    int maxHealth = 100;
    int shield = 0;
    bool grounded = false;
    Weapon weapon = GiftedSubs;
    std::array<bool, WEAPON_COUNT> ownedWeapons{true};
    float invulnerable = 0;
    float speedBoost = 0;
    float tripleJump = 0;
    float magnet = 0;
    float powerUp = 0;
    float dashCooldown = 0;
    float dashTime = 0;
    float flashlight = 0;
    float glow = 0;
    int jumpsUsed = 0;
};

// Help a player may choose, all off by default. The app sets them when a
// world starts, so a world replays alike from its seed, its inputs and these.
// The simulation honours no damage and the extra air jump; the app runs fewer
// steps per second of real time at a lower speed, each still 1/120 s long.
struct Assists {
    int speedPercent = 100; // 50 to 100 in steps of 10
    bool noDamage = false;  // hits leave health alone; a pit still kills
    bool extraAirJump = false;

    bool operator==(const Assists&) const = default;
};

// World geometry shared by the simulation and the presentation.
inline constexpr float GROUND_Y = 470;
inline constexpr float VIEW_HEIGHT = 540;
inline constexpr float DEFAULT_VIEW_WIDTH = 960;
inline constexpr int MAX_SOUND_EVENTS = 256;
inline constexpr int MAX_PROJECTILES = 160;
inline constexpr int MAX_PARTICLES = 700;

class Game {
  public:
    int state = Title;
    int world = 0;
    int subscribers = 0;
    int deaths = 0;
    Level level;
    Player player;
    std::vector<Projectile> projectiles;
    std::vector<Particle> particles;
    std::vector<SoundEvent> sounds;
    std::string signText;
    float cameraX = 0;
    float levelTime = 0;
    float viewWidth = DEFAULT_VIEW_WIDTH;
    int checkpoint = -1;
    bool exitOpen = false;
    float coyoteTime = 0;
    float jumpBuffer = 0;
    float fireCooldown = 0;
    std::uint32_t rng = 735841;
    bool finishSounded = false;
    Assists assists;

    Game();

    // Model and queries (game_model.cpp).
    float random(float lo, float hi);
    static const char* weaponName(Weapon weapon);
    static int weaponPower(Weapon weapon);
    static const char* bossName(int world);
    static const char* pickupName(PickupKind kind);
    static const char* levelName(int world);
    static const char* levelSubtitle(int world);
    int collectedSubscribers() const;
    int nearbySign() const;
    int pitAhead(float distance) const;
    void cycleWeapon();
    bool bossEncounterActive() const;

    // Level construction (game_level.cpp).
    static Level makeLevel(int world);

    // Lifecycle and the frame step (game_lifecycle.cpp).
    void start(int world);
    void update(const Input& input, float dt);
    void advanceLevel();
    void restartCheckpoint();
    // A journey resumed at checkpoint `index` (clamped; -1 none): the player
    // stands on it, briefly safe, and it and every earlier one count as reached.
    void resumeAtCheckpoint(int index);
    void emit(Sound sound, float x, float volume, Weapon weapon = GiftedSubs);
    void addSubscribers(int amount);

    // The player (game_player.cpp).
    void updatePlayer(const Input& input, float dt);
    void fartJump(bool air);
    void damagePlayer(int amount, float sourceX);

    // Weapons, projectiles and particles (game_weapons.cpp).
    void shoot(const Input& input);
    void updateProjectiles(float dt);
    void damageEnemy(Enemy& enemy, int amount);
    void burst(Vec2 at, int count, unsigned color, int kind);
    void updateParticles(float dt);

    // Platforms, hazards and pickups (game_world.cpp).
    void updatePlatforms(float dt);
    void updateHazards(float dt);
    void updatePickups(float dt);

    // Enemies and bosses (game_enemies.cpp, game_bosses.cpp).
    void updateEnemies(float dt);
    void enemyShot(Vec2 from, Vec2 to, float speed, int damage, float size, float gravity);
    void updateBoss(Enemy& boss, float dt);
    void bossAttack(Enemy& boss);

  private:
    void playingStep(const Input& input, float dt);
    void updateCheckpoints();
    void updateCamera(float dt);
    void checkExitGate();
};

} // namespace grumbo
