#include "render/TextItem.h"

#include "base/Clock.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>

TextItem::~TextItem()
{
    if (texture != nullptr)
        SDL_DestroyTexture(texture);
}

void TextItem::SetText(const std::string& newText)
{
    if (newText == text)
        return;
    text = newText;
    dirty = true;
}

void TextItem::Draw(SDL_Renderer* sdlRenderer, const Vec2& shakeOffset)
{
    // Rasterising is costly: a text that changes every frame is re-rendered at most twice a
    // second, and its last change shows at the next rebuild since `dirty` stays set until then.
    if (dirty && gameTime - lastRebuildTime > rebuildInterval) {
        Rebuild(sdlRenderer);
        // Cleared even after a failed rebuild: a bad font is not retried until the text changes.
        dirty = false;
        lastRebuildTime = gameTime;
    }
    if (texture == nullptr)
        return;

    const SDL_Rect target = Placement(sdlRenderer, shakeOffset);
    SDL_SetTextureAlphaMod(texture, static_cast<Uint8>(std::clamp(opacity, 0, 255)));
    SDL_RenderCopy(sdlRenderer, texture, nullptr, &target);
}

SDL_Rect TextItem::Placement(SDL_Renderer* sdlRenderer, const Vec2& shakeOffset) const
{
    int width = 0;
    int height = 0;
    if (texture != nullptr)
        SDL_QueryTexture(texture, nullptr, nullptr, &width, &height);

    // Every float is truncated on its own before the sums.
    SDL_Rect target { 0, 0, width, height };
    if (centred) {
        target.x = static_cast<int>(shakeOffset.x) - width / 2 + static_cast<int>(position.x);
        target.y = static_cast<int>(shakeOffset.y) - height / 2 + static_cast<int>(position.y);
    } else {
        target.x = static_cast<int>(position.x) + static_cast<int>(shakeOffset.x);
        target.y = static_cast<int>(position.y) + static_cast<int>(shakeOffset.y);
    }
    int outputWidth = 0;
    int outputHeight = 0;
    if (keepInWindow && sdlRenderer != nullptr
        && SDL_GetRendererOutputSize(sdlRenderer, &outputWidth, &outputHeight) == 0) {
        target.x = std::clamp(target.x, 0, std::max(outputWidth - width, 0));
        target.y = std::clamp(target.y, 0, std::max(outputHeight - height, 0));
    }
    return target;
}

void TextItem::Rebuild(SDL_Renderer* sdlRenderer)
{
    if (texture != nullptr) {
        SDL_DestroyTexture(texture);
        texture = nullptr;
    }

    // The font is not kept: items change size and colour rarely, and few rebuild at all.
    TTF_Font* font = TTF_OpenFont(fontPath.c_str(), pointSize);
    if (font == nullptr)
        return;

    // Always rendered opaque; translucency comes from `opacity` when drawn.
    const SDL_Color fill { static_cast<Uint8>(colour.red & 0xff),
        static_cast<Uint8>(colour.green & 0xff), static_cast<Uint8>(colour.blue & 0xff), 255 };
    // An empty text renders no surface and so leaves the item without a texture.
    SDL_Surface* surface = TTF_RenderText_Blended(font, text.c_str(), fill);
    if (surface != nullptr) {
        texture = SDL_CreateTextureFromSurface(sdlRenderer, surface);
        SDL_FreeSurface(surface);
    }
    TTF_CloseFont(font);
}
