#pragma once

#include "autoplay/InputSource.h"
#include "base/Random.h"
#include "base/Vec2.h"

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

class GameMode;
class MenuMode;
struct EnemyKind;

// Plays one game as a good player would, through key events only. It looks at the world each
// frame as eyes do, but acts on what it saw `reactionMs` ago: the ship, every enemy, every
// enemy shot and every pickup, each with the motion it had then. It carries that picture
// forward to now with the keys it has pressed since, projects the shots ahead, and tries
// short key plans over the next second with the ship's own inertia, taking the one that
// keeps clear of every shot and ends nearest its goal: under the enemy most worth its time,
// or on a shield lying about when it lacks one, away from the walls, with room around it. It
// fires all the time, cruises low (shots take long to arrive, and there is room below to back
// away from slow ones), keeps clear of where a big enemy may be aiming, and never goes up
// among the enemies. Which moments the world steps at it learns from seeing things move. It
// never reads the generator, the timers or what the game has not shown. After `longestPlay` of play
// it leaves from the pause prompt; then it closes the hiscore page and chooses "QUIT".
class SkilledPlayer : public InputSource {
public:
    struct Settings {
        uint32_t reactionMs = 150;
        uint32_t shortestFrame = 16; // ms, drawn for every frame
        uint32_t longestFrame = 33;
        uint32_t longestPlay = 600'000;
    };

    // How the game went, filled in as it goes.
    struct Record {
        bool destroyed = false;
        uint32_t survivedMs = 0; // gameTime from the start of play to the ship's end
        uint32_t score = 0;
        std::string cause; // what destroyed the ship: "small shot", "rammed", ... or ""
        size_t mostEnemies = 0;
        size_t mostEnemyShots = 0;
        size_t mostObjects = 0;
    };

    SkilledPlayer(uint32_t seed, const Settings& playerSettings, Record* record = nullptr);

    bool Next(const Game& game, Replay::Frame& frame) override;

    const Record& Played() const { return played; }

private:
    enum class Kind { Ship, Enemy, Shot, Pickup };
    struct Seen {
        Kind kind = Kind::Shot;
        const EnemyKind* enemy = nullptr; // an enemy's description, as its looks tell it
        const void* id = nullptr;         // which thing it is, as eyes follow it from look to look
        Vec2 position;
        Vec2 velocity; // px per second
        float radius = 0.0f;
    };
    struct Snapshot {
        uint32_t time = 0;
        std::vector<Seen> things;
        Vec2 shipVelocity; // px per step
        uint32_t shields = 0;
    };
    struct Steering {
        uint32_t time = 0; // gameTime of the frame that set it
        int x = 0;
        int y = 0;
    };
    struct Plan {
        int firstX = 0, firstY = 0;
        int steps = 0; // how long the first keys are held
        int thenX = 0, thenY = 0;
    };

    void InMenu(const MenuMode& menu, Replay::Frame& frame);
    void InPlay(const Game& game, const GameMode& play, Replay::Frame& frame);
    void Look(const Game& game, const GameMode& play);
    void NoteTheEnd(const Game& game, const GameMode& play);
    const Snapshot* SeenNow() const;
    // Where the ship is now, from where it was seen and the steering since; answers the steps
    // it carried the picture forward.
    int ShipNow(const Snapshot& seen, Vec2& position, Vec2& velocity) const;
    // The first moment after `time` at which a step falls, as far as the looks have told.
    uint32_t NextStepAfter(uint32_t time) const;
    // Narrows down the steps' grid from whether the world moved between two looks.
    void LearnSteps(const Snapshot& earlier, const Snapshot& later);
    Vec2 Goal(const Snapshot& seen, const Vec2& ship, uint32_t age);
    float Cost(const Plan& plan, const Vec2& ship, const Vec2& velocity, const Vec2& goal) const;
    void Hold(Replay::Frame& frame, int scancode, bool wanted);
    void Tap(Replay::Frame& frame, int scancode);

    Random random;
    Settings settings;
    Record played;
    Record* out = nullptr;
    bool playing = false;
    bool leaving = false;
    bool done = false; // the one play is over
    uint32_t playStart = 0;
    std::deque<Snapshot> history;
    std::deque<Steering> steering;
    const void* targetEnemy = nullptr;
    Vec2 lastShipPosition;
    float shipRadius = 40.0f;
    uint32_t phases = ~0u; // offsets of the steps' grid, 0 to 31 ms, still possible
    // Shots projected to each planning step: x, y, reach, and 1 for a shot seen (a hit ends
    // the ship) or 0 for one that may have been fired unseen (only worth keeping clear of).
    std::vector<std::array<float, 4>> hazards;
    size_t hazardCount = 0;
    std::array<bool, 512> held {};
};
