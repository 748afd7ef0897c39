#pragma once

#include "world/Object.h"

#include <cstdint>
#include <string>
#include <vector>

struct Sprite;

// One entry of an explosion's debris list: which image, how many pieces.
struct DebrisSpec {
    std::string path;
    uint32_t count = 0;
};

// What a destroyed ship leaves: an animation played once where the ship was last drawn,
// which throws out a burst of debris when it starts. It ends when the animation stops.
// The creator adds `sprite`, fills the debris list, places it, then calls SpawnDebris.
class Explosion : public Object {
public:
    Explosion();
    // Marks the sprite dead.
    ~Explosion() override;

    // Ends the explosion once its animation has stopped.
    void Update(float dt) override;
    // Places and shows the sprite; the explosion's own position is not used.
    void SetPosition(const Vec2& p) override;

    void AddDebris(const std::string& path, uint32_t count);
    // Creates every piece of the debris list at the sprite's position, turns the sprite to a
    // random angle and starts its animation.
    void SpawnDebris();

    Sprite* sprite = nullptr;
    std::vector<DebrisSpec> debrisSpecs;
    float debrisSpeedScale = 0.0f; // 1.0 unless the creator sets it
};
