#include "world/EnemyBig.h"

// PLACEHOLDER: bodies to be written.
EnemyBig::EnemyBig(World*) { }
EnemyBig::~EnemyBig() { }
void EnemyBig::Update(float) { }
void EnemyBig::SetPosition(const Vec2&) { }
void EnemyBig::SetGameMode(GameMode*) { }
void EnemyBig::Die() { }
void EnemyBig::Fire() { }
void EnemyBig::EndRush() { }
void EnemyBig::ChooseTarget() { }
