#pragma once

#include "world/Enemy.h"

// Patrols along the top of the screen and drops single shots straight down. 1 point.
class EnemyMedium : public Enemy {
public:
    static const EnemyKind description;

    // Places itself on its patrol line.
    explicit EnemyMedium(World* owner);

protected:
    void Volley() override;
};
