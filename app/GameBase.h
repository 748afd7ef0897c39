#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class Renderer;
class World;
struct SDL_Window;

// How the video system reaches a display; tests put in their own to refuse at will.
struct DisplayConnector {
    // Starts SDL's video system on the driver named; false leaves the reason in SDL_GetError().
    std::function<bool(const char* driver)> connect {};
    // Waits the given milliseconds before the next try.
    std::function<void(uint32_t ms)> wait {};
};

// The connector of the real program: SDL_InitSubSystem with the driver hint, and SDL_Delay.
DisplayConnector SdlDisplayConnector();

// The application base: starts the media libraries, owns the window, the World and the
// Renderer, and runs one frame of timers, fixed 32 ms world steps and drawing.
class GameBase {
public:
    // The window's class, by which a desktop matches it to the game's menu entry (whose
    // StartupWMClass names it): the same whatever the program's file is called.
    static constexpr const char* windowClass = "skarvold";

    // Opens the window with `caption`. When video, the window or any renderer cannot start,
    // one line goes to stderr and Started() answers false; the object must then be deleted.
    // A display that is named but refuses the first connection is tried again for about a
    // second, as a busy X server sometimes turns a new client away.
    // The frames of `imagePaths` are read on worker threads from the start, while the display,
    // the window and the renderer come up; the renderer makes their textures when they are
    // first asked for. The window stays hidden until its first picture is presented; with a
    // `firstPicture`, that is the first frame of this image, shown as soon as the renderer is
    // up, while the rest of the start-up goes on.
    // The window carries the game's icon from the data set (windowIconPath) when it is there;
    // without it, or with a file that cannot be read, it has none and nothing is said.
    explicit GameBase(const std::string& caption, const std::vector<std::string>& imagePaths = {},
        const std::string& firstPicture = "");
    GameBase(const std::string& caption, const DisplayConnector& connector,
        const std::vector<std::string>& imagePaths = {}, const std::string& firstPicture = "");
    virtual ~GameBase();
    GameBase(const GameBase&) = delete;
    GameBase& operator=(const GameBase&) = delete;

    // One frame: fires due timers, runs every 32 ms step the elapsed gameTime covers,
    // places and draws everything, presents. Called once per pass of the main loop;
    // answers false to end the program.
    virtual bool frame();

    // Whether the window and a renderer are up.
    bool Started() const;

    SDL_Window* window = nullptr;
    World* world = nullptr;
    Renderer* renderer = nullptr;
    bool running = true;
    uint32_t accumulator = 0;   // ms of gameTime not yet consumed by steps
    uint32_t lastFrameTime = 0; // gameTime at the start of the previous frame
    float stepMs = 32.0f;
    bool hasWindowIcon = false; // the window was given the data set's icon

    // Called after every world step when set, with the world as that step left it; the game
    // itself leaves it empty. Tools that trace a game step by step hook in here.
    std::function<void()> afterStep {};
};
