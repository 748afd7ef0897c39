#include "world/EnemyMedium.h"

// PLACEHOLDER: bodies to be written.
EnemyMedium::EnemyMedium(World*) { }
EnemyMedium::~EnemyMedium() { }
void EnemyMedium::Update(float) { }
void EnemyMedium::SetPosition(const Vec2&) { }
void EnemyMedium::Die() { }
void EnemyMedium::Fire() { }
void EnemyMedium::ChooseTarget() { }
