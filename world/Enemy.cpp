#include "world/Enemy.h"

// PLACEHOLDER: bodies to be written.
void Enemy::Die() { }
void Enemy::PlaceAt(const Vec2&) { }
void Enemy::Steer(float, float) { }
int Enemy::RandomColumn() const { return 0; }
bool Enemy::FireCheckDue() const { return false; }
bool Enemy::OldEnoughToFire() const { return false; }
