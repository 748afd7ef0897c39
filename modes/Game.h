#pragma once

#include "app/GameBase.h"
#include "sound/ISoundEngine.h"

#include <memory>
#include <string>

class Mode;

// The application object: the base frame plus the sound engine and the current screen.
class Game : public GameBase {
public:
    // Opens the window, then starts the sound engine at master volume 0.5 and the first
    // screen. Without `engine` the game plays through SDL_mixer; tests pass their own.
    explicit Game(const std::string& caption, std::unique_ptr<ISoundEngine> engine = nullptr);

    // Ends the screen first (it stops its music through the engine), then the engine.
    ~Game() override;

    // Runs the current screen's update; only when it answers true, the base frame.
    bool frame() override;

    ISoundEngine* GetSoundEngine() const { return soundEngine.get(); }

    std::unique_ptr<Mode> mode;
    std::unique_ptr<ISoundEngine> soundEngine;
};
