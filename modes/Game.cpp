#include "modes/Game.h"

#include "modes/GameMode.h"
#include "modes/MenuMode.h"
#include "modes/Mode.h"
#include "sound/ISoundEngine.h"
#include "sound/MixerSoundEngine.h"
#include "world/World.h"

#include <array>

namespace {
constexpr float masterVolume = 0.5f;
constexpr const char* newEntryName = "YOU";

const std::array<HiscoreEntry, 7> defaultHiscores = { {
    { "Zyla", 93 },
    { "Brommet", 77 },
    { "Torwick", 56 },
    { "Quenna", 45 },
    { "Haldo", 37 },
    { "Ferilda", 25 },
    { "Ostrum", 11 },
} };
} // namespace

Game::Game(const std::string& caption, std::unique_ptr<ISoundEngine> engine)
    : GameBase(caption)
    , soundEngine(std::move(engine))
{
    if (!Started())
        return;
    if (soundEngine == nullptr)
        soundEngine = std::make_unique<MixerSoundEngine>();
    soundEngine->SetMasterVolume(masterVolume);
    mode = std::make_unique<MenuMode>(this);
    hiscores.assign(defaultHiscores.begin(), defaultHiscores.end());
}

Game::~Game()
{
    mode.reset();
    soundEngine.reset();
    hiscores.clear();
}

bool Game::frame()
{
    if (!mode->Update())
        return false;
    return GameBase::frame();
}

void Game::StartGame()
{
    // The old screen goes first: its music stops and its items are withdrawn before the
    // new screen adds its own.
    mode.reset();
    mode = std::make_unique<GameMode>(this);
}

void Game::ReturnToMenu()
{
    const uint32_t score = static_cast<GameMode&>(*mode).score;
    mode.reset();
    world->Clear();
    auto menu = std::make_unique<MenuMode>(this);
    MenuMode& newMenu = *menu;
    mode = std::move(menu);
    if (AddHiscore(score))
        newMenu.ShowHiscores();
}

bool Game::AddHiscore(uint32_t score)
{
    for (auto entry = hiscores.begin(); entry != hiscores.end(); ++entry) {
        if (entry->name != newEntryName)
            continue;
        if (entry->score >= score)
            return false;
        hiscores.erase(entry);
        break;
    }
    for (auto entry = hiscores.begin(); entry != hiscores.end(); ++entry) {
        if (entry->score <= score) {
            hiscores.insert(entry, HiscoreEntry { newEntryName, score });
            return true;
        }
    }
    return false;
}
