#pragma once

#include "world/Enemy.h"

// Fast; wanders over the upper part of the screen and fires fans of three shots. 3 points.
class EnemySmall : public Enemy {
public:
    // Adds its sprite through the world's renderer and places itself.
    explicit EnemySmall(World* owner);
    // Marks the sprite dead.
    ~EnemySmall() override;

    void Update(float dt) override;
    void SetPosition(const Vec2& p) override;
    void Die() override;
    void Fire() override;

protected:
    void ChooseTarget() override;
};
