#include "modes/StandInMode.h"

#include "modes/Game.h"
#include "render/Preload.h"
#include "render/Renderer.h"
#include "sound/ISoundEngine.h"

#include <SDL.h>

namespace {
constexpr float musicVolume = 0.65f;
}

StandInMode::StandInMode(Game* owner)
    : Mode(owner)
{
    PreloadAnimations(*game->renderer);
    background = game->renderer->AddSprite("Data/Gui/MenuBackground", 0);
    background->position = { GameBase::windowWidth / 2.0f, GameBase::windowHeight / 2.0f };

    ISoundEngine* sound = game->GetSoundEngine();
    music = sound->PlayMusic("Data/Music/Menu.wav");
    sound->SetMusicPaused(music, false);
    sound->SetMusicVolume(music, musicVolume);
}

StandInMode::~StandInMode()
{
    background->dead = true;
    game->GetSoundEngine()->StopMusic(music);
}

bool StandInMode::Update()
{
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        if (event.type == SDL_QUIT)
            return false;
    }
    return true;
}
