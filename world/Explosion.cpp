#include "world/Explosion.h"

// PLACEHOLDER: bodies to be written.
Explosion::Explosion() { }
Explosion::~Explosion() { }
void Explosion::Update(float) { }
void Explosion::SetPosition(const Vec2&) { }
void Explosion::AddDebris(const std::string&, uint32_t) { }
void Explosion::SpawnDebris() { }
