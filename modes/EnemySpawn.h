#pragma once

#include <span>

class Enemy;
class World;
struct EnemyKind;

// One row of the spawner's table, one per kind of enemy the play mode sends: its share of the
// spawner's draw, how to make it (it places itself), how the delay of the next shield pickup
// is scaled after it, and the kind's description. Adding a kind of enemy is adding its row:
// this table is the game's one list of kinds, which the tools and tests read too.
struct EnemySpawn {
    int share = 0;
    Enemy* (*make)(World& world) = nullptr;
    float pickupScale = 0.0f;
    const EnemyKind* kind = nullptr;

    // The rows in the order the draw walks them.
    static std::span<const EnemySpawn> Table();
    // The sum of every share: the draw is rand() % this.
    static int Shares();
    // One draw, rand() % Shares(), walked through the shares in table order.
    static const EnemySpawn& Draw();
};
