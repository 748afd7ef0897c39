#include "world/ShieldPickup.h"

// PLACEHOLDER: bodies to be written.
ShieldPickup::ShieldPickup(World*) { }
ShieldPickup::~ShieldPickup() { }
void ShieldPickup::Update(float) { }
void ShieldPickup::Render(float, float) { }
void ShieldPickup::SetPosition(const Vec2& p) { position = p; }
void ShieldPickup::StartFadeOut() { }
