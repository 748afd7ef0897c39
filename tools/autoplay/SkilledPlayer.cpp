#include "autoplay/SkilledPlayer.h"

#include "base/Clock.h"
#include "modes/EnemySpawn.h"
#include "modes/Game.h"
#include "modes/GameMode.h"
#include "modes/MenuMode.h"
#include "render/Sprite.h"
#include "world/Enemy.h"
#include "world/Player.h"
#include "world/Projectile.h"
#include "world/ShieldPickup.h"
#include "world/World.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
constexpr float stepSeconds = 0.032f;
constexpr uint32_t stepMs = 32;
constexpr int horizon = 30; // planning steps, about a second
constexpr float thrustPerStep = 100.0f * stepSeconds;
constexpr float inertia = 0.75f;
constexpr float shipShotSpeed = 800.0f;
constexpr float shipShotStart = 32.0f;
constexpr float cruising = 500.0f; // low, where shots take long to arrive, with room below
constexpr float highest = 372.0f;  // never higher: the enemies' band ends well above
constexpr float margin = 30.0f;    // clearance below which a plan pays
constexpr float crowdRange = 160.0f;
constexpr float crowdWeight = 300.0f;
// Enemies that patrol and wander keep above this line; one below it comes down at the ship
// and is kept clear of like a shot.
constexpr float enemiesBand = 300.0f;
constexpr float shotRadius = 11.0f; // of an aimed shot not seen yet

// How much an enemy is worth going for: its points, and one more for a kind whose volleys
// are hard to dodge (fans, aimed shots), half a point for single straight shots.
float Worth(const EnemyKind& kind)
{
    const VolleyFigures& volley = kind.volley;
    const float danger = volley.shots > 1 || (volley.shots > 0 && volley.aimed) ? 1.0f
        : volley.shots > 0                                                      ? 0.5f
                                                                                : 0.0f;
    return static_cast<float>(kind.scoreValue) + danger;
}

// The player's own steering rule, one step, kept inside the window.
void StepShip(Vec2& position, Vec2& velocity, int x, int y, float radius)
{
    velocity.x = static_cast<float>(x) * thrustPerStep + velocity.x * inertia;
    velocity.y = static_cast<float>(y) * thrustPerStep + velocity.y * inertia;
    position.x += velocity.x;
    position.y += velocity.y;
    // Each edge by itself, in the game's order: stopped against it, without a bounce.
    const auto keep = [](float& at, float& speed, float low, float high) {
        if (at < low) {
            at = low;
            speed = 0.0f;
        }
        if (at > high) {
            at = high;
            speed = 0.0f;
        }
    };
    keep(position.x, velocity.x, radius, 800.0f - radius);
    keep(position.y, velocity.y, radius, 600.0f - radius);
}

// Mixes the run's seed so that this player's draws do not echo the game's generator.
uint32_t PlayerSeed(uint32_t seed)
{
    uint32_t mixed = seed * 2246822519u + 0x85ebca6bu;
    mixed ^= mixed >> 13;
    return mixed * 2654435761u;
}
} // namespace

SkilledPlayer::SkilledPlayer(uint32_t seed, const Settings& playerSettings, Record* record)
    : random(PlayerSeed(seed))
    , settings(playerSettings)
    , out(record)
{
    if (out != nullptr)
        *out = Record {};
}

void SkilledPlayer::Hold(Replay::Frame& frame, int scancode, bool wanted)
{
    if (held[static_cast<size_t>(scancode)] == wanted)
        return;
    frame.events.push_back(
        { wanted ? Replay::Event::Kind::KeyDown : Replay::Event::Kind::KeyUp, scancode });
    held[static_cast<size_t>(scancode)] = wanted;
}

void SkilledPlayer::Tap(Replay::Frame& frame, int scancode)
{
    Hold(frame, scancode, true);
    Hold(frame, scancode, false);
}

bool SkilledPlayer::Next(const Game& game, Replay::Frame& frame)
{
    frame = Replay::Frame {};
    const uint32_t spread
        = settings.longestFrame - std::min(settings.shortestFrame, settings.longestFrame);
    frame.ms = settings.shortestFrame
        + (spread == 0 ? 0 : static_cast<uint32_t>(random.Next()) % (spread + 1));
    if (const auto* menu = dynamic_cast<const MenuMode*>(game.mode.get()))
        InMenu(*menu, frame);
    else if (const auto* play = dynamic_cast<const GameMode*>(game.mode.get()))
        InPlay(game, *play, frame);
    if (out != nullptr)
        *out = played;
    return true;
}

void SkilledPlayer::InMenu(const MenuMode& menu, Replay::Frame& frame)
{
    playing = false;
    // One key a frame at most, every other frame, as the menu takes one key at a time.
    if (random.Next() % 2 == 0)
        return;
    if (menu.overlay->visible) {
        Tap(frame, SDL_SCANCODE_SPACE);
        return;
    }
    const TextItem* wanted = done ? menu.quitItem : menu.playItem;
    if (menu.selected == wanted) {
        Tap(frame, SDL_SCANCODE_LCTRL);
        return;
    }
    Tap(frame, done ? SDL_SCANCODE_DOWN : SDL_SCANCODE_UP);
}

void SkilledPlayer::InPlay(const Game& game, const GameMode& play, Replay::Frame& frame)
{
    if (!playing) {
        playing = true;
        done = true;
        leaving = false;
        held.fill(false);
        playStart = gameTime;
        history.clear();
        steering.clear();
        targetEnemy = nullptr;
    }
    if (gamePaused) {
        Tap(frame, leaving ? SDL_SCANCODE_SPACE : SDL_SCANCODE_ESCAPE);
        return;
    }
    if (play.player == nullptr) {
        NoteTheEnd(game, play);
        return; // the game-over screen hands back to the menu
    }
    lastShipPosition = play.player->position;
    played.survivedMs = gameTime - playStart;
    played.score = play.score;
    if (gameTime - playStart >= settings.longestPlay) {
        leaving = true;
        Tap(frame, SDL_SCANCODE_ESCAPE);
        return;
    }

    Look(game, play);
    Hold(frame, SDL_SCANCODE_LCTRL, true);

    const Snapshot* seen = SeenNow();
    int x = 0;
    int y = 0;
    if (seen != nullptr) {
        Vec2 ship;
        Vec2 velocity;
        const int stepsSince = ShipNow(*seen, ship, velocity);
        const uint32_t age = gameTime - seen->time;
        const Vec2 goal = Goal(*seen, ship, age);

        // Every shot seen, carried forward to each step of the plans; far ones are left out.
        hazardCount = 0;
        std::vector<const Seen*> near;
        for (const Seen& thing : seen->things) {
            const bool comingDown = thing.kind == Kind::Enemy && thing.position.y > enemiesBand;
            if (thing.kind != Kind::Shot && !comingDown)
                continue;
            const float lead = static_cast<float>(age) / 1000.0f;
            const float span = static_cast<float>(horizon) * stepSeconds;
            const Vec2 from { thing.position.x + thing.velocity.x * lead,
                thing.position.y + thing.velocity.y * lead };
            const Vec2 to { from.x + thing.velocity.x * span, from.y + thing.velocity.y * span };
            const float reach = shipRadius + thing.radius + 420.0f;
            if (ship.x < std::min(from.x, to.x) - reach || ship.x > std::max(from.x, to.x) + reach
                || ship.y < std::min(from.y, to.y) - reach
                || ship.y > std::max(from.y, to.y) + reach)
                continue;
            near.push_back(&thing);
        }
        // And a shot that each enemy that aims may be firing now, at where the ship is: not
        // seen yet, it is only worth keeping clear of, which keeps the ship on the move.
        std::vector<Seen> unseen;
        for (const Seen& thing : seen->things) {
            if (thing.kind != Kind::Enemy || thing.enemy->volley.shots == 0
                || !thing.enemy->volley.aimed)
                continue;
            const float shotSpeed = thing.enemy->volley.shotSpeed;
            const float t = static_cast<float>(stepsSince) * stepSeconds;
            const Vec2 from { thing.position.x + thing.velocity.x * t, thing.position.y + 32.0f };
            const float dx = ship.x - from.x;
            const float dy = ship.y - from.y;
            const float length = std::sqrt(dx * dx + dy * dy);
            if (length < 1.0f)
                continue;
            Seen shot;
            shot.position
                = { from.x - dx / length * shotSpeed * t, from.y - dy / length * shotSpeed * t };
            shot.velocity = { dx / length * shotSpeed, dy / length * shotSpeed };
            shot.radius = shotRadius;
            unseen.push_back(shot);
        }
        const size_t seenCount = near.size();
        for (const Seen& shot : unseen)
            near.push_back(&shot);
        hazardCount = near.size();
        hazards.resize(hazardCount * horizon);
        for (size_t i = 0; i < hazardCount; ++i) {
            const Seen& thing = *near[i];
            for (int k = 0; k < horizon; ++k) {
                // The ship's picture and the shots' were seen at one step: both are carried
                // forward by the same count of steps.
                const float t = static_cast<float>(stepsSince + k + 1) * stepSeconds;
                hazards[static_cast<size_t>(k) * hazardCount + i]
                    = { thing.position.x + thing.velocity.x * t,
                          thing.position.y + thing.velocity.y * t, shipRadius + thing.radius,
                          i < seenCount ? 1.0f : 0.0f };
            }
        }

        float best = std::numeric_limits<float>::infinity();
        for (int fx = -1; fx <= 1; ++fx) {
            for (int fy = -1; fy <= 1; ++fy) {
                for (int steps : { 2, 5, 10, horizon }) {
                    for (int tx = -1; tx <= 1; ++tx) {
                        for (int ty = -1; ty <= 1; ++ty) {
                            if (steps == horizon && (tx != fx || ty != fy))
                                continue;
                            const Plan plan { fx, fy, steps, tx, ty };
                            const float cost = Cost(plan, ship, velocity, goal);
                            if (cost < best) {
                                best = cost;
                                x = fx;
                                y = fy;
                            }
                        }
                    }
                }
            }
        }
    }
    Hold(frame, SDL_SCANCODE_LEFT, x < 0);
    Hold(frame, SDL_SCANCODE_RIGHT, x > 0);
    Hold(frame, SDL_SCANCODE_UP, y < 0);
    Hold(frame, SDL_SCANCODE_DOWN, y > 0);
    steering.push_back({ gameTime + frame.ms, x, y });
}

void SkilledPlayer::Look(const Game& game, const GameMode& play)
{
    Snapshot look;
    look.time = gameTime;
    size_t enemies = 0;
    size_t shots = 0;
    for (const Object* object : game.world->objects) {
        if (object->dead)
            continue;
        Seen thing;
        thing.id = object;
        thing.position = object->position;
        thing.radius = object->radius;
        if (const auto* shot = dynamic_cast<const Projectile*>(object)) {
            if ((shot->collisionMask & TypePlayer) == 0)
                continue;
            ++shots;
            thing.kind = Kind::Shot;
            thing.velocity = { (shot->position.x - shot->previousPosition.x) / stepSeconds,
                (shot->position.y - shot->previousPosition.y) / stepSeconds };
        } else if (const auto* ship = dynamic_cast<const Ship*>(object)) {
            thing.velocity = { (ship->position.x - ship->previousPosition.x) / stepSeconds,
                (ship->position.y - ship->previousPosition.y) / stepSeconds };
            if (ship == play.player) {
                thing.kind = Kind::Ship;
                look.shipVelocity = play.player->velocity;
                look.shields = play.player->shields;
                shipRadius = ship->radius;
            } else {
                const auto* enemy = dynamic_cast<const Enemy*>(object);
                if (enemy == nullptr)
                    continue;
                ++enemies;
                thing.kind = Kind::Enemy;
                // Its looks tell its kind, as they would a player.
                thing.enemy = enemy->kind;
            }
        } else if (dynamic_cast<const ShieldPickup*>(object) != nullptr) {
            thing.kind = Kind::Pickup;
        } else {
            continue;
        }
        look.things.push_back(thing);
    }
    played.mostEnemies = std::max(played.mostEnemies, enemies);
    played.mostEnemyShots = std::max(played.mostEnemyShots, shots);
    played.mostObjects = std::max(played.mostObjects, game.world->objects.size());
    history.push_back(std::move(look));
    // Only the newest look old enough to have been taken in is kept of the older ones.
    while (history.size() >= 2 && gameTime - history[1].time >= settings.reactionMs) {
        LearnSteps(history[0], history[1]);
        history.pop_front();
    }
    while (!steering.empty() && steering.front().time <= history.front().time)
        steering.pop_front();
}

const SkilledPlayer::Snapshot* SkilledPlayer::SeenNow() const
{
    if (history.empty() || gameTime - history.front().time < settings.reactionMs)
        return nullptr;
    return &history.front();
}

int SkilledPlayer::ShipNow(const Snapshot& seen, Vec2& position, Vec2& velocity) const
{
    int steps = 0;
    position = { 400.0f, cruising };
    for (const Seen& thing : seen.things) {
        if (thing.kind == Kind::Ship)
            position = thing.position;
    }
    velocity = seen.shipVelocity;
    // Each step since the look ran in the first frame that reached its moment, with the keys
    // of that frame.
    size_t index = 0;
    for (uint32_t time = NextStepAfter(seen.time); time - seen.time <= gameTime - seen.time;
         time += stepMs) {
        while (index < steering.size() && steering[index].time < time)
            ++index;
        const bool known = index < steering.size();
        StepShip(position, velocity, known ? steering[index].x : 0, known ? steering[index].y : 0,
            shipRadius);
        ++steps;
    }
    return steps;
}

uint32_t SkilledPlayer::NextStepAfter(uint32_t time) const
{
    // The steps fall on a fixed grid of gameTime; its offset is the lowest one still possible.
    uint32_t phase = 0;
    while (phase < stepMs && (phases & (1u << phase)) == 0)
        ++phase;
    return time + 1 + (phase - (time + 1) % stepMs + stepMs) % stepMs;
}

void SkilledPlayer::LearnSteps(const Snapshot& earlier, const Snapshot& later)
{
    // Whether anything moved between two looks tells whether a step fell between them.
    bool known = false;
    bool moved = false;
    for (const Seen& thing : later.things) {
        if (thing.kind != Kind::Shot)
            continue;
        for (const Seen& before : earlier.things) {
            if (before.id == thing.id && before.kind == Kind::Shot) {
                known = true;
                moved = before.position.x != thing.position.x
                    || before.position.y != thing.position.y;
                break;
            }
        }
        if (known)
            break;
    }
    if (!known || later.time - earlier.time >= stepMs)
        return;
    uint32_t possible = phases;
    for (uint32_t phase = 0; phase < stepMs; ++phase) {
        const uint32_t first
            = earlier.time + 1 + (phase - (earlier.time + 1) % stepMs + stepMs) % stepMs;
        const bool stepBetween = first - earlier.time <= later.time - earlier.time;
        if (stepBetween != moved)
            possible &= ~(1u << phase);
    }
    phases = possible != 0 ? possible : ~0u;
}

Vec2 SkilledPlayer::Goal(const Snapshot& seen, const Vec2& ship, uint32_t age)
{
    const float late = static_cast<float>(age) / 1000.0f;
    if (seen.shields < Player::maxShields) {
        const Seen* nearest = nullptr;
        for (const Seen& thing : seen.things) {
            if (thing.kind == Kind::Pickup
                && (nearest == nullptr
                    || std::fabs(thing.position.x - ship.x)
                        < std::fabs(nearest->position.x - ship.x)))
                nearest = &thing;
        }
        if (nearest != nullptr)
            return nearest->position;
    }

    // The enemy most worth its time: points and danger over the time to line up under it.
    const Seen* choice = nullptr;
    float choiceX = ship.x;
    float bestWorth = 0.0f;
    for (const Seen& thing : seen.things) {
        if (thing.kind != Kind::Enemy)
            continue;
        const float flight = (ship.y - shipShotStart - thing.position.y) / shipShotSpeed;
        const float ahead = late + std::max(flight, 0.0f);
        const float aimX = std::clamp(thing.position.x + thing.velocity.x * ahead, 160.0f, 640.0f);
        float worth = Worth(*thing.enemy) / (0.3f + std::fabs(aimX - ship.x) / 400.0f);
        if (thing.id == targetEnemy)
            worth *= 1.5f;
        if (worth > bestWorth) {
            bestWorth = worth;
            choice = &thing;
            choiceX = aimX;
        }
    }
    targetEnemy = choice != nullptr ? choice->id : nullptr;
    // An enemy near a side is awaited off the wall: cornered there, an aimed shot cannot be
    // dodged.
    return { std::clamp(choice != nullptr ? choiceX : 400.0f, 160.0f, 640.0f), cruising };
}

float SkilledPlayer::Cost(
    const Plan& plan, const Vec2& start, const Vec2& startVelocity, const Vec2& goal) const
{
    Vec2 position = start;
    Vec2 velocity = startVelocity;
    float cost = 0.0f;
    for (int k = 0; k < horizon; ++k) {
        const bool first = k < plan.steps;
        StepShip(position, velocity, first ? plan.firstX : plan.thenX,
            first ? plan.firstY : plan.thenY, shipRadius);
        // Up among the enemies is nearly as bad as a hit: they ram, and their shots arrive at
        // once. A ship that is up there anyway pays the less the sooner it comes down.
        if (position.y < highest)
            cost += 1e4f + (highest - position.y) * 1e3f;
        // Later steps are less sure: the shots' motion may be misjudged, new ones may come.
        const float nearness = 1.0f - 0.6f * static_cast<float>(k) / horizon;
        const std::array<float, 4>* row = hazards.data() + static_cast<size_t>(k) * hazardCount;
        // Where the plan ends up, room counts: a crowd of shots there is a trap later.
        const bool lookAround = k == horizon / 2 || k == horizon - 1;
        for (size_t i = 0; i < hazardCount; ++i) {
            const float dx = row[i][0] - position.x;
            const float dy = row[i][1] - position.y;
            const float reach = row[i][2] + 2.0f + 0.2f * static_cast<float>(k);
            const float distanceSquared = dx * dx + dy * dy;
            if (distanceSquared < reach * reach && row[i][3] != 0.0f)
                return 1e7f * nearness + cost;
            if (lookAround && distanceSquared < crowdRange * crowdRange) {
                const float near = 1.0f - std::sqrt(distanceSquared) / crowdRange;
                cost += near * near * crowdWeight;
            }
            if (distanceSquared < (reach + margin) * (reach + margin)) {
                const float gap = reach + margin - std::sqrt(distanceSquared);
                cost += gap * gap * nearness * 3.0f;
            }
        }
        cost += std::fabs(position.x - goal.x) * 0.3f + std::fabs(position.y - goal.y) * 0.2f;
        // Near a wall there is only one way out.
        const float wall = std::max(160.0f - position.x, position.x - 640.0f);
        if (wall > 0.0f)
            cost += wall * (1.0f + wall * 0.05f);
    }
    return cost;
}

void SkilledPlayer::NoteTheEnd(const Game& game, const GameMode& play)
{
    if (played.destroyed)
        return;
    played.destroyed = true;
    played.score = play.score;
    // What is left where the ship was: the shot that hit it, or the enemy it rammed, both
    // dead until the next step takes them away.
    played.cause = "unknown";
    for (const Object* object : game.world->objects) {
        if (!object->dead)
            continue;
        const float dx = object->position.x - lastShipPosition.x;
        const float dy = object->position.y - lastShipPosition.y;
        const float reach = shipRadius + object->radius + 40.0f;
        if (dx * dx + dy * dy > reach * reach)
            continue;
        if (const auto* shot = dynamic_cast<const Projectile*>(object)) {
            if ((shot->collisionMask & TypePlayer) == 0)
                continue;
            // Each kind's shots fly at its own speed.
            played.cause = "shot";
            for (const EnemySpawn& row : EnemySpawn::Table()) {
                if (row.kind->volley.shots > 0 && row.kind->volley.shotSpeed == shot->speed)
                    played.cause = std::string(row.kind->id) + " shot";
            }
            return;
        }
        if (dynamic_cast<const Enemy*>(object) != nullptr)
            played.cause = "rammed";
    }
}
