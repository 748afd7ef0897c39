#include "render/Renderer.h"

#include "base/Clock.h"
#include "base/DeadList.h"
#include "base/Random.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
// The picture jumps to a new shake offset only after more than this many ms.
constexpr uint32_t shakeInterval = 10;

// Makes the frames' textures in order, freeing the surfaces. A texture that could not be made
// is kept as null, so that the frame count matches the files; drawing it is a no-op. Frame 0
// gives the animation its size.
void MakeTextures(
    Animation& animation, const std::vector<SDL_Surface*>& surfaces, SDL_Renderer* sdlRenderer)
{
    for (SDL_Surface* surface : surfaces) {
        SDL_Texture* texture = SDL_CreateTextureFromSurface(sdlRenderer, surface);
        SDL_FreeSurface(surface);
        // An image without an alpha channel would otherwise ignore the alpha modulation
        // and could never fade.
        if (texture != nullptr)
            SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
        animation.frames.push_back(texture);
    }
    if (animation.frames.empty())
        return;
    SDL_QueryTexture(animation.frames[0], nullptr, nullptr, &animation.width, &animation.height);
    animation.halfWidth = animation.width / 2;
    animation.halfHeight = animation.height / 2;
}

} // namespace

Renderer::Renderer(SDL_Window* window)
{
    sdlRenderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
    // Without an accelerated driver the game still needs a picture, not a black window.
    if (sdlRenderer == nullptr)
        sdlRenderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
}

Renderer::~Renderer()
{
    // Workers still reading ahead stop first; what they read is dropped.
    decoder.reset();
    for (auto& layer : spriteLayers) {
        for (Sprite* sprite : layer)
            delete sprite;
        layer.clear();
    }
    // Text textures belong to the items and must go before the SDL renderer does.
    for (auto& layer : textLayers) {
        for (TextItem* item : layer)
            delete item;
        layer.clear();
    }
    shakes.clear();
    shakeOffset = Vec2 {};
    if (sdlRenderer != nullptr)
        SDL_DestroyRenderer(sdlRenderer);
    sdlRenderer = nullptr;
    // The frames' textures were released with the SDL renderer.
    for (auto& entry : animations)
        delete entry.second;
    animations.clear();
}

Sprite* Renderer::AddSprite(const std::string& path, int layer)
{
    auto* sprite = new Sprite;
    sprite->animation = GetAnimation(path);
    sprite->layer = layer;
    spriteLayers[static_cast<size_t>(layer)].push_back(sprite);
    return sprite;
}

TextItem* Renderer::AddText(
    const std::string& fontPath, int layer, bool centred, int pointSize, const Rgb& colour)
{
    auto* item = new TextItem;
    item->colour = colour;
    item->fontPath = fontPath;
    item->pointSize = pointSize;
    item->centred = centred;
    textLayers[static_cast<size_t>(layer)].push_back(item);
    return item;
}

Animation* Renderer::GetAnimation(const std::string& path)
{
    const auto found = animations.find(path);
    if (found != animations.end())
        return found->second;
    // Cached even without frames, so that a missing folder is probed only once.
    auto* animation = new Animation;
    if (decoder != nullptr && decoder->Holds(path)) {
        MakeTextures(*animation, decoder->Take(path), sdlRenderer);
        // Everything read ahead has been taken: the workers have ended and can be let go.
        if (decoder->Waiting() == 0)
            decoder.reset();
    } else {
        MakeTextures(*animation, FrameDecoder::ReadFrames(path), sdlRenderer);
    }
    animations.emplace(path, animation);
    return animation;
}

void Renderer::DecodeAhead(std::unique_ptr<FrameDecoder> frameDecoder)
{
    decoder = std::move(frameDecoder);
}

void Renderer::ShowWindowWithFirstFrame()
{
    showWindowWithPicture = true;
}

void Renderer::ShowWindowWithImage(const std::string& path)
{
    const Animation* animation = GetAnimation(path);
    SDL_Window* window = SDL_RenderGetWindow(sdlRenderer);
    if (animation->frames.empty() || animation->frames[0] == nullptr || window == nullptr)
        return;
    int width = 0;
    int height = 0;
    SDL_GetRendererOutputSize(sdlRenderer, &width, &height);
    const SDL_Rect target { width / 2 - animation->halfWidth, height / 2 - animation->halfHeight,
        animation->width, animation->height };
    SDL_RenderClear(sdlRenderer);
    SDL_RenderCopy(sdlRenderer, animation->frames[0], nullptr, &target);
    // As with the first frame: the driver's one-time costs are paid while the window is hidden.
    SDL_RenderFlush(sdlRenderer);
    SDL_ShowWindow(window);
    SDL_RenderPresent(sdlRenderer);
    showWindowWithPicture = false;
}

void Renderer::Shake(float magnitude, uint32_t durationMs)
{
    shakes.push_back(ShakeEntry { gameTime, magnitude, durationMs });
}

void Renderer::UpdateShake()
{
    if (gameTime - lastShakeUpdate <= shakeInterval)
        return;
    shakeOffset = Vec2 {};
    for (size_t i = 0; i < shakes.size();) {
        const ShakeEntry& shake = shakes[i];
        const uint32_t elapsed = gameTime - shake.start;
        if (elapsed > shake.duration) {
            shakes[i] = shakes.back();
            shakes.pop_back();
            continue;
        }
        const auto direction = static_cast<float>(rng::rand() % 361); // radians
        const float strength
            = (1.0f - static_cast<float>(elapsed) / static_cast<float>(shake.duration))
            * shake.magnitude;
        shakeOffset.x += std::sin(direction) * strength;
        shakeOffset.y += std::cos(direction) * strength;
        ++i;
    }
    lastShakeUpdate = gameTime;
}

void Renderer::DrawSprite(Sprite& sprite, float frameMs)
{
    const Animation* animation = sprite.animation;
    if (animation == nullptr || animation->frames.empty())
        return;

    if (sprite.playing) {
        sprite.frameTime += frameMs;
        // One step per drawing at most: a slow frame is caught up over the next drawings.
        if (sprite.frameTime >= sprite.frameDuration) {
            const auto last = static_cast<uint32_t>(animation->frames.size() - 1);
            if (!sprite.reverse) {
                if (sprite.frameIndex < last)
                    ++sprite.frameIndex;
                else if (sprite.looping)
                    sprite.frameIndex = 0;
                else
                    sprite.playing = false;
            } else {
                if (sprite.frameIndex > 0)
                    --sprite.frameIndex;
                else if (sprite.looping)
                    sprite.frameIndex = last;
                else
                    sprite.playing = false;
            }
            sprite.frameTime -= sprite.frameDuration;
        }
    }
    // An owner may have written an index past the end; there is nothing to show for it.
    if (sprite.frameIndex >= animation->frames.size() || !copyPixels)
        return;

    SDL_Rect target;
    target.x = static_cast<int>(
        sprite.position.x - static_cast<float>(animation->halfWidth) + shakeOffset.x);
    target.y = static_cast<int>(
        sprite.position.y - static_cast<float>(animation->halfHeight) + shakeOffset.y);
    target.w = animation->width;
    target.h = animation->height;

    SDL_Texture* texture = animation->frames[sprite.frameIndex];
    // The texture is shared by every sprite of the animation, so its alpha is set per copy.
    const auto opacity = static_cast<Uint8>(std::clamp(sprite.opacity, 0, 255));
    SDL_SetTextureAlphaMod(texture, opacity);
    // An image without transparency, drawn whole and upright, covers what lies below: copying
    // it gives the very pixels blending would, and blending an 800x600 backdrop is most of a
    // software-drawn frame.
    uint32_t format = 0;
    SDL_QueryTexture(texture, &format, nullptr, nullptr, nullptr);
    const bool covers = opacity == 255 && sprite.angle == 0.0f && !SDL_ISPIXELFORMAT_ALPHA(format);
    SDL_SetTextureBlendMode(texture, covers ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
    SDL_RenderCopyEx(sdlRenderer, texture, nullptr, &target, static_cast<double>(sprite.angle),
        nullptr, SDL_FLIP_NONE);
}

void Renderer::RenderFrame(float frameMs)
{
    // The draw colour is never set, so this clears to black.
    if (copyPixels)
        SDL_RenderClear(sdlRenderer);
    UpdateShake();
    for (size_t layer = 0; layer < layerCount; ++layer) {
        // Dead items are freed on the way; hidden and fully transparent ones are skipped and
        // so do not advance their animation.
        VisitLiveRemovingDead(spriteLayers[layer], [&](Sprite* sprite) {
            if (sprite->visible && sprite->opacity != 0)
                DrawSprite(*sprite, frameMs);
        });
        VisitLiveRemovingDead(textLayers[layer], [&](TextItem* item) {
            if (item->visible && item->opacity != 0)
                item->Draw(sdlRenderer, shakeOffset);
        });
    }
    // A window kept hidden until now appears with this picture. The drawing is flushed first,
    // so that the one-time costs of a first frame (a software GL driver compiles its shaders
    // as it draws) are paid while it is still hidden.
    if (showWindowWithPicture) {
        showWindowWithPicture = false;
        SDL_RenderFlush(sdlRenderer);
        if (SDL_Window* window = SDL_RenderGetWindow(sdlRenderer))
            SDL_ShowWindow(window);
    }
    if (copyPixels)
        SDL_RenderPresent(sdlRenderer);
}
