#pragma once

#include "world/Enemy.h"

struct Timer;

// Slow; enters at the edge away from the player, dashes while the player is under it and
// fires fast shots aimed at the player. 2 points.
class EnemyBig : public Enemy {
public:
    static constexpr uint32_t rushMs = 500;

    // Adds its sprite through the world's renderer; it is placed by SetGameMode.
    explicit EnemyBig(World* owner);
    // Marks the rush timer and the sprite dead.
    ~EnemyBig() override;

    void Update(float dt) override;
    void SetPosition(const Vec2& p) override;
    // Stores the mode, then enters at the edge away from the player.
    void SetGameMode(GameMode* mode) override;
    void Die() override;
    void Fire() override;

    // The rush timer's callback.
    void EndRush();

    Timer* rushTimer = nullptr;
    bool rushing = false;

protected:
    void ChooseTarget() override;
};
