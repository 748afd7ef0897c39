#include "modes/MenuMode.h"

#include "base/Clock.h"
#include "modes/Game.h"
#include "render/Preload.h"
#include "render/Renderer.h"
#include "sound/ISoundEngine.h"

#include <SDL.h>

#include <algorithm>
#include <string>

namespace {
constexpr const char* boldFont = "Data/Fonts/OpenSans-Bold.ttf";
constexpr const char* regularFont = "Data/Fonts/OpenSans-Regular.ttf";
constexpr const char* moveSound = "Data/Gui/MenuMove.wav";
constexpr const char* selectSound = "Data/Gui/MenuSelect.wav";
constexpr const char* menuMusic = "Data/Music/Menu.wav";
constexpr float musicVolume = 0.65f;

constexpr int selectedSize = 36;
constexpr int selectedOpacity = 255;
constexpr int unselectedSize = 24;
constexpr int unselectedOpacity = 96;

constexpr int overlayOpacity = 228;
constexpr uint32_t rowFadeMs = 200;
constexpr float rowNameX = 300.0f;
constexpr float rowScoreX = 500.0f;
constexpr float firstRowY = 200.0f;
constexpr float rowSpacing = 30.0f;
constexpr int rowGreyStep = 24;

constexpr Rgb white { 255, 255, 255 };
constexpr Rgb creditGrey { 128, 128, 128 };
constexpr Rgb hintBlue { 64, 128, 196 };

// Makes a colour or size change show at the item's next drawing instead of waiting out the
// half-second rebuild limit.
void MarkForRebuild(TextItem* item)
{
    item->dirty = true;
    item->lastRebuildTime = 0;
}

void Highlight(TextItem* item, bool on)
{
    item->pointSize = on ? selectedSize : unselectedSize;
    item->opacity = on ? selectedOpacity : unselectedOpacity;
    MarkForRebuild(item);
}
} // namespace

MenuMode::MenuMode(Game* owner)
    : Mode(owner)
{
    // Every image of the game is read now, so that play never waits for the disk.
    PreloadAnimations(*game->renderer);

    Renderer& renderer = *game->renderer;
    // A centred text item at (x, y) with its text, shown unless the caller hides it.
    auto addText = [&renderer](const char* font, int pointSize, const Rgb& colour, float x, float y,
                       int layer, const std::string& text) {
        TextItem* item = renderer.AddText(font, layer, true, pointSize, colour);
        item->SetText(text);
        item->colour = colour;
        MarkForRebuild(item);
        item->position = { x, y };
        return item;
    };

    title = addText(boldFont, 64, white, 400, 50, 5, "SKARVOLD");

    overlay = renderer.AddSprite("Data/Gui/BlackOverlay", 5);
    overlay->position = { 400, 300 };
    overlay->visible = false;
    overlay->opacity = overlayOpacity;

    // Each row a little greyer than the one above it.
    for (size_t i = 0; i < rowScores.size(); ++i) {
        const int grey = 255 - rowGreyStep * static_cast<int>(i);
        rowScores[i] = addText(regularFont, 18, Rgb { grey, grey, grey }, rowScoreX,
            firstRowY + rowSpacing * static_cast<float>(i), 5, "");
        rowScores[i]->visible = false;
    }
    for (size_t i = 0; i < rowNames.size(); ++i) {
        const int grey = 255 - rowGreyStep * static_cast<int>(i);
        rowNames[i] = addText(boldFont, 18, Rgb { grey, grey, grey }, rowNameX,
            firstRowY + rowSpacing * static_cast<float>(i), 5, "");
        rowNames[i]->visible = false;
    }
    returnHint
        = addText(regularFont, 18, hintBlue, 400, 560, 5, "Press SPACEBAR to return to the menu.");
    returnHint->visible = false;

    authorCredit = addText(regularFont, 12, creditGrey, 400, 525, 4,
        "Game, art and sound effects created by Torwick Velden");
    authorAddress = addText(boldFont, 10, creditGrey, 400, 540, 4, "www.torwickvelden.example");
    musicCredit = addText(regularFont, 12, creditGrey, 400, 565, 4, "Music created by Aldo Pryne");
    composerAddress = addText(boldFont, 10, creditGrey, 400, 580, 4, "www.aldopryne-music.example");
    controlsHeading = addText(boldFont, 20, white, 400, 130, 4, "Controls:");
    hiscoreHeading = addText(boldFont, 28, white, 400, 150, 5, "Hiscore:");
    hiscoreHeading->visible = false;
    controlsMove = addText(regularFont, 12, white, 400, 160, 4, "Arrow Keys: Movement");
    controlsFire = addText(regularFont, 12, white, 400, 180, 4, "Left Control: Fire/Select Menu");
    controlsEscape = addText(regularFont, 12, white, 400, 200, 4, "Escape: Exit to menu");

    playItem = addText(boldFont, selectedSize, white, 400, 320, 4, "PLAY");
    playItem->opacity = selectedOpacity;
    hiscoreItem = addText(boldFont, unselectedSize, white, 400, 370, 4, "HISCORE");
    hiscoreItem->opacity = unselectedOpacity;
    quitItem = addText(boldFont, unselectedSize, white, 400, 430, 4, "QUIT");
    quitItem->opacity = unselectedOpacity;

    background = renderer.AddSprite(backgroundPath, 0);
    background->position = { 400, 300 };

    hiscoreRow = 0;
    selected = playItem;

    ISoundEngine* sound = game->GetSoundEngine();
    music = sound->PlayMusic(menuMusic);
    sound->SetMusicPaused(music, false);
    sound->SetMusicVolume(music, musicVolume);
}

MenuMode::~MenuMode()
{
    for (TextItem* item : { title, authorCredit, authorAddress, musicCredit, composerAddress,
             controlsHeading, controlsMove, controlsFire, controlsEscape, playItem, hiscoreItem,
             quitItem, hiscoreHeading, returnHint })
        item->dead = true;
    for (TextItem* item : rowNames)
        item->dead = true;
    for (TextItem* item : rowScores)
        item->dead = true;
    background->dead = true;
    overlay->dead = true;
    game->GetSoundEngine()->StopMusic(music);
}

bool MenuMode::Update()
{
    TextItem* const previous = selected;
    ISoundEngine* sound = game->GetSoundEngine();

    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        if (event.type == SDL_QUIT)
            return false;
        if (event.type != SDL_KEYDOWN)
            continue;
        const SDL_Scancode key = event.key.keysym.scancode;

        if (overlay->visible) {
            if (key != SDL_SCANCODE_SPACE)
                continue;
            for (size_t i = 0; i < rowNames.size(); ++i) {
                rowNames[i]->visible = false;
                rowScores[i]->visible = false;
            }
            sound->PlayEffect(selectSound);
            overlay->visible = false;
            hiscoreHeading->visible = false;
            returnHint->visible = false;
            continue;
        }

        if (key == SDL_SCANCODE_UP) {
            sound->PlayEffect(moveSound);
            if (selected == hiscoreItem)
                selected = playItem;
            else if (selected == quitItem)
                selected = hiscoreItem;
        } else if (key == SDL_SCANCODE_DOWN) {
            sound->PlayEffect(moveSound);
            if (selected == playItem)
                selected = hiscoreItem;
            else if (selected == hiscoreItem)
                selected = quitItem;
        } else if (key == SDL_SCANCODE_LCTRL) {
            sound->PlayEffect(selectSound);
            if (selected == playItem) {
                // Destroys this mode: nothing of it may be touched any more.
                game->StartGame();
                return true;
            }
            if (selected == quitItem)
                return false;
            // "HISCORE": the events behind it wait for the next frame. A move earlier in
            // this frame still gets its highlight, or the old item would stay lit.
            ShowHiscores();
            break;
        }
    }

    if (selected != previous) {
        Highlight(selected, true);
        Highlight(previous, false);
    }

    if (!overlay->visible)
        return true;

    const auto opacity = static_cast<uint32_t>(rowFade.Value());
    rowNames[hiscoreRow]->opacity = static_cast<int>(opacity);
    rowScores[hiscoreRow]->opacity = static_cast<int>(opacity);

    // The next row starts in the first frame the current one is fully shown; the rows stop
    // at the last entry of the table, and at the last row of the page.
    const size_t entries = game->hiscores.size();
    const size_t lastRow = std::min<size_t>(shownRows - 1, entries > 0 ? entries - 1 : 0);
    if (opacity == 255 && hiscoreRow < lastRow) {
        rowFade.Start(0.0f, 255.0f, rowFadeMs);
        ++hiscoreRow;
    }
    return true;
}

void MenuMode::ShowHiscores()
{
    hiscoreRow = 0;
    const size_t rows = std::min<size_t>(shownRows, game->hiscores.size());
    for (size_t i = 0; i < rows; ++i) {
        const HiscoreEntry& entry = game->hiscores[i];
        rowNames[i]->SetText(entry.name);
        rowScores[i]->SetText(std::to_string(entry.score));
        rowNames[i]->visible = true;
        rowNames[i]->opacity = 0;
        rowScores[i]->visible = true;
        rowScores[i]->opacity = 0;
        rowFade.Start(0.0f, 255.0f, rowFadeMs);
    }
    overlay->visible = true;
    hiscoreHeading->visible = true;
    returnHint->visible = true;
}
