#include "autoplay/RunWatch.h"

#include "base/Clock.h"
#include "modes/Game.h"
#include "modes/GameMode.h"
#include "modes/MenuMode.h"

#include <SDL.h>

#include <algorithm>

RunWatch::RunWatch(InputSource& watched)
    : input(watched)
{
}

RunWatch::Seen RunWatch::Look(const Game& game)
{
    Seen seen;
    if (const auto* play = dynamic_cast<const GameMode*>(game.mode.get())) {
        seen.screen = Seen::Screen::Play;
        seen.shipAlive = play->player != nullptr;
    } else if (dynamic_cast<const MenuMode*>(game.mode.get()) != nullptr) {
        seen.screen = Seen::Screen::Menu;
    }
    seen.paused = gamePaused;
    seen.time = gameTime;
    for (const HiscoreEntry& entry : game.hiscores)
        seen.table += entry.name + ' ' + std::to_string(entry.score) + '\n';
    return seen;
}

bool RunWatch::Next(const Game& game, Replay::Frame& frame)
{
    const Seen now = Look(game);
    if (looked)
        Between(last, now);
    if (!input.Next(game, frame))
        return false;
    looked = true;
    last = now;
    lastEvents = frame.events;
    ++frames;
    return true;
}

void RunWatch::Between(const Seen& before, const Seen& after)
{
    using Screen = Seen::Screen;
    if (before.screen != Screen::Play && after.screen == Screen::Play) {
        playing = true;
        shipEnded = false;
        playStart = after.time;
        survived = 0;
    }
    if (playing && after.screen == Screen::Play && !shipEnded && !after.shipAlive) {
        shipEnded = true;
        survived = after.time - playStart;
    }
    if (before.screen == Screen::Play && after.screen != Screen::Play) {
        Play play;
        play.shipLost = !before.shipAlive;
        play.leftFromPrompt = before.shipAlive && before.paused;
        play.escapeAsItEnded = play.shipLost
            && std::any_of(lastEvents.begin(), lastEvents.end(), [](const Replay::Event& event) {
                   return event.kind == Replay::Event::Kind::KeyDown
                       && event.scancode == SDL_SCANCODE_ESCAPE;
               });
        play.pausedAfter = after.paused;
        play.enteredTable = before.table != after.table;
        play.survivedMs = shipEnded ? survived : after.time - playStart;
        play.endFrame = frames;
        facts.plays.push_back(play);
        playing = false;
    }
}

RunWatch::Facts RunWatch::Finish(const GameRun::Result& result)
{
    facts.ended = result.ended;
    facts.byWindow = std::any_of(lastEvents.begin(), lastEvents.end(),
        [](const Replay::Event& event) { return event.kind == Replay::Event::Kind::Quit; });
    facts.inMenu = last.screen == Seen::Screen::Menu;
    if (playing) {
        // A play the run ended in the middle of: its ship's time so far.
        Play play;
        play.survivedMs = shipEnded ? survived : last.time - playStart;
        facts.plays.push_back(play);
        playing = false;
    }
    for (size_t i = 0; i < facts.plays.size() && i < result.trace.scores.size(); ++i)
        facts.plays[i].score = result.trace.scores[i];
    return facts;
}
