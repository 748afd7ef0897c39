// The loading of every image of the game by itself, from the generated data set: the menu's
// preloading plus its backdrop, first with every frame read on request, one after another,
// then with the frames read ahead on worker threads and only the textures made on request.
// Also the reading and decoding alone, without textures, both ways. Each run starts from an
// empty cache; the files stay in the system's cache after the first run.
//
// Run from anywhere: the bench moves into the build folder, where Data/ was generated. It uses
// SDL's software renderer in an off-screen window unless SDL_VIDEODRIVER and SDL_RENDER_DRIVER
// say otherwise (x11 and opengl, say, under Xvfb, to see what the game's renderer costs).
#include "render/FrameDecoder.h"
#include "render/Preload.h"
#include "render/Renderer.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

// The paths the menu asks for before its first frame, in its order.
std::vector<std::string> MenuImagePaths()
{
    std::vector<std::string> paths;
    for (const std::string_view path : PreloadPaths())
        paths.emplace_back(path);
    paths.emplace_back("Data/Gui/MenuBackground");
    return paths;
}

void EnterBuildFolder()
{
#ifdef SKARVOLD_BUILD_DIR
    if (chdir(SKARVOLD_BUILD_DIR) != 0)
        std::abort();
#endif
}

// A hidden window and the game's renderer for it, for one benchmark.
class Screen {
public:
    Screen()
    {
        EnterBuildFolder();
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        setenv("SDL_RENDER_DRIVER", "software", 0);
        SDL_Init(SDL_INIT_VIDEO);
        window = SDL_CreateWindow("bench", 0, 0, 800, 600, SDL_WINDOW_HIDDEN);
        renderer = std::make_unique<Renderer>(window);
    }
    ~Screen()
    {
        renderer.reset();
        SDL_DestroyWindow(window);
        SDL_Quit();
    }
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    // Empties the animation cache, textures and all, so that the next requests load again.
    void Forget()
    {
        for (auto& [path, animation] : renderer->animations) {
            for (SDL_Texture* texture : animation->frames)
                SDL_DestroyTexture(texture);
            delete animation;
        }
        renderer->animations.clear();
    }

    SDL_Window* window = nullptr;
    std::unique_ptr<Renderer> renderer;
};

void LoadEveryImage(Renderer& renderer, const std::vector<std::string>& paths)
{
    for (const std::string& path : paths)
        benchmark::DoNotOptimize(renderer.GetAnimation(path));
}

void PreloadOneByOne(benchmark::State& state)
{
    Screen screen;
    const std::vector<std::string> paths = MenuImagePaths();
    for (auto _ : state) {
        LoadEveryImage(*screen.renderer, paths);
        state.PauseTiming();
        screen.Forget();
        state.ResumeTiming();
    }
}
BENCHMARK(PreloadOneByOne)->Unit(benchmark::kMillisecond)->UseRealTime();

void PreloadDecodedAhead(benchmark::State& state)
{
    Screen screen;
    const std::vector<std::string> paths = MenuImagePaths();
    for (auto _ : state) {
        screen.renderer->DecodeAhead(std::make_unique<FrameDecoder>(paths));
        LoadEveryImage(*screen.renderer, paths);
        state.PauseTiming();
        screen.Forget();
        state.ResumeTiming();
    }
}
BENCHMARK(PreloadDecodedAhead)->Unit(benchmark::kMillisecond)->UseRealTime();

void FreeAll(std::vector<SDL_Surface*>& surfaces)
{
    for (SDL_Surface* surface : surfaces)
        SDL_FreeSurface(surface);
}

void DecodeOneByOne(benchmark::State& state)
{
    EnterBuildFolder();
    const std::vector<std::string> paths = MenuImagePaths();
    for (auto _ : state) {
        for (const std::string& path : paths) {
            std::vector<SDL_Surface*> frames = FrameDecoder::ReadFrames(path);
            FreeAll(frames);
        }
    }
}
BENCHMARK(DecodeOneByOne)->Unit(benchmark::kMillisecond)->UseRealTime();

void DecodeOnWorkers(benchmark::State& state)
{
    EnterBuildFolder();
    const std::vector<std::string> paths = MenuImagePaths();
    for (auto _ : state) {
        FrameDecoder decoder(paths);
        for (const std::string& path : paths) {
            std::vector<SDL_Surface*> frames = decoder.Take(path);
            FreeAll(frames);
        }
    }
}
BENCHMARK(DecodeOnWorkers)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
