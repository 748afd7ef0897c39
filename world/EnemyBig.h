#pragma once

#include "world/Enemy.h"

struct Timer;

// Slow; enters at the edge away from the player, dashes while the player is under it and
// fires fast shots aimed at the player. 2 points.
class EnemyBig : public Enemy {
public:
    static const EnemyKind description;

    static constexpr uint32_t rushMs = 500;

    // It is placed by SetGameMode.
    explicit EnemyBig(World* owner);
    // Marks the rush timer dead; Ship's destructor ends the sprite.
    ~EnemyBig() override;

    // Starts a rush while the player is in reach, then steers.
    void Update(float dt) override;
    // Stores the mode, then enters at the edge away from the player.
    void SetGameMode(GameMode* mode) override;

    // The rush timer's callback.
    void EndRush();

    Timer* rushTimer = nullptr;
    bool rushing = false;

protected:
    void Volley() override;
};
