#include "modes/GameMode.h"

// PLACEHOLDER: bodies to be written.
GameMode::GameMode(Game* owner) : Mode(owner) { }
GameMode::~GameMode() { }
bool GameMode::Update() { return true; }
void GameMode::AddScore(uint32_t) { }
void GameMode::OnShieldGained(uint32_t) { }
void GameMode::OnShieldLost(uint32_t) { }
void GameMode::OnPlayerDestroyed() { }
void GameMode::EndGetReady() { }
void GameMode::ToggleBanner() { }
void GameMode::SpawnEnemy() { }
void GameMode::SpawnPickup() { }
void GameMode::ShowGameOver() { }
