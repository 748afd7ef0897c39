#include "world/Projectile.h"

// PLACEHOLDER: bodies to be written.
Projectile::Projectile() { }
Projectile::~Projectile() { }
Projectile* Projectile::Launch(World&, const std::string&, float, uint32_t, const Vec2&, const Vec2&) { return nullptr; }
void Projectile::Update(float) { }
void Projectile::Render(float, float) { }
void Projectile::OnCollision(Object*) { }
void Projectile::SetPosition(const Vec2& p) { position = p; }
