#pragma once

#include "world/Enemy.h"

// Fast; wanders over the upper part of the screen and fires fans of three shots. 3 points.
class EnemySmall : public Enemy {
public:
    static const EnemyKind description;

    // Places itself below the band of its later targets.
    explicit EnemySmall(World* owner);

protected:
    // Anywhere in the upper band: x, then y.
    void ChooseTarget() override;
    void Volley() override;
};
