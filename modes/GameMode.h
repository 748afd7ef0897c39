#pragma once

#include "base/Tween.h"
#include "modes/Mode.h"

#include <array>
#include <cstdint>

class MusicHandle;
class Player;
struct Sprite;
struct TextItem;
struct Timer;

// The play screen: creates the player and steers it from the keyboard, sends enemies at
// ever shorter intervals, drops shield pickups, keeps the score and the shield display, and
// runs the "GET READY!" start, the pause with its leave prompt and the "GAME OVER!" end.
class GameMode : public Mode {
public:
    static constexpr uint32_t firstSpawnIntervalMs = 4000;
    static constexpr uint32_t shortestSpawnIntervalMs = 1000;

    // Builds the player, the screen items and the timers, and starts the play music.
    explicit GameMode(Game* owner);
    // Marks the timers, the player and every screen item dead, stops the music and ends the
    // pause.
    ~GameMode() override;

    // This frame's input, then the fades and the music volume. False when the window closed.
    bool Update() override;

    // Called by an enemy's Die.
    void AddScore(uint32_t points);
    // Called by the player with its new shield count.
    void OnShieldGained(uint32_t count);
    void OnShieldLost(uint32_t count);
    // Called by the player once, when it is destroyed.
    void OnPlayerDestroyed();

    // Timer callbacks.
    void EndGetReady();
    void ToggleBanner();
    void SpawnEnemy();
    void SpawnPickup();
    void ShowGameOver();

    Player* player = nullptr; // null once destroyed
    uint32_t spawnInterval = 0;
    TextItem* banner = nullptr;
    TextItem* shieldsLabel = nullptr;
    uint32_t score = 0;
    TextItem* scoreText = nullptr;
    Timer* spawnTimer = nullptr;
    Timer* startTimer = nullptr;
    Timer* blinkTimer = nullptr;
    Timer* gameOverTimer = nullptr;
    Timer* pickupTimer = nullptr;
    Tween shieldsLabelFade;
    Tween bannerFade;
    Tween gameOverFade;
    std::array<Sprite*, 3> shieldIcons {};
    Sprite* background = nullptr;
    Sprite* gameOverBackground = nullptr;
    Sprite* pauseOverlay = nullptr;
    TextItem* leavePrompt = nullptr;
    TextItem* leaveHint = nullptr;
    MusicHandle* music = nullptr;
    bool leftHeld = false;
    bool upHeld = false;
    bool downHeld = false;
    bool rightHeld = false;
    bool fireHeld = false;
};
