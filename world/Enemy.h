#pragma once

#include "world/Explosion.h"
#include "world/Ship.h"

#include <cstdint>
#include <string>
#include <vector>

// One image of a wreck's debris and how many pieces of it fly: `least`, plus rand() % `spread`
// when `spread` is not 0 (one draw, made when the enemy dies, in list order).
struct DebrisDraw {
    std::string path {};
    uint32_t least = 0;
    uint32_t spread = 0;
};

// When an enemy draws its next fireInterval, least + rand() % spread ms.
struct FireRule {
    enum class Redraw {
        Never,     // it never fires: the fire check does nothing
        EveryPass, // on every pass of the interval test, also when too young to fire
        AfterShot, // only after a volley
    };
    Redraw redraw = Redraw::Never;
    uint32_t least = 0;  // ms
    uint32_t spread = 0; // ms
};

// What one volley of a kind throws at the player: `shots` shots of `projectile` at `shotSpeed`,
// aimed at the player or along the kind's own fixed headings, with its attack sound. A kind
// that never fires has 0 shots.
struct VolleyFigures {
    uint32_t shots = 0;
    float shotSpeed = 0.0f;           // px/s
    bool aimed = false;               // at where the player is; else along fixed headings
    const char* projectile = nullptr; // layer 4
    const char* attackSound = nullptr;
};

// Everything in which one kind of enemy differs from the others but the headings of its shots
// and its rule for new targets: written once per kind as a constant, and listed with the
// spawner's row of the kind (modes/EnemySpawn.cpp), where the tools and tests find every kind.
struct EnemyKind {
    const char* id = nullptr;     // the kind's one name in messages, tools and tests: "small"
    const char* sprite = nullptr; // layer 3
    bool looping = false;         // its animation runs from construction on; else it stands still
    float speed = 0.0f;           // px/s
    uint32_t scoreValue = 0;
    FireRule fire {};
    VolleyFigures volley {};
    float shakeMagnitude = 0.0f; // px
    uint32_t shakeMs = 0;
    const char* explosion = nullptr; // layer 4
    float debrisSpeedScale = 0.0f;
    std::vector<DebrisDraw> debris {};
    const char* deathSound = nullptr;
};

// The base of every enemy ship: they steer toward a target point at their own speed, run a
// timed fire check every step, die from one hit and award their points when they do. A kind
// gives its description and says only what is its own: where it starts, its volley and its
// rule for new targets.
class Enemy : public Ship {
public:
    // Adds the kind's sprite through the world's renderer and takes the kind's figures; the
    // kind places itself.
    Enemy(World* owner, const EnemyKind& kind);

    // The steering step at the kind's speed.
    void Update(float dt) override;
    // Sets position, previousPosition and target to `p`: a placed enemy starts at rest. The
    // sprite goes there too, so an enemy destroyed before it was ever drawn explodes in place.
    void SetPosition(const Vec2& p) override;

    // Scoring: a rising "Score: + N" label at the enemy's position, `dead`, and the points
    // added to the play mode's score; then the kind's shake, explosion, debris and death
    // sound. Two contacts in one step (two shots, or a shot and the ship) may both call it:
    // only the first one counts.
    virtual void Die();
    // The fire check: when the interval has passed, a player is there and the enemy is more
    // than 100 ms old, the kind's volley; the next interval by the kind's rule.
    virtual void Fire();

    const EnemyKind* kind = nullptr;
    float speed = 0.0f; // px/s
    uint32_t scoreValue = 0;
    Vec2 target;
    uint32_t fireInterval = 0; // ms between two passes of the fire check
    uint32_t spawnTime = 0;    // gameTime at construction
    uint32_t lastFireCheck = 0;

protected:
    // One steering step toward `target` at `speed` times `speedFactor`; on arrival asks
    // ChooseTarget for a new one. Ends with Fire().
    void Steer(float dt, float speedFactor = 1.0f);
    // The kind's rule for a new target on arrival. This one draws a new column and keeps y.
    virtual void ChooseTarget();
    // The kind's shots and its attack sound.
    virtual void Volley();
    // One shot of the kind's volley along the unit `heading`, from ShotStart.
    void Launch(const Vec2& heading);
    // Where every enemy shot starts: 32 px below the enemy's centre.
    Vec2 ShotStart() const;
    // x = R + rand() % (windowWidth + 1 - 2R), R the radius truncated: a column inside the
    // window.
    int RandomColumn() const;
    // rand() % range: one draw. A range below 1 counts as 1 (answering 0), so an image wider
    // than its band can never divide by zero.
    static int RandomBelow(int range);
    // Plays an effect through the play mode's sound engine.
    void PlayEffect(const std::string& path) const;
};

// The enemy an object of type TypeEnemy is. Shots and the player reach enemies only this
// way; in debug builds it asserts that the object is one.
Enemy& AsEnemy(Object& object);
