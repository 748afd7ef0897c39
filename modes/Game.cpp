#include "modes/Game.h"

#include "base/AssetPaths.h"
#include "modes/GameMode.h"
#include "modes/MenuMode.h"
#include "modes/Mode.h"
#include "render/Preload.h"
#include "sound/ISoundEngine.h"
#include "sound/MixerSoundEngine.h"
#include "world/World.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>
#include <vector>

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
    // The menu's backdrop is the first picture: the window shows it while the other images
    // become textures and the sound starts.
    : GameBase(caption, ImagePaths(), MenuMode::backgroundPath)
    , soundEngine(std::move(engine))
{
    if (!Started())
        return;
    if (soundEngine == nullptr) {
        auto mixer = std::make_unique<MixerSoundEngine>();
        // The music and the effects are decoded while the menu makes its textures, so that
        // its music starts without a wait and no first shot waits for the disk.
        std::vector<std::string> sounds;
        for (const SoundAsset& sound : soundAssets)
            sounds.emplace_back(sound.path);
        mixer->DecodeAhead(sounds);
        soundEngine = std::move(mixer);
    }
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
    // Only the play screen has a score to hand on.
    const auto* play = dynamic_cast<const GameMode*>(mode.get());
    const uint32_t score = play != nullptr ? play->score : 0;
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
    const auto isNew = [](const HiscoreEntry& entry) { return entry.name == newEntryName; };
    const auto earlier = std::find_if(hiscores.begin(), hiscores.end(), isNew);
    if (earlier != hiscores.end() && earlier->score >= score)
        return false;

    // The new entry goes in front of the first other entry it equals or beats. The place is
    // found before the earlier entry is removed, so that a score that ranks nowhere leaves
    // the table exactly as it was.
    const auto place = std::find_if(hiscores.begin(), hiscores.end(),
        [&](const HiscoreEntry& entry) { return !isNew(entry) && entry.score <= score; });
    if (place == hiscores.end())
        return false;

    auto index = place - hiscores.begin();
    if (earlier != hiscores.end()) {
        if (earlier < place)
            --index;
        hiscores.erase(earlier);
    }
    hiscores.insert(hiscores.begin() + index, HiscoreEntry { newEntryName, score });
    return true;
}
