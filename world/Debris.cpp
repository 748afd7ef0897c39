#include "world/Debris.h"

// PLACEHOLDER: bodies to be written.
Debris::Debris() { }
Debris::~Debris() { }
void Debris::Update(float) { }
void Debris::Render(float, float) { }
void Debris::SetPosition(const Vec2& p) { position = p; }
void Debris::StartFade() { }
