#include "world/Object.h"

#include "render/Animation.h"
#include "render/Sprite.h"

#include <algorithm>

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

float RadiusOfFrames(const Sprite* sprite)
{
    if (sprite == nullptr || sprite->animation == nullptr)
        return 0.0f;
    const Animation& frames = *sprite->animation;
    return static_cast<float>(std::max(frames.width, frames.height)) * 0.5f;
}
