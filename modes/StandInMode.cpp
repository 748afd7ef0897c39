#include "modes/StandInMode.h"

#include <SDL.h>

StandInMode::StandInMode(Game* owner)
    : Mode(owner)
{
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
