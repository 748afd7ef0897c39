#pragma once

#include "base/Rgb.h"
#include "base/Vec2.h"

#include <cstdint>
#include <string>

#include <SDL_rect.h>

struct SDL_Renderer;
struct SDL_Texture;

// A line of text on one of the renderer's layers. Its texture is rebuilt lazily when drawn,
// at most once per rebuildInterval of gameTime however often the text changes.
struct TextItem {
    static constexpr uint32_t rebuildInterval = 500; // ms

    TextItem() = default;
    TextItem(const TextItem&) = delete;
    TextItem& operator=(const TextItem&) = delete;
    ~TextItem(); // destroys the texture

    // Marks the item dirty if `newText` differs from the current text; the texture waits.
    void SetText(const std::string& newText);

    // Called by the renderer for a live, visible item with non-zero opacity.
    void Draw(SDL_Renderer* sdlRenderer, const Vec2& shakeOffset);

    // Where Draw puts the picture: the text's rectangle, kept inside the renderer's output
    // when `keepInWindow` is set.
    SDL_Rect Placement(SDL_Renderer* sdlRenderer, const Vec2& shakeOffset) const;
    // Re-renders the text into a fresh texture; the font is opened and closed each time.
    void Rebuild(SDL_Renderer* sdlRenderer);

    Vec2 position; // top-left corner, or the centre when `centred`
    bool dead = false;
    Rgb colour;
    std::string text;
    std::string fontPath;
    int pointSize = 0;
    SDL_Texture* texture = nullptr; // owned
    bool dirty = false;
    bool centred = false;
    uint32_t lastRebuildTime = 0;
    bool visible = true;
    int opacity = 255;
    // Draws the picture moved inside the window where the text would leave it, as a label
    // that rises from a ship near an edge would.
    bool keepInWindow = false;
};
