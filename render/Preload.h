#pragma once

#include <array>

class Renderer;

// Every image path the game shows, in the order the menu loads them before any game starts.
extern const std::array<const char*, 38> preloadPaths;

// Asks the renderer for each path of preloadPaths, in order, filling its animation cache.
void PreloadAnimations(Renderer& renderer);
