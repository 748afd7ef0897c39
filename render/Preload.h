#pragma once

#include <string>
#include <string_view>
#include <vector>

class Renderer;

// The image paths the menu loads before any game starts, in the order it loads them: the
// preloaded rows of the game's image table.
std::vector<std::string_view> PreloadPaths();

// Every image path of the game, in the table's order: the preloaded ones, then the menu's
// backdrop. The first menu asks for all of them before its first frame.
std::vector<std::string> ImagePaths();

// Asks the renderer for each path of PreloadPaths, in order, filling its animation cache.
void PreloadAnimations(Renderer& renderer);
