#include "app/GameBase.h"

#include "app/Platform.h"
#include "base/AssetPaths.h"
#include "base/Clock.h"
#include "base/Timer.h"
#include "base/Window.h"
#include "render/FrameDecoder.h"
#include "render/Renderer.h"
#include "world/World.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

namespace {
void ReportStartFailure(const std::string& what)
{
    Platform::ShowStartFailure("skarvold: cannot start: " + what);
}

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The largest window icon read, in pixels a side: the largest of the installed icon theme.
// A bigger file is damaged data and is not decoded.
constexpr uint32_t maxWindowIconSide = 256;

// Gives the window the game's icon from the data set; answers whether it did. A file that is
// missing or unreadable leaves the window without an icon, as it always was.
bool GiveWindowIcon(SDL_Window* window)
{
    SDL_Surface* icon = FrameDecoder::ReadPng(std::string(windowIconPath), maxWindowIconSide);
    if (icon == nullptr)
        return false;
    SDL_SetWindowIcon(window, icon); // SDL keeps a copy
    SDL_FreeSurface(icon);
    return true;
}

// Pauses before each new try at a display that is there but refused the connection; about a
// second in all, after which the player hears why.
constexpr uint32_t retryWaitsMs[] = { 100, 200, 300, 400 };

// A video driver to try and the display it goes to ("" when no variable names one).
struct VideoTarget {
    std::string driver {};
    std::string display {};
    std::string reason {}; // why the last try failed
    bool hopeless = false; // no wait can mend the last failure
};

// The drivers to try, always by name: left to itself SDL probes every driver it has, so
// libwayland complains on stderr without a Wayland session, and where no display answers SDL
// falls back to a driver without any picture, a window nobody could see or close. A driver
// without a picture is therefore only used when SDL_VIDEODRIVER asks for it.
std::vector<VideoTarget> VideoTargets(const std::string& requested)
{
#if defined(_WIN32)
    // Windows has one video driver of its own; DISPLAY or WAYLAND_DISPLAY, which Wine passes
    // on from the Linux side, mean nothing to it.
    if (requested.empty())
        return { { "windows", "", "", false } };
#elif defined(__EMSCRIPTEN__)
    // The browser's page is the only display there is: its canvas.
    if (requested.empty())
        return { { "emscripten", "", "", false } };
#endif
    const std::string x11 = Environment("DISPLAY");
    const std::string wayland = Environment("WAYLAND_DISPLAY");
    if (requested == "x11")
        return { { requested, x11, "", false } };
    if (requested == "wayland")
        return { { requested, wayland, "", false } };
    if (!requested.empty())
        return { { requested, "", "", false } };
    std::vector<VideoTarget> targets;
    if (!x11.empty())
        targets.push_back({ "x11", x11, "", false });
    if (!wayland.empty())
        targets.push_back({ "wayland", wayland, "", false });
    if (targets.empty())
        targets.push_back({ "kmsdrm", "", "", false }); // a text console with a graphics device
    return targets;
}

// libwayland looks for a relative display name in XDG_RUNTIME_DIR and prints its own
// complaint when that is missing; the game names the cause in its one line instead.
bool WaylandLacksRuntimeDir(const VideoTarget& target)
{
    return target.driver == "wayland" && !target.display.starts_with('/')
        && !Environment("XDG_RUNTIME_DIR").starts_with('/');
}

bool TryTarget(const DisplayConnector& connector, VideoTarget& target)
{
    if (WaylandLacksRuntimeDir(target)) {
        target.reason = "XDG_RUNTIME_DIR is not set";
        target.hopeless = true;
        return false;
    }
    if (connector.connect(target.driver.c_str()))
        return true;
    target.reason = SDL_GetError();
    // Only a display that exists can be busy; any other failure stays as it is.
    target.hopeless = target.display.empty();
    return false;
}

// The failure line for targets that all failed.
std::string DescribeFailure(const std::string& requested, const std::vector<VideoTarget>& targets)
{
    std::string text;
    for (const VideoTarget& target : targets) {
        if (target.display.empty())
            continue;
        text += text.empty() ? "cannot open display \"" : ", nor \"";
        text += target.display + "\" (" + target.reason + ")";
    }
    if (!text.empty())
        return text;
    if (requested.empty() && targets.front().driver == "kmsdrm")
        return "video system: no display found (is DISPLAY or WAYLAND_DISPLAY set?)";
    return "video system: " + targets.front().reason;
}

// Starts the video system on the first target that answers, trying again while a named display
// may only be busy. Answers "" or the text of the failure line.
std::string StartVideo(const DisplayConnector& connector)
{
    const char* hint = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    const std::string requested = hint != nullptr ? hint : "";
    std::vector<VideoTarget> targets = VideoTargets(requested);
    for (size_t attempt = 0;; ++attempt) {
        for (VideoTarget& target : targets) {
            if (TryTarget(connector, target))
                return "";
        }
        const bool worthWaiting = std::any_of(targets.begin(), targets.end(),
            [](const VideoTarget& target) { return !target.hopeless; });
        if (!worthWaiting || attempt == std::size(retryWaitsMs))
            return DescribeFailure(requested, targets);
        connector.wait(retryWaitsMs[attempt]);
    }
}
} // namespace

DisplayConnector SdlDisplayConnector()
{
    return DisplayConnector {
        [](const char* driver) {
            SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
            return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
        },
        [](uint32_t ms) { SDL_Delay(ms); },
    };
}

GameBase::GameBase(const std::string& caption, const std::vector<std::string>& imagePaths,
    const std::string& firstPicture)
    : GameBase(caption, SdlDisplayConnector(), imagePaths, firstPicture)
{
}

GameBase::GameBase(const std::string& caption, const DisplayConnector& connector,
    const std::vector<std::string>& imagePaths, const std::string& firstPicture)
    : lastFrameTime(gameTime)
{
    // SDL reads the class when its video system starts; it is set here before any worker
    // thread starts, as the environment is not safe to change while other threads read it.
    // A class the player set in the environment stays.
#if !defined(_WIN32) // X11 and Wayland only; Windows has no setenv
    setenv("SDL_VIDEO_X11_WMCLASS", windowClass, 0);
    setenv("SDL_VIDEO_WAYLAND_WMCLASS", windowClass, 0);
#endif
    // Reading and decoding the images is most of the start-up's work, and needs neither the
    // display nor the renderer: it goes on beside them, the first picture first.
    std::vector<std::string> readOrder;
    if (!firstPicture.empty())
        readOrder.push_back(firstPicture);
    readOrder.insert(readOrder.end(), imagePaths.begin(), imagePaths.end());
    auto decoder = readOrder.empty() ? nullptr : std::make_unique<FrameDecoder>(readOrder);
    const std::string videoFailure = StartVideo(connector);
    if (!videoFailure.empty()) {
        ReportStartFailure(videoFailure);
        return;
    }
    TTF_Init();
    // Hidden until the first picture is ready: an empty window, black while the renderer starts
    // and the images load, tells the player nothing.
    window = SDL_CreateWindow(caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
        windowWidth, windowHeight, SDL_WINDOW_HIDDEN);
    if (window == nullptr) {
        ReportStartFailure(std::string("window: ") + SDL_GetError());
        return;
    }
    // Before the window is first shown, so that the desktop has it from the start.
    hasWindowIcon = GiveWindowIcon(window);
    renderer = new Renderer(window);
    if (renderer->sdlRenderer == nullptr)
        ReportStartFailure(std::string("renderer: ") + SDL_GetError());
    renderer->DecodeAhead(std::move(decoder));
    renderer->ShowWindowWithFirstFrame();
    if (!firstPicture.empty() && renderer->sdlRenderer != nullptr)
        renderer->ShowWindowWithImage(firstPicture);
    world = new World(renderer);
}

GameBase::~GameBase()
{
    // The world goes first: its objects' destructors mark their draw items dead.
    delete world;
    delete renderer;
    if (window != nullptr)
        SDL_DestroyWindow(window);
    TTF_Quit();
    SDL_Quit();
}

bool GameBase::Started() const
{
    return window != nullptr && renderer != nullptr && renderer->sdlRenderer != nullptr;
}

bool GameBase::frame()
{
    TickTimers();

    const uint32_t now = gameTime;
    const uint32_t delta = now - lastFrameTime;
    accumulator += delta;

    // Taken before the steps consume the time: a frame that steps renders at 1.0.
    const float alpha = std::min(static_cast<float>(accumulator) / stepMs, 1.0f);

    const auto stepLength = static_cast<uint32_t>(stepMs);
    while (static_cast<float>(accumulator) >= stepMs) {
        accumulator -= stepLength;
        world->Update(stepMs / 1000.0f);
        if (afterStep)
            afterStep();
    }

    world->Render(static_cast<float>(delta) / 1000.0f, alpha);
    renderer->RenderFrame(static_cast<float>(delta));

    lastFrameTime = now;
    return running;
}
