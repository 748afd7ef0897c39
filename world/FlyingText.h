#pragma once

#include "base/Tween.h"
#include "world/Object.h"

#include <cstdint>

struct TextItem;
struct Timer;

// A short notice where something happened ("Score: + 3", "Shield: + 1"): it fades in,
// holds, rises slowly, fades out and ends itself. The creator sets the label's text, the
// position and, if it wants, the label's colour.
class FlyingText : public Object {
public:
    static constexpr uint32_t fadeInMs = 500;
    static constexpr uint32_t holdMs = 3000;
    static constexpr uint32_t fadeOutMs = 1000;

    // Adds the label through the world's renderer, in the notice's own light green.
    explicit FlyingText(World* owner);
    // Marks the hold timer and the label dead.
    ~FlyingText() override;

    void Update(float dt) override;
    void Render(float frameSeconds, float alpha) override;
    void SetPosition(const Vec2& p) override;

    // The hold timer's callback.
    void StartFadeOut();

    Vec2 previousPosition;
    Timer* holdTimer = nullptr;
    Tween fade;
    bool fadingIn = false;
    float riseSpeed = 0.0f; // px/s
    TextItem* label = nullptr;
};
