#include "world/FlyingText.h"

// PLACEHOLDER: bodies to be written.
FlyingText::FlyingText(World*) { }
FlyingText::~FlyingText() { }
void FlyingText::Update(float) { }
void FlyingText::Render(float, float) { }
void FlyingText::SetPosition(const Vec2& p) { position = p; }
void FlyingText::StartFadeOut() { }
