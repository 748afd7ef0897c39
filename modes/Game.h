#pragma once

#include "app/GameBase.h"
#include "modes/HiscoreEntry.h"
#include "sound/ISoundEngine.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Mode;

// The application object: the base frame plus the sound engine, the hiscore table and the
// current screen, and every switch between the menu and play.
class Game : public GameBase {
public:
    // Opens the window, then starts the sound engine at master volume 0.5, the menu and the
    // default hiscore table. Without `engine` the game plays through SDL_mixer; tests pass
    // their own.
    explicit Game(const std::string& caption, std::unique_ptr<ISoundEngine> engine = nullptr);

    // Ends the screen first (it stops its music through the engine), then the engine.
    ~Game() override;

    // Runs the current screen's update; only when it answers true, the base frame.
    bool frame() override;

    // From the menu to play: the menu is destroyed before the play screen is built.
    void StartGame();

    // From play back to the menu: takes the score, destroys the play screen and every world
    // object, builds a new menu and enters the score, opening on the hiscore page when it
    // entered the table.
    void ReturnToMenu();

    // Enters `score` as "YOU" in front of every entry with the same or a lower score, replacing
    // an earlier "YOU" only when strictly greater. Answers whether the table changed.
    bool AddHiscore(uint32_t score);

    ISoundEngine* GetSoundEngine() const { return soundEngine.get(); }

    std::vector<HiscoreEntry> hiscores; // highest first, 7 or 8 entries
    std::unique_ptr<Mode> mode;
    std::unique_ptr<ISoundEngine> soundEngine;
};
