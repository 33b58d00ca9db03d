// Enemy behaviours and the hostile shots they fire.
#include "game/enemy_common.h"
#include "game/game.h"

#include <algorithm>
#include <cmath>

namespace grumbo {

namespace {

// What tells the ordinary enemy kinds apart, indexed by `EnemyKind`. A hop of
// 0 means the kind never hops; only `stompable` kinds can be jumped on safely.
struct EnemyTraits {
    float patrolSpeed;
    float hopVelocity;
    bool stompable;
};

constexpr EnemyTraits ENEMY_TRAITS[ENEMY_KIND_COUNT] = {
    {48, 0, true},     // Zombie
    {28, 0, false},    // Slender
    {100, -300, true}, // Cat
    {62, -220, true},  // Letter
    {0, 0, true},      // Boss: moved by the boss code
    {48, 0, true},     // Spitter
    {36, 0, false},    // Armored
    {48, 0, true},     // Drone
    {48, 0, true},     // Turret: never moves
    {90, -360, true},  // Mimic
    {48, 0, true},     // Cart
    {48, 0, true},     // Caretaker
};

const EnemyTraits& traitsOf(const Enemy& enemy) {
    const int kind = std::clamp(static_cast<int>(enemy.kind), 0, ENEMY_KIND_COUNT - 1);
    return ENEMY_TRAITS[kind];
}

constexpr float TIER_SPEED_BONUS = 6;
constexpr float HOP_INTERVAL = 2.4f;
constexpr float GRAVITY = 1500;
constexpr float MAX_FALL_SPEED = 850;
constexpr float FALL_OUT_Y = 740;
constexpr float SLOWED_FACTOR = 0.45f;
constexpr float ACTIVE_RANGE_MARGIN = 500;

constexpr float CHASE_RANGE = 210;
constexpr float ZOMBIE_CHASE_SPEED = 70;
constexpr float MIMIC_CHASE_SPEED = 125;

constexpr float RANGED_RANGE = 700;
constexpr float RANGED_WINDUP = 0.48f;
constexpr float RANGED_SHOT_SIZE = 17;

constexpr float CART_TRIGGER_RANGE = 440;
constexpr float CART_WINDUP = 0.45f;
constexpr float CART_COOLDOWN = 2.6f;
constexpr float CART_RUSH = 0.85f;

constexpr float CARETAKER_TRIGGER_RANGE = 480;
constexpr float CARETAKER_WINDUP = 0.7f;
constexpr float CARETAKER_COOLDOWN = 3.0f;
constexpr float CARETAKER_CHASE = 1.05f;
constexpr float CARETAKER_STUN = 0.16f;
constexpr float CARETAKER_STUN_COOLDOWN = 0.6f;
constexpr float FLASHLIGHT_REACH = 260;
constexpr float FLASHLIGHT_HALF_HEIGHT = 115;

constexpr float SLENDER_LEAP = 230;
constexpr float SLENDER_SAFE_DISTANCE = 125;
constexpr float SLENDER_INTERVAL = 4.2f;

// Enemy shots share the list with the player's; they stop a little earlier
// so the player always has room to fire back.
constexpr std::size_t MAX_ENEMY_SHOT_LIST = 149;
constexpr float ENEMY_SHOT_LIFE = 4.0f;

float asFloat(int value) {
    return static_cast<float>(value);
}

int contactDamage(const Enemy& enemy) {
    switch (enemy.kind) {
    case EnemyKind::Cart:
        return 20;
    case EnemyKind::Caretaker:
        return 23;
    case EnemyKind::Slender:
        return 25;
    default:
        return 2 * enemy.tier + 15;
    }
}

// The body must fit wholly on one ground block.
bool groundSupports(const Level& level, float x, float width) {
    return std::any_of(level.platforms.begin(), level.platforms.end(), [&](const Platform& p) {
        return p.groundBlock && p.present && p.rect.x <= x && x + width <= p.rect.x + p.rect.w;
    });
}

void updateCart(Game& game, Enemy& cart, float dt, float playerDx) {
    if (cart.windupTimer > 0) {
        // It stands still while winding up, then rushes where the player was.
        cart.vel.x = 0;
        cart.windupTimer -= dt;
        if (cart.windupTimer <= 0) {
            cart.windupTimer = 0;
            cart.facing = cart.pos.x > cart.aimPoint.x ? -1 : 1;
            cart.chaseTimer = CART_RUSH;
        }
    } else if (cart.attackCooldown <= 0 && playerDx < CART_TRIGGER_RANGE) {
        // The cart rolls on for the step it notices the player, and stands
        // still from the next.
        cart.windupTimer = CART_WINDUP;
        cart.attackCooldown = CART_COOLDOWN;
        cart.aimPoint = playerAimPoint(game.player);
    }
    if (cart.chaseTimer > 0) {
        cart.vel.x = (10 * asFloat(cart.tier) + 190) * asFloat(cart.facing);
        cart.chaseTimer = std::max(cart.chaseTimer - dt, 0.0f);
    }
}

void updateCaretaker(Game& game, Enemy& caretaker, float dt, float playerDx) {
    const Player& player = game.player;
    const Vec2 centre = centreOf(caretaker);
    const float lightDx = centre.x - (player.pos.x + 21);
    const bool lit = player.flashlight > 0 && asFloat(player.facing) * lightDx >= 0 &&
                     std::fabs(lightDx) < FLASHLIGHT_REACH &&
                     std::fabs(centre.y - (player.pos.y + 32)) < FLASHLIGHT_HALF_HEIGHT;
    if (lit) {
        if (caretaker.stunTimer <= 0) {
            game.burst(centre, 10, 0xFFFFEDAB, 1);
        }
        caretaker.stunTimer = CARETAKER_STUN;
    }
    // A lit or still-dazed caretaker freezes and forgets the noise it heard.
    if (caretaker.stunTimer > 0) {
        caretaker.vel = {0, 0};
        caretaker.windupTimer = 0;
        caretaker.chaseTimer = 0;
        caretaker.attackCooldown = std::max(caretaker.attackCooldown, CARETAKER_STUN_COOLDOWN);
        return;
    }

    // Walking slowly on the ground without firing keeps the player unheard.
    const bool quiet = std::fabs(player.vel.x) <= 120 && player.grounded && game.fireCooldown <= 0.05f;
    if (!quiet && caretaker.windupTimer <= 0 && caretaker.attackCooldown <= 0 &&
        playerDx < CARETAKER_TRIGGER_RANGE) {
        caretaker.windupTimer = CARETAKER_WINDUP;
        caretaker.attackCooldown = CARETAKER_COOLDOWN;
        caretaker.aimPoint = playerAimPoint(player);
        game.emit(Sound::HazardWarning, caretaker.pos.x, 0.6f);
    }
    if (caretaker.windupTimer > 0) {
        caretaker.vel.x = 0;
        caretaker.windupTimer -= dt;
        if (caretaker.windupTimer > 0) {
            return;
        }
        // The chase starts in the very step the warning ends.
        caretaker.windupTimer = 0;
        caretaker.facing = caretaker.pos.x > caretaker.aimPoint.x ? -1 : 1;
        caretaker.chaseTimer = CARETAKER_CHASE;
    }
    if (caretaker.chaseTimer > 0) {
        caretaker.chaseTimer = std::max(caretaker.chaseTimer - dt, 0.0f);
        caretaker.vel.x = caretaker.chaseTimer > 0
                              ? (10 * asFloat(caretaker.tier) + 175) * asFloat(caretaker.facing)
                              : 0.0f;
    }
}

void updateSlender(Game& game, Enemy& slender) {
    if (slender.actionTimer > 0) {
        return;
    }
    const Player& player = game.player;
    const float target =
        clampToPatrol(slender, player.pos.x + (player.facing > 0 ? SLENDER_LEAP : -SLENDER_LEAP));
    // It appears where the player is heading, but never on top of the player
    // and never over a pit.
    if (groundSupports(game.level, target, slender.size.x) &&
        std::fabs(target - player.pos.x) > SLENDER_SAFE_DISTANCE) {
        game.burst({slender.pos.x + 19, slender.pos.y + 45}, 12, 0xFF9D8ABC, 1);
        slender.pos.x = target;
        game.burst({slender.pos.x + 19, slender.pos.y + 45}, 12, 0xFF9D8ABC, 1);
    }
    slender.actionTimer = SLENDER_INTERVAL;
}

void fireRanged(Game& game, const Enemy& shooter) {
    const int damage = 3 * shooter.tier + 12;
    const Vec2 muzzle = centreOf(shooter);
    switch (shooter.kind) {
    case EnemyKind::Spitter:
        game.enemyShot(muzzle, shooter.aimPoint, 225, damage, RANGED_SHOT_SIZE, 100);
        break;
    case EnemyKind::Drone:
        game.enemyShot(muzzle, shooter.aimPoint, 290, damage, RANGED_SHOT_SIZE, 0);
        break;
    default:
        game.enemyShot(muzzle, shooter.aimPoint, 370, damage, RANGED_SHOT_SIZE, 0);
        // Tougher turrets add a second, higher shot to catch a jump.
        if (shooter.tier > 0) {
            game.enemyShot({shooter.pos.x + 24, shooter.pos.y + 12},
                           {shooter.aimPoint.x, shooter.aimPoint.y - 55}, 330, 12, 16, 0);
        }
        break;
    }
}

void updateRanged(Game& game, Enemy& shooter, float dt, float playerDx) {
    // Out of range a windup stays frozen until the player comes back.
    if (playerDx >= RANGED_RANGE) {
        return;
    }
    if (shooter.windupTimer > 0) {
        shooter.windupTimer -= dt;
        if (shooter.windupTimer <= 0) {
            shooter.windupTimer = 0;
            fireRanged(game, shooter);
        }
    }
    if (shooter.windupTimer <= 0 && shooter.attackCooldown <= 0) {
        shooter.windupTimer = RANGED_WINDUP;
        shooter.aimPoint = playerAimPoint(game.player);
        shooter.attackCooldown = std::max(1.25f, 2.8f - 0.35f * asFloat(shooter.tier));
    }
}

void updateBehaviour(Game& game, Enemy& enemy, float dt, float playerDx) {
    switch (enemy.kind) {
    case EnemyKind::Turret:
        enemy.vel.x = 0;
        updateRanged(game, enemy, dt, playerDx);
        break;
    case EnemyKind::Spitter:
    case EnemyKind::Drone:
        updateRanged(game, enemy, dt, playerDx);
        break;
    case EnemyKind::Zombie:
    case EnemyKind::Mimic:
        if (playerDx < CHASE_RANGE) {
            enemy.facing = enemy.pos.x > game.player.pos.x ? -1 : 1;
            const float chase = enemy.kind == EnemyKind::Zombie ? ZOMBIE_CHASE_SPEED : MIMIC_CHASE_SPEED;
            enemy.vel.x = chase * asFloat(enemy.facing);
        }
        break;
    case EnemyKind::Cart:
        updateCart(game, enemy, dt, playerDx);
        break;
    case EnemyKind::Caretaker:
        updateCaretaker(game, enemy, dt, playerDx);
        break;
    case EnemyKind::Slender:
        updateSlender(game, enemy);
        break;
    default:
        break;
    }

    const float hop = traitsOf(enemy).hopVelocity;
    if (hop < 0 && enemy.actionTimer <= 0 && enemy.grounded) {
        enemy.vel.y = hop;
        enemy.actionTimer = HOP_INTERVAL;
    }
}

void moveVertically(const Game& game, Enemy& enemy, float dt) {
    if (enemy.kind == EnemyKind::Drone) {
        // Drones hover on a bob; each one's phase depends on where it patrols.
        enemy.pos.y = enemy.home.y + 40 * std::sin(2 * game.levelTime + 0.01f * enemy.patrolMin);
        enemy.grounded = false;
        return;
    }
    enemy.vel.y = std::min(enemy.vel.y + GRAVITY * dt, MAX_FALL_SPEED);
    const float oldBottom = enemy.pos.y + enemy.size.y;
    enemy.pos.y += enemy.vel.y * dt;
    enemy.grounded = false;
    if (enemy.vel.y < 0) {
        return;
    }
    // Every platform is tested against the same move, so of two crossed in
    // one step the later in the list wins.
    const float newBottom = enemy.pos.y + enemy.size.y;
    for (const Platform& p : game.level.platforms) {
        const bool spans = enemy.pos.x + enemy.size.x > p.rect.x && p.rect.x + p.rect.w > enemy.pos.x;
        if (p.present && spans && oldBottom <= p.rect.y + 1.5f && newBottom >= p.rect.y) {
            enemy.pos.y = p.rect.y - enemy.size.y;
            enemy.vel.y = 0;
            enemy.grounded = true;
        }
    }
}

void touchPlayer(Game& game, Enemy& enemy) {
    if (!boxOf(enemy).overlaps(boxOf(game.player))) {
        return;
    }
    if (traitsOf(enemy).stompable && fallsOnto(game.player, enemy)) {
        if (enemy.alive) {
            game.damageEnemy(enemy, 3);
        }
        bounceOffStomp(game);
        return;
    }
    if (enemy.stunTimer <= 0) {
        game.damagePlayer(contactDamage(enemy), centreOf(enemy).x);
    }
}

} // namespace

void Game::enemyShot(Vec2 from, Vec2 to, float speed, int damage, float size, float gravity) {
    if (projectiles.size() > MAX_ENEMY_SHOT_LIST) {
        return;
    }
    const float dx = to.x - from.x;
    const float dy = to.y - from.y;
    const float length = std::hypot(dx, dy);
    Projectile shot;
    shot.weapon = GiftedSubs;
    shot.pos = from;
    // A target on top of the muzzle gives no direction, and neither does a
    // non-finite one; such a shot flies left.
    const bool aimed = length >= 0.001f && std::isfinite(length);
    shot.vel = aimed ? Vec2{dx / length * speed, dy / length * speed} : Vec2{-speed, 0};
    shot.life = ENEMY_SHOT_LIFE;
    shot.size = {size, size};
    shot.damage = damage;
    shot.dir = shot.vel.x >= 0 ? 1 : -1;
    shot.pierce = 1;
    shot.gravity = gravity;
    shot.hostile = true;
    shot.alive = true;
    projectiles.push_back(shot);
}

void Game::updateEnemies(float dt) {
    for (Enemy& enemy : level.enemies) {
        if (!enemy.alive) {
            continue;
        }
        if (enemy.kind == EnemyKind::Boss) {
            updateBoss(enemy, dt);
            continue;
        }

        enemy.slowTimer = std::max(enemy.slowTimer - dt, 0.0f);
        enemy.stunTimer = std::max(enemy.stunTimer - dt, 0.0f);
        enemy.hitFlash = std::max(enemy.hitFlash - dt, 0.0f);
        enemy.actionTimer -= dt;
        enemy.attackCooldown -= dt;

        // Far-away enemies only keep time, which keeps a step cheap in long levels.
        const float playerDx = std::fabs(enemy.pos.x - player.pos.x);
        if (playerDx > viewWidth + ACTIVE_RANGE_MARGIN) {
            continue;
        }

        if (enemy.pos.x <= enemy.patrolMin) {
            enemy.facing = 1;
        }
        if (enemy.pos.x + enemy.size.x >= enemy.patrolMax) {
            enemy.facing = -1;
        }
        const float patrolSpeed = traitsOf(enemy).patrolSpeed + TIER_SPEED_BONUS * asFloat(enemy.tier);
        enemy.vel.x = patrolSpeed * asFloat(enemy.facing);

        updateBehaviour(*this, enemy, dt, playerDx);

        // A receipt tag slows the walk, never the hop.
        if (enemy.slowTimer > 0) {
            enemy.vel.x *= SLOWED_FACTOR;
        }
        enemy.pos.x = clampToPatrol(enemy, enemy.pos.x + enemy.vel.x * dt);

        moveVertically(*this, enemy, dt);
        if (enemy.pos.y > FALL_OUT_Y) {
            enemy.alive = false;
            continue;
        }

        touchPlayer(*this, enemy);
    }
}

} // namespace grumbo
