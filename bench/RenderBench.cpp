// One RenderFrame of 300 sprites and 20 text items at 800x600 on the software renderer.
#include "base/Clock.h"
#include "render/Renderer.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// Writes a 48x48 frame with a soft alpha edge, so blending is part of the cost.
std::string MakeFrames(const std::filesystem::path& folder)
{
    std::filesystem::create_directories(folder);
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 48, 48, 32, SDL_PIXELFORMAT_RGBA32);
    auto* pixels = static_cast<uint32_t*>(surface->pixels);
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 48; ++x) {
            const int dx = x - 24;
            const int dy = y - 24;
            const int alpha = std::max(0, 255 - (dx * dx + dy * dy) / 2);
            pixels[y * 48 + x]
                = SDL_MapRGBA(surface->format, 120, 200, 255, static_cast<Uint8>(alpha));
        }
    }
    IMG_SavePNG(surface, (folder / "0000.png").c_str());
    SDL_FreeSurface(surface);
    return folder.string();
}

void RenderFrame300Sprites20Texts(benchmark::State& state)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_RENDER_DRIVER", "software", 0);
    SDL_Init(SDL_INIT_VIDEO);
    TTF_Init();
    SDL_Window* window = SDL_CreateWindow("bench", 0, 0, 800, 600, SDL_WINDOW_HIDDEN);
    {
        Renderer renderer(window);
        const auto folder = std::filesystem::temp_directory_path() / "skarvold-bench-frames";
        const std::string path = MakeFrames(folder);
        for (int index = 0; index < 300; ++index) {
            Sprite* sprite = renderer.AddSprite(path, 3 + index % 2);
            sprite->position
                = { static_cast<float>(index * 37 % 800), static_cast<float>(index * 53 % 600) };
            sprite->angle = static_cast<float>(index % 360);
            sprite->opacity = 128 + index % 128;
        }
        gameTime = 1000;
        for (int index = 0; index < 20; ++index) {
            TextItem* text
                = renderer.AddText("/usr/share/fonts/truetype/open-sans/OpenSans-Bold.ttf", 4,
                    index % 2 == 0, 24, Rgb { 255, 255, 255 });
            text->position = { 400.0f, static_cast<float>(index * 30) };
            text->SetText("Score: " + std::to_string(index * 1000));
        }
        renderer.Shake(5.0f, 100000);
        for (auto _ : state) {
            gameTime += 16;
            renderer.RenderFrame(16.0f);
        }
        std::filesystem::remove_all(folder);
    }
    SDL_DestroyWindow(window);
    TTF_Quit();
    SDL_Quit();
}
BENCHMARK(RenderFrame300Sprites20Texts)->Unit(benchmark::kMillisecond);

} // namespace
