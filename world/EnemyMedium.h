#pragma once

#include "world/Enemy.h"

// Patrols along the top of the screen and drops single shots straight down. 1 point.
class EnemyMedium : public Enemy {
public:
    // Adds its sprite through the world's renderer and places itself.
    explicit EnemyMedium(World* owner);
    // Marks the sprite dead.
    ~EnemyMedium() override;

    void Update(float dt) override;
    void SetPosition(const Vec2& p) override;
    void Die() override;
    void Fire() override;

protected:
    void ChooseTarget() override;
};
