#include "render/Preload.h"

#include "render/Renderer.h"

const std::array<const char*, 38> preloadPaths = {
    "Data/Gui/GameBackground",
    "Data/Gui/GameOverBackground",
    "Data/Gui/ShieldIcon",
    "Data/Enemies/Medium",
    "Data/Enemies/Medium/Projectile",
    "Data/Player/Explosion",
    "Data/Player/Debris/Small/1",
    "Data/Player/Debris/Small/2",
    "Data/Player/Debris/Small/3",
    "Data/Player/Debris/Small/4",
    "Data/Player/Debris/Small/5",
    "Data/Player/Debris/Small/6",
    "Data/Player/Debris/Small/7",
    "Data/Player/Debris/Tiny/1",
    "Data/Enemies/Big",
    "Data/Enemies/Big/Projectile",
    "Data/Enemies/Big/Explosion",
    "Data/Enemies/Big/Debris/1",
    "Data/Enemies/Big/Debris/2",
    "Data/Enemies/Big/Debris/3",
    "Data/Enemies/Big/Debris/4",
    "Data/Enemies/Big/Debris/5",
    "Data/Enemies/Small",
    "Data/Enemies/Small/Projectile",
    "Data/Enemies/Small/Explosion",
    "Data/Enemies/Small/Debris/1",
    "Data/Enemies/Small/Debris/2",
    "Data/Player/Shield",
    "Data/Player",
    "Data/Player/Projectile",
    "Data/Player/Debris/Large/1",
    "Data/Player/Debris/Large/2",
    "Data/Player/Debris/Medium/1",
    "Data/Player/Debris/Medium/2",
    "Data/Player/Debris/Medium/3",
    "Data/ShieldPickup",
    "Data/Gui/BlackOverlay",
    "Data/MenuBackground",
};

void PreloadAnimations(Renderer& renderer)
{
    for (const char* path : preloadPaths)
        renderer.GetAnimation(path);
}
