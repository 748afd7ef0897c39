#include "modes/GameMode.h"

#include "base/Clock.h"
#include "base/Random.h"
#include "base/Timer.h"
#include "base/Window.h"
#include "modes/EnemySpawn.h"
#include "modes/Game.h"
#include "render/Renderer.h"
#include "render/Sprite.h"
#include "render/TextItem.h"
#include "sound/ISoundEngine.h"
#include "world/Enemy.h"
#include "world/Player.h"
#include "world/ShieldPickup.h"
#include "world/World.h"

#include <SDL.h>

#include <string>

namespace {
constexpr const char* boldFont = "Data/Fonts/OpenSans-Bold.ttf";
constexpr const char* regularFont = "Data/Fonts/OpenSans-Regular.ttf";
constexpr const char* musicPath = "Data/Music/Game.wav";

constexpr Vec2 screenCentre { windowWidth / 2.0f, windowHeight / 2.0f };
constexpr Rgb white { 255, 255, 255 };
constexpr Rgb getReadyColour { 64, 128, 255 };
constexpr Rgb alarmColour { 255, 64, 32 };
constexpr Rgb hintColour { 196, 96, 64 };
constexpr Rgb shieldColour { 32, 196, 255 };

constexpr uint32_t getReadyMs = 3000;
constexpr uint32_t blinkMs = 500;
constexpr uint32_t spawnIntervalStepMs = 100;
constexpr uint32_t gameOverDelayMs = 2000;
constexpr uint32_t backToMenuMs = 5000;
constexpr uint32_t shieldsLabelFadeMs = 500;
constexpr uint32_t bannerFadeMs = 500;
constexpr uint32_t gameOverFadeMs = 3000;

// The play music fades from full volume to a murmur as the game-over background comes up.
constexpr float musicVolume = 0.65f;
constexpr float musicFadeDepth = 0.6f;

constexpr int pauseOverlayOpacity = 196;

// Gives a text item its own colour and has it rebuilt at its next drawing.
void Recolour(TextItem* item, const Rgb& colour)
{
    item->colour = colour;
    item->dirty = true;
    item->lastRebuildTime = 0;
}

TextItem* AddCentredText(Renderer& renderer, const char* font, int layer, int pointSize,
    const Rgb& colour, const Vec2& position, const std::string& text)
{
    TextItem* item = renderer.AddText(font, layer, true, pointSize, white);
    Recolour(item, colour);
    item->position = position;
    item->SetText(text);
    return item;
}

uint32_t Opacity(const Tween& fade)
{
    return static_cast<uint32_t>(fade.Value());
}

// -1, 0 or +1 from a pair of opposite keys; both held cancel out.
float Axis(bool negative, bool positive)
{
    if (negative && !positive)
        return -1.0f;
    if (positive && !negative)
        return 1.0f;
    return 0.0f;
}
} // namespace

GameMode::GameMode(Game* owner)
    : Mode(owner)
{
    spawnInterval = firstSpawnIntervalMs;
    score = 0;

    // When both are due in one frame, startTimer usually fires first and stops the blinking
    // before a sixth toggle; EndGetReady hides the banner itself for the other order.
    spawnTimer = CreateTimer();
    startTimer = CreateTimer();
    blinkTimer = CreateTimer();
    gameOverTimer = CreateTimer();
    pickupTimer = CreateTimer();

    World* world = game->world;
    Renderer& renderer = *game->renderer;

    player = world->Create<Player>(world);
    player->SetGameMode(this);

    banner = AddCentredText(renderer, boldFont, 4, 48, getReadyColour, screenCentre, "GET READY!");
    banner->visible = true;

    startTimer->Start([this] { EndGetReady(); }, getReadyMs, false);
    blinkTimer->Start([this] { ToggleBanner(); }, blinkMs, true);

    background = renderer.AddSprite("Data/Gui/GameBackground", 0);
    background->position = screenCentre;
    background->visible = true;
    background->playing = false;

    gameOverBackground = renderer.AddSprite("Data/Gui/GameOverBackground", 1);
    gameOverBackground->position = screenCentre;
    gameOverBackground->visible = false;

    pauseOverlay = renderer.AddSprite("Data/Gui/BlackOverlay", 5);
    pauseOverlay->position = screenCentre;
    pauseOverlay->visible = false;
    pauseOverlay->opacity = pauseOverlayOpacity;

    leavePrompt = AddCentredText(
        renderer, boldFont, 5, 24, alarmColour, screenCentre, "Are you sure you want to leave?");
    leavePrompt->visible = false;

    leaveHint = AddCentredText(renderer, regularFont, 5, 18, hintColour, Vec2 { 400.0f, 330.0f },
        "Press SPACEBAR to leave or ESCAPE to keep playing");
    leaveHint->visible = false;

    scoreText = renderer.AddText(boldFont, 4, false, 18, white);
    scoreText->position = Vec2 { 15.0f, 10.0f };
    scoreText->SetText("Score: 0");

    shieldsLabel = renderer.AddText(boldFont, 4, false, 18, white);
    Recolour(shieldsLabel, shieldColour);
    shieldsLabel->position = Vec2 { 600.0f, 10.0f };
    shieldsLabel->SetText("Shields: ");
    shieldsLabel->opacity = static_cast<int>(Opacity(shieldsLabelFade));

    const float iconX[] = { 700.0f, 734.0f, 768.0f };
    for (size_t icon = 0; icon < shieldIcons.size(); ++icon) {
        Sprite* sprite = renderer.AddSprite("Data/Gui/ShieldIcon", 4);
        sprite->position = Vec2 { iconX[icon], 24.0f };
        sprite->visible = true;
        sprite->playing = false;
        sprite->frameIndex = 0;
        shieldIcons[icon] = sprite;
    }

    // Both stay inactive until the game-over screen, answering their start values.
    gameOverFade.from = 0.0f;
    gameOverFade.to = 255.0f;
    gameOverFade.active = false;
    bannerFade.from = 255.0f;
    bannerFade.to = 0.0f;
    bannerFade.active = false;

    ISoundEngine* sound = game->GetSoundEngine();
    music = sound->PlayMusic(musicPath);
    sound->SetMusicPaused(music, false);
    sound->SetMusicVolume(music, musicVolume);
}

GameMode::~GameMode()
{
    for (Timer* timer : { spawnTimer, startTimer, blinkTimer, gameOverTimer, pickupTimer })
        timer->dead = true;

    if (player != nullptr)
        player->dead = true;

    for (TextItem* item : { banner, leavePrompt, leaveHint, scoreText, shieldsLabel })
        item->dead = true;
    for (Sprite* sprite : { background, gameOverBackground, pauseOverlay })
        sprite->dead = true;
    for (Sprite* icon : shieldIcons)
        icon->dead = true;

    game->GetSoundEngine()->StopMusic(music);
    music = nullptr;

    // The pause belongs to play. Escape in the very frame whose timers end the game would
    // otherwise leave the clock stopped, and the menu frozen, after the return.
    gamePaused = false;
}

bool GameMode::Update()
{
    ISoundEngine* sound = game->GetSoundEngine();

    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        if (event.type == SDL_QUIT)
            return false;
        if (event.type != SDL_KEYDOWN && event.type != SDL_KEYUP)
            continue;

        // Key repeats count as presses too: a held Escape keeps toggling the pause.
        const bool down = event.type == SDL_KEYDOWN;
        switch (event.key.keysym.scancode) {
        case SDL_SCANCODE_LEFT:
            leftHeld = down;
            break;
        case SDL_SCANCODE_RIGHT:
            rightHeld = down;
            break;
        case SDL_SCANCODE_UP:
            upHeld = down;
            break;
        case SDL_SCANCODE_DOWN:
            downHeld = down;
            break;
        case SDL_SCANCODE_LCTRL:
            fireHeld = down;
            break;
        case SDL_SCANCODE_ESCAPE:
            if (down) {
                sound->PlayEffect("Data/Gui/MenuMove.wav");
                gamePaused = !gamePaused;
                pauseOverlay->visible = gamePaused;
                leavePrompt->visible = gamePaused;
                leaveHint->visible = gamePaused;
            }
            break;
        case SDL_SCANCODE_SPACE:
            if (down && gamePaused) {
                sound->PlayEffect("Data/Gui/MenuSelect.wav");
                gamePaused = false;
                // Destroys this mode: nothing of it may be touched afterwards.
                game->ReturnToMenu();
                return true;
            }
            break;
        default:
            break;
        }
    }

    if (!gamePaused && player != nullptr) {
        player->direction = Vec2 { Axis(leftHeld, rightHeld), Axis(upHeld, downHeld) };
        if (fireHeld)
            player->Fire();
    }

    // Paused or not: the fades stand still with gameTime, the music plays on.
    banner->opacity = static_cast<int>(Opacity(bannerFade));
    gameOverBackground->opacity = static_cast<int>(Opacity(gameOverFade));
    shieldsLabel->opacity = static_cast<int>(Opacity(shieldsLabelFade));
    sound->SetMusicVolume(music, musicVolume - gameOverFade.Value() / 255.0f * musicFadeDepth);
    return true;
}

void GameMode::AddScore(uint32_t points)
{
    score += points;
    scoreText->SetText("Score: " + std::to_string(score));
}

void GameMode::OnShieldGained(uint32_t count)
{
    if (count < 1 || count > shieldIcons.size())
        return;
    if (count == 1)
        shieldsLabelFade.Start(0.0f, 255.0f, shieldsLabelFadeMs);
    // Icon n grows in with the n-th shield, from wherever its animation stands.
    Sprite* icon = shieldIcons[count - 1];
    icon->reverse = false;
    icon->playing = true;
}

void GameMode::OnShieldLost(uint32_t count)
{
    if (count >= shieldIcons.size())
        return;
    if (count == 0)
        shieldsLabelFade.Start(255.0f, 0.0f, shieldsLabelFadeMs);
    // The icon of the shield just lost, n = count + 1, shrinks away.
    Sprite* icon = shieldIcons[count];
    icon->reverse = true;
    icon->playing = true;
}

void GameMode::OnPlayerDestroyed()
{
    player = nullptr;
    gameOverTimer->Start([this] { ShowGameOver(); }, gameOverDelayMs, false);
}

void GameMode::EndGetReady()
{
    blinkTimer->active = false;
    // The blinking leaves the banner hidden only if it toggled an odd number of times before
    // this: a list in which the blink timer came to stand first (after the removal of a
    // previous game's timers), or frames too long for every toggle, would leave it showing.
    banner->visible = false;
    SpawnEnemy();
    SpawnPickup();
}

void GameMode::ToggleBanner()
{
    banner->visible = !banner->visible;
}

void GameMode::SpawnEnemy()
{
    World* world = game->world;
    const EnemySpawn& kind = EnemySpawn::Draw();
    Enemy* enemy = kind.make(*world);
    // The pickup comes sooner after smaller enemies.
    const auto delay
        = static_cast<uint32_t>(static_cast<float>(rng::rand() % 8001 + 4000) * kind.pickupScale);
    // A pickup already on its way is not postponed.
    if (!pickupTimer->active)
        pickupTimer->Start([this] { SpawnPickup(); }, delay, false);

    enemy->SetGameMode(this);

    spawnTimer->Start([this] { SpawnEnemy(); }, spawnInterval, false);
    if (spawnInterval > shortestSpawnIntervalMs)
        spawnInterval -= spawnIntervalStepMs;
}

void GameMode::SpawnPickup()
{
    World* world = game->world;
    auto* pickup = world->Create<ShieldPickup>(world);
    // y is drawn before x.
    const auto y = static_cast<float>(rng::rand() % 101 + 372);
    const auto x = static_cast<float>(rng::rand() % 545 + 128);
    pickup->SetPosition(Vec2 { x, y });
}

void GameMode::ShowGameOver()
{
    gameOverBackground->visible = true;
    scoreText->visible = false;
    background->playing = true;

    banner->pointSize = 96;
    Recolour(banner, alarmColour);
    banner->SetText("GAME OVER!");
    banner->visible = true;

    bannerFade.Start(0.0f, 255.0f, bannerFadeMs);
    gameOverFade.Start(0.0f, 255.0f, gameOverFadeMs);
    // This frame's Update has already set the banner to the full strength it had for
    // "GET READY!": the frame about to be drawn must already be the fade's first.
    banner->opacity = static_cast<int>(Opacity(bannerFade));

    // Bound to the Game, not to this mode, which the call destroys.
    Game* owner = game;
    gameOverTimer->Start([owner] { owner->ReturnToMenu(); }, backToMenuMs, false);
}
