#pragma once

#include <string_view>
#include <vector>

class Renderer;

// The image paths the menu loads before any game starts, in the order it loads them: the
// preloaded rows of the game's image table.
std::vector<std::string_view> PreloadPaths();

// Asks the renderer for each path of PreloadPaths, in order, filling its animation cache.
void PreloadAnimations(Renderer& renderer);
