#include "world/Object.h"

void Object::Update(float) { }

void Object::Render(float, float) { }

void Object::OnCollision(Object*) { }

void Object::SetPosition(const Vec2& p)
{
    position = p;
}

void Object::Kill()
{
    dead = true;
}
