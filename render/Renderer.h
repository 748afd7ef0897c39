#pragma once

#include "base/Rgb.h"
#include "base/Vec2.h"
#include "render/Animation.h"
#include "render/FrameDecoder.h"
#include "render/ShakeEntry.h"
#include "render/Sprite.h"
#include "render/TextItem.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

struct SDL_Renderer;
struct SDL_Window;

// Owns everything that is drawn: six layers of sprites and text items, the animation
// cache and the screen shakes. Game code asks for items and only writes their fields.
class Renderer {
public:
    static constexpr int layerCount = 6;

    // Creates an accelerated renderer for the window, falling back to the software one.
    explicit Renderer(SDL_Window* window);
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // A new sprite showing the animation of `path`, appended to `layer` (0 to 5).
    Sprite* AddSprite(const std::string& path, int layer);

    // A new, empty text item appended to `layer` (0 to 5); set its text with SetText.
    TextItem* AddText(
        const std::string& fontPath, int layer, bool centred, int pointSize, const Rgb& colour);

    // The cached animation of `path`, loaded from its numbered PNG frames on first request.
    Animation* GetAnimation(const std::string& path);

    // Frames being read ahead on worker threads: the first GetAnimation of each of their paths
    // makes its textures from them instead of reading the files then.
    void DecodeAhead(std::unique_ptr<FrameDecoder> frameDecoder);

    // For a window created hidden: it is shown with the first picture, right before that is
    // presented, so that it never stands empty while the game starts.
    void ShowWindowWithFirstFrame();

    // For a window created hidden: shows it at once with the first frame of `path` centred
    // on black, before the rest of the images become textures, so that the player sees the
    // game while it finishes loading. An image that cannot be read leaves the window hidden
    // until the first picture of RenderFrame.
    void ShowWindowWithImage(const std::string& path);

    // Starts a shake of `magnitude` pixels fading out over `durationMs` (> 0) of gameTime.
    void Shake(float magnitude, uint32_t durationMs);

    // Clears, updates the shake, draws layers 0 to 5 (freeing dead items) and presents.
    // `frameMs` is the frame's length; sprite animations advance by it.
    void RenderFrame(float frameMs);

    std::array<std::vector<Sprite*>, layerCount> spriteLayers;
    std::array<std::vector<TextItem*>, layerCount> textLayers;
    SDL_Renderer* sdlRenderer = nullptr;
    std::vector<ShakeEntry> shakes;
    uint32_t lastShakeUpdate = 0;
    Vec2 shakeOffset;
    std::unordered_map<std::string, Animation*> animations;
    // When false, RenderFrame still advances every animation, shake and text item as a drawn
    // frame would, but copies no sprite pixels and presents nothing: the same game, for tools
    // that play many games headless and never look at the picture.
    bool copyPixels = true;

private:
    void UpdateShake();
    void DrawSprite(Sprite& sprite, float frameMs);

    std::unique_ptr<FrameDecoder> decoder {};
    bool showWindowWithPicture = false;
};
