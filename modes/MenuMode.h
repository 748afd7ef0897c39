#pragma once

#include "base/Tween.h"
#include "modes/Mode.h"

#include <array>
#include <cstdint>

class MusicHandle;
struct Sprite;
struct TextItem;

// The screen the program starts on and returns to after every game: the title, "PLAY",
// "HISCORE" and "QUIT", the controls and the credits over a backdrop, with the menu music;
// and the hiscore page, whose rows fade in one after another over a dark overlay.
class MenuMode : public Mode {
public:
    static constexpr int shownRows = 7;
    static constexpr const char* backgroundPath = "Data/Gui/MenuBackground";

    // Loads every image of the game, builds the main page with "PLAY" selected and starts
    // the menu music.
    explicit MenuMode(Game* owner);
    // Marks every item dead and stops the music.
    ~MenuMode() override;

    // This frame's key presses, the highlight and the row fade. False to end the program.
    bool Update() override;

    // Fills the rows from the game's table and shows the hiscore page.
    void ShowHiscores();

    MusicHandle* music = nullptr;
    uint32_t hiscoreRow = 0;
    Sprite* background = nullptr;
    TextItem* title = nullptr;
    TextItem* authorCredit = nullptr;
    TextItem* authorAddress = nullptr;
    TextItem* musicCredit = nullptr;
    TextItem* composerAddress = nullptr;
    TextItem* controlsHeading = nullptr;
    TextItem* controlsMove = nullptr;
    TextItem* controlsFire = nullptr;
    TextItem* controlsEscape = nullptr;
    TextItem* playItem = nullptr;
    TextItem* hiscoreItem = nullptr;
    TextItem* quitItem = nullptr;
    TextItem* selected = nullptr;
    Sprite* overlay = nullptr;
    TextItem* hiscoreHeading = nullptr;
    std::array<TextItem*, shownRows> rowNames {};
    std::array<TextItem*, shownRows> rowScores {};
    TextItem* returnHint = nullptr;
    Tween rowFade;
};
