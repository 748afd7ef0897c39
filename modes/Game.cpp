#include "modes/Game.h"

#include "modes/Mode.h"
#include "modes/StandInMode.h"
#include "sound/ISoundEngine.h"
#include "sound/MixerSoundEngine.h"

namespace {
constexpr float masterVolume = 0.5f;
}

Game::Game(const std::string& caption, std::unique_ptr<ISoundEngine> engine)
    : GameBase(caption)
    , soundEngine(std::move(engine))
{
    if (!Started())
        return;
    if (soundEngine == nullptr)
        soundEngine = std::make_unique<MixerSoundEngine>();
    soundEngine->SetMasterVolume(masterVolume);
    mode = std::make_unique<StandInMode>(this);
}

Game::~Game()
{
    mode.reset();
    soundEngine.reset();
}

bool Game::frame()
{
    if (!mode->Update())
        return false;
    return GameBase::frame();
}
