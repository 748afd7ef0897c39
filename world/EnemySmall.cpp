#include "world/EnemySmall.h"

// PLACEHOLDER: bodies to be written.
EnemySmall::EnemySmall(World*) { }
EnemySmall::~EnemySmall() { }
void EnemySmall::Update(float) { }
void EnemySmall::SetPosition(const Vec2&) { }
void EnemySmall::Die() { }
void EnemySmall::Fire() { }
void EnemySmall::ChooseTarget() { }
