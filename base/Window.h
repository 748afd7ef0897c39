#pragma once

// The game's one window, in pixels: every layer that places, clamps or paints against its
// edges reads these.
inline constexpr int windowWidth = 800;
inline constexpr int windowHeight = 600;
