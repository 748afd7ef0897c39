#include "world/FlyingText.h"

#include "base/Timer.h"
#include "render/Renderer.h"
#include "render/TextItem.h"
#include "world/Ship.h"
#include "world/World.h"

namespace {
constexpr float risePerSecond = 10.0f; // px/s
constexpr int labelPointSize = 12;
constexpr int labelLayer = 4;
} // namespace

FlyingText::FlyingText(World* owner)
{
    // Typed like a shot but masked for ships: no object is masked for shots, and the empty
    // contact handler ignores the rest, so the notice never takes part in a contact.
    collisionType = TypeProjectile;
    collisionMask = TypePlayer | TypeEnemy;
    riseSpeed = risePerSecond;

    label = owner->renderer->AddText(
        "Data/Fonts/OpenSans-Bold.ttf", labelLayer, true, labelPointSize, Rgb { 255, 255, 255 });
    // Its own light green, built at the first drawing rather than waiting out the rebuild
    // interval.
    label->colour = Rgb { 64, 255, 128 };
    label->lastRebuildTime = 0;
    label->dirty = true;
    label->visible = true;
    label->keepInWindow = true;

    fadingIn = true;
    fade.Start(0.0f, 255.0f, fadeInMs);
    holdTimer = CreateTimer();
}

FlyingText::~FlyingText()
{
    holdTimer->dead = true;
    label->dead = true;
}

void FlyingText::Update(float dt)
{
    previousPosition = position;
    position.x += riseSpeed * 0.0f * dt;
    position.y -= riseSpeed * dt;
}

void FlyingText::Render(float, float alpha)
{
    label->position = Interpolate(previousPosition, position, alpha);
    const auto opacity = static_cast<uint32_t>(fade.Value());
    if (fadingIn) {
        // A fully transparent label during the fade-in is only just starting.
        label->opacity = static_cast<int>(opacity);
        // The hold counts from the first frame at full opacity; Start leaves an armed
        // timer alone, so later frames do not push it back.
        if (opacity == 255)
            holdTimer->Start([this] { StartFadeOut(); }, holdMs, false);
        return;
    }
    if (opacity != 0)
        label->opacity = static_cast<int>(opacity);
    else
        dead = true;
}

void FlyingText::SetPosition(const Vec2& p)
{
    position = p;
    previousPosition = p;
}

void FlyingText::StartFadeOut()
{
    fadingIn = false;
    fade.Start(255.0f, 0.0f, fadeOutMs);
}
