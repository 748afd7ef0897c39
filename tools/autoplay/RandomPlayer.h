#pragma once

#include "autoplay/InputSource.h"
#include "base/Random.h"

#include <array>
#include <cstdint>

class GameMode;
class MenuMode;

// Plays like a restless player, every choice drawn from its own generator (never the game's):
// walks the menu, opens and closes the hiscore page, starts one to three plays, steers and
// fires at random or hunts the lowest enemy, pauses and resumes, leaves from the pause prompt
// or plays on until the ship is lost, and ends the program through "QUIT" or, now and then,
// the window's close button, in the menu or in the middle of play. Frame lengths are drawn
// too, with stalls.
class RandomPlayer : public InputSource {
public:
    struct FrameLengths {
        uint32_t shortest = 1; // ms
        uint32_t longest = 100;
        uint32_t stallsPerThousand = 3; // frames that are a stall instead
        uint32_t shortestStall = 1000;
        uint32_t longestStall = 10000;
        // A play not left on purpose ends when the ship is lost, or after this long.
        uint32_t longestPlay = 240'000;
    };

    RandomPlayer(uint32_t seed, const FrameLengths& frameLengths);

    bool Next(const Game& game, Replay::Frame& frame) override;

    // Plays the run holds, drawn at the start.
    int PlannedPlays() const { return plannedPlays; }

private:
    uint32_t Below(uint32_t range); // 0 to range - 1
    bool Chance(uint32_t perThousand);
    uint32_t Between(uint32_t shortest, uint32_t longest);
    uint32_t FrameLength();

    void InMenu(const MenuMode& menu, Replay::Frame& frame);
    void InPlay(const GameMode& play, Replay::Frame& frame);
    void StartOfPlay();
    void Hunt(const GameMode& play, Replay::Frame& frame);
    void Press(Replay::Frame& frame, int scancode);
    void Release(Replay::Frame& frame, int scancode);
    void Tap(Replay::Frame& frame, int scancode);
    void Toggle(Replay::Frame& frame, int scancode);

    Random random;
    FrameLengths lengths;
    int plannedPlays = 0;
    int playsLeft = 0;
    bool quitByWindow = false;   // ends the run with the close button instead of "QUIT"
    bool lookAtHiscores = false; // visits the hiscore page before the next play
    const GameMode* currentPlay = nullptr;
    uint32_t playStart = 0;  // gameTime the play began
    uint32_t leaveAfter = 0; // ms of play before leaving from the prompt; 0: play on
    uint32_t closeAfter = 0; // ms of play before closing the window; 0: never
    bool hunting = false;    // steers under the enemies in this play
    bool leaving = false;    // paused in order to leave
    uint32_t pausedFrames = 0;
    uint32_t pauseFrames = 0;      // how long this pause lasts, in frames
    std::array<bool, 512> held {}; // keys this player holds down, by scancode
};
