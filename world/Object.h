#pragma once

#include "base/Vec2.h"

#include <cstdint>

class World;
struct Sprite;

// Collision types, one bit each. The World tells an object of a contact only when its
// collisionMask shares a bit with the other's collisionType. A handler tells the other's kind
// by its whole type, and casts on that alone: an object of type TypePlayer is the Player,
// TypeEnemy an Enemy (reached through AsEnemy, which checks it in debug builds).
enum CollisionType : uint32_t {
    TypePlayer = 1,
    TypeProjectile = 2,
    TypeEnemy = 4,
    TypePickup = 8,
};

// Everything that lives in the World. Objects are made only by World::Create and start
// with every field zero: each field of every object class has a zero initialiser.
// An object ends itself or another only by setting `dead`; the World deletes it.
class Object {
public:
    Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    // Does nothing itself. Each class that owns draw items or timers marks them dead in its
    // own destructor, so nothing draws it or calls back into it once it is gone; none deletes
    // other objects.
    virtual ~Object() = default;

    // One fixed world step; `dt` is the step length in seconds (0.032). May create objects,
    // draw items and timers; must not delete anything.
    virtual void Update(float dt);

    // Places the draw items for the moment being drawn, `alpha` (0 to 1) of the way from
    // the previous step's position to the current one. Called once per frame, only while
    // the object is not dead; `frameSeconds` is the real length of the frame.
    virtual void Render(float frameSeconds, float alpha);

    // This object's circle overlaps `other`'s and its mask has other's type. Only this
    // object is told; it acts on both. `other` may already be dead.
    virtual void OnCollision(Object* other);

    // Moves the object to `p` at once.
    virtual void SetPosition(const Vec2& p);

    // Sets `dead`; the callback a timer uses to end an object after a delay.
    void Kill();

    bool dead = false;
    World* world = nullptr;
    Vec2 position;
    float radius = 0.0f;
    uint32_t collisionMask = 0;
    uint32_t collisionType = 0;
};

// The collision radius of an object drawn by `sprite`: half the larger of its animation's
// frame width and height; 0 for a sprite whose image has no frames.
float RadiusOfFrames(const Sprite* sprite);
