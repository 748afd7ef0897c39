#include "autoplay/RandomPlayer.h"

#include "base/Clock.h"
#include "modes/Game.h"
#include "modes/GameMode.h"
#include "modes/MenuMode.h"
#include "render/Sprite.h"
#include "world/Enemy.h"
#include "world/Player.h"
#include "world/Projectile.h"
#include "world/ShieldPickup.h"
#include "world/World.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

namespace {
constexpr std::array<int, 4> arrows
    = { SDL_SCANCODE_LEFT, SDL_SCANCODE_RIGHT, SDL_SCANCODE_UP, SDL_SCANCODE_DOWN };

// Mixes the run's seed so that this player's draws do not echo the game's generator, which
// starts from the same seed.
uint32_t PlayerSeed(uint32_t seed)
{
    uint32_t mixed = seed * 2654435761u + 0x9e3779b9u;
    mixed ^= mixed >> 15;
    return mixed * 2246822519u;
}
} // namespace

RandomPlayer::RandomPlayer(uint32_t seed, const FrameLengths& frameLengths)
    : random(PlayerSeed(seed))
    , lengths(frameLengths)
{
    plannedPlays = 1 + static_cast<int>(Below(3));
    playsLeft = plannedPlays;
    quitByWindow = Chance(200);
    lookAtHiscores = Chance(300);
}

uint32_t RandomPlayer::Below(uint32_t range)
{
    // Two draws make 30 bits, enough for any range used here.
    const auto high = static_cast<uint32_t>(random.Next());
    const auto low = static_cast<uint32_t>(random.Next());
    return range == 0 ? 0 : (high << 15 | low) % range;
}

bool RandomPlayer::Chance(uint32_t perThousand)
{
    return Below(1000) < perThousand;
}

uint32_t RandomPlayer::Between(uint32_t shortest, uint32_t longest)
{
    return longest <= shortest ? shortest : shortest + Below(longest - shortest + 1);
}

uint32_t RandomPlayer::FrameLength()
{
    if (Chance(lengths.stallsPerThousand))
        return Between(lengths.shortestStall, lengths.longestStall);
    return Between(lengths.shortest, lengths.longest);
}

void RandomPlayer::Press(Replay::Frame& frame, int scancode)
{
    frame.events.push_back({ Replay::Event::Kind::KeyDown, scancode });
    held[static_cast<size_t>(scancode)] = true;
}

void RandomPlayer::Release(Replay::Frame& frame, int scancode)
{
    frame.events.push_back({ Replay::Event::Kind::KeyUp, scancode });
    held[static_cast<size_t>(scancode)] = false;
}

void RandomPlayer::Tap(Replay::Frame& frame, int scancode)
{
    Press(frame, scancode);
    Release(frame, scancode);
}

void RandomPlayer::Toggle(Replay::Frame& frame, int scancode)
{
    if (held[static_cast<size_t>(scancode)])
        Release(frame, scancode);
    else
        Press(frame, scancode);
}

bool RandomPlayer::Next(const Game& game, Replay::Frame& frame)
{
    frame = Replay::Frame {};
    frame.ms = FrameLength();
    if (const auto* menu = dynamic_cast<const MenuMode*>(game.mode.get())) {
        currentPlay = nullptr;
        InMenu(*menu, frame);
    } else if (const auto* play = dynamic_cast<const GameMode*>(game.mode.get())) {
        if (play != currentPlay) {
            currentPlay = play;
            StartOfPlay();
        }
        InPlay(*play, frame);
    }
    return true;
}

void RandomPlayer::StartOfPlay()
{
    // The keys that chose "PLAY" are up by now; a new play starts with nothing held.
    held.fill(false);
    playStart = gameTime;
    leaveAfter = Chance(450) ? Between(1000, std::min<uint32_t>(40'000, lengths.longestPlay))
                             : lengths.longestPlay;
    closeAfter = (playsLeft == 0 && Chance(60)) ? Between(500, 60'000) : 0;
    leaving = false;
    pausedFrames = 0;
    hunting = Chance(600);
}

void RandomPlayer::Hunt(const GameMode& play, Replay::Frame& frame)
{
    // Dodges the nearest shot coming down on the ship; else takes a shield lying about;
    // else waits under the lowest enemy, keeping to the lower part of the window.
    const Vec2 at = play.player->position;
    const Object* shot = nullptr;
    const Object* pickup = nullptr;
    const Object* prey = nullptr;
    for (const Object* object : play.game->world->objects) {
        if (object->dead)
            continue;
        const Vec2 p = object->position;
        if (dynamic_cast<const Projectile*>(object) != nullptr
            && (object->collisionMask & TypePlayer) != 0 && p.y < at.y + 20.0f
            && p.y > at.y - 180.0f && std::fabs(p.x - at.x) < 60.0f
            && (shot == nullptr || p.y > shot->position.y))
            shot = object;
        else if (dynamic_cast<const ShieldPickup*>(object) != nullptr && pickup == nullptr)
            pickup = object;
        else if (dynamic_cast<const Enemy*>(object) != nullptr
            && (prey == nullptr || p.y > prey->position.y))
            prey = object;
    }
    Vec2 goal { at.x, 520.0f };
    if (shot != nullptr)
        goal.x = at.x + (shot->position.x > at.x ? -100.0f : 100.0f);
    else if (pickup != nullptr && play.player->shields < Player::maxShields)
        goal = pickup->position;
    else if (prey != nullptr)
        goal.x = prey->position.x;
    const auto hold = [&](int key, bool wanted) {
        if (held[static_cast<size_t>(key)] != wanted)
            Toggle(frame, key);
    };
    hold(SDL_SCANCODE_LEFT, goal.x < at.x - 12.0f);
    hold(SDL_SCANCODE_RIGHT, goal.x > at.x + 12.0f);
    hold(SDL_SCANCODE_UP, goal.y < at.y - 12.0f);
    hold(SDL_SCANCODE_DOWN, goal.y > at.y + 12.0f);
}

void RandomPlayer::InMenu(const MenuMode& menu, Replay::Frame& frame)
{
    if (playsLeft == 0 && quitByWindow && Chance(30)) {
        frame.events.push_back({ Replay::Event::Kind::Quit, 0 });
        return;
    }
    if (menu.overlay->visible) {
        // Reads the table for a while; the arrows do nothing here.
        if (Chance(20))
            Tap(frame, arrows[Below(4)]);
        if (Chance(60))
            Tap(frame, SDL_SCANCODE_SPACE);
        return;
    }
    if (!Chance(250))
        return;

    const TextItem* target = playsLeft > 0 ? menu.playItem : menu.quitItem;
    if (lookAtHiscores)
        target = menu.hiscoreItem;
    if (menu.selected == target && !(playsLeft == 0 && quitByWindow)) {
        Tap(frame, SDL_SCANCODE_LCTRL);
        if (target == menu.hiscoreItem)
            lookAtHiscores = false;
        else if (target == menu.playItem)
            --playsLeft;
        return;
    }
    // Towards the target, with a slip now and then; at the ends a move only plays its sound.
    const auto place = [&](const TextItem* item) {
        return item == menu.playItem ? 0 : item == menu.hiscoreItem ? 1 : 2;
    };
    bool down = place(target) > place(menu.selected);
    if (Chance(200))
        down = !down;
    Tap(frame, down ? SDL_SCANCODE_DOWN : SDL_SCANCODE_UP);
    if (Chance(100) && playsLeft > 0)
        lookAtHiscores = true;
}

void RandomPlayer::InPlay(const GameMode& play, Replay::Frame& frame)
{
    const uint32_t played = gameTime - playStart;
    if (closeAfter != 0 && played >= closeAfter) {
        frame.events.push_back({ Replay::Event::Kind::Quit, 0 });
        return;
    }

    if (gamePaused) {
        ++pausedFrames;
        // Keys pressed while paused are tracked by the screen and count once it resumes.
        if (Chance(50))
            Toggle(frame, arrows[Below(4)]);
        if (pausedFrames >= pauseFrames)
            Tap(frame, leaving ? SDL_SCANCODE_SPACE : SDL_SCANCODE_ESCAPE);
        return;
    }

    if (played >= leaveAfter || Chance(4)) {
        leaving = played >= leaveAfter || Chance(300);
        pausedFrames = 0;
        pauseFrames = Between(1, 40);
        Tap(frame, SDL_SCANCODE_ESCAPE);
        return;
    }

    if (play.player == nullptr)
        return; // lost: wait for the game-over screen to hand back to the menu

    if (hunting && Chance(900))
        Hunt(play, frame);
    else if (Chance(120))
        Toggle(frame, arrows[Below(4)]);
    // Mostly firing, with short rests.
    if (held[SDL_SCANCODE_LCTRL] ? Chance(15) : Chance(150))
        Toggle(frame, SDL_SCANCODE_LCTRL);
    // A key held long enough repeats its key-down, as the system sends it.
    if (Chance(20)) {
        const int key = arrows[Below(4)];
        if (held[static_cast<size_t>(key)])
            Press(frame, key);
    }
}
