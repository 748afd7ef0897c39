#include "autoplay/InvariantChecker.h"

#include "base/Clock.h"
#include "base/Timer.h"
#include "modes/EnemySpawn.h"
#include "modes/Game.h"
#include "modes/GameMode.h"
#include "modes/MenuMode.h"
#include "render/Renderer.h"
#include "render/Sprite.h"
#include "render/TextItem.h"
#include "world/Debris.h"
#include "world/Enemy.h"
#include "world/EnemyBig.h"
#include "world/Explosion.h"
#include "world/FlyingText.h"
#include "world/Player.h"
#include "world/Projectile.h"
#include "world/ShieldPickup.h"
#include "world/World.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <sstream>
#include <typeinfo>
#include <unordered_set>

namespace {
constexpr const char* newEntryName = "YOU";

// The most pieces one wreck of any kind of enemy throws: every image's least count, plus the
// most its draw can add.
size_t MostDebrisOfAWreck()
{
    size_t most = 0;
    for (const EnemySpawn& row : EnemySpawn::Table()) {
        size_t pieces = 0;
        for (const DebrisDraw& draw : row.kind->debris)
            pieces += draw.least + (draw.spread > 0 ? draw.spread - 1 : 0);
        most = std::max(most, pieces);
    }
    return most;
}

// The most enemy shots one gun of any kind can have alive at once: a volley at every
// shortest interval of its fire rule over a shot's lifetime, and one more volley.
size_t MostShotsOfAGun()
{
    size_t most = 0;
    for (const EnemySpawn& row : EnemySpawn::Table()) {
        const EnemyKind& kind = *row.kind;
        if (kind.fire.redraw == FireRule::Redraw::Never || kind.volley.shots == 0)
            continue;
        const uint32_t shortest = std::max<uint32_t>(kind.fire.least, 1);
        most = std::max<size_t>(most, kind.volley.shots * (Projectile::lifetimeMs / shortest + 1));
    }
    return most;
}

std::string Describe(const Vec2& v)
{
    std::ostringstream text;
    text << "(" << v.x << ", " << v.y << ")";
    return text.str();
}

bool Finite(const Vec2& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y);
}

// The image path a sprite shows, for messages.
std::string PathOf(const Renderer& renderer, const Sprite* sprite)
{
    for (const auto& [path, animation] : renderer.animations) {
        if (animation == sprite->animation)
            return path;
    }
    return "no image";
}

// The draw items and timers that the current screen and the objects in the world own.
struct Owned {
    std::unordered_set<const void*> items;
    std::unordered_set<const Timer*> timers;
    std::string unknown; // an object whose belongings this checker does not know

    void Item(const void* item)
    {
        if (item != nullptr)
            items.insert(item);
    }
    void TimerOf(const Timer* timer)
    {
        if (timer != nullptr)
            timers.insert(timer);
    }
};

void CollectScreen(const Mode* mode, Owned& owned)
{
    if (const auto* play = dynamic_cast<const GameMode*>(mode)) {
        for (const void* item : std::initializer_list<const void*> { play->banner,
                 play->shieldsLabel, play->scoreText, play->background, play->gameOverBackground,
                 play->pauseOverlay, play->leavePrompt, play->leaveHint })
            owned.Item(item);
        for (const Sprite* icon : play->shieldIcons)
            owned.Item(icon);
        for (const Timer* timer : { play->spawnTimer, play->startTimer, play->blinkTimer,
                 play->gameOverTimer, play->pickupTimer })
            owned.TimerOf(timer);
    } else if (const auto* menu = dynamic_cast<const MenuMode*>(mode)) {
        for (const void* item : std::initializer_list<const void*> { menu->background, menu->title,
                 menu->authorCredit, menu->authorAddress, menu->musicCredit, menu->composerAddress,
                 menu->controlsHeading, menu->controlsMove, menu->controlsFire,
                 menu->controlsEscape, menu->playItem, menu->hiscoreItem, menu->quitItem,
                 menu->overlay, menu->hiscoreHeading, menu->returnHint })
            owned.Item(item);
        for (size_t row = 0; row < menu->rowNames.size(); ++row) {
            owned.Item(menu->rowNames[row]);
            owned.Item(menu->rowScores[row]);
        }
    }
}

void CollectObject(const Object* object, Owned& owned)
{
    if (const auto* ship = dynamic_cast<const Ship*>(object)) {
        owned.Item(ship->sprite);
        if (const auto* player = dynamic_cast<const Player*>(object))
            owned.Item(player->shieldSprite);
        if (const auto* big = dynamic_cast<const EnemyBig*>(object))
            owned.TimerOf(big->rushTimer);
    } else if (const auto* shot = dynamic_cast<const Projectile*>(object)) {
        owned.Item(shot->sprite);
        owned.TimerOf(shot->lifetimeTimer);
    } else if (const auto* pickup = dynamic_cast<const ShieldPickup*>(object)) {
        owned.Item(pickup->sprite);
        owned.TimerOf(pickup->lifetimeTimer);
    } else if (const auto* explosion = dynamic_cast<const Explosion*>(object)) {
        owned.Item(explosion->sprite);
    } else if (const auto* debris = dynamic_cast<const Debris*>(object)) {
        owned.Item(debris->sprite);
        owned.TimerOf(debris->fadeTimer);
    } else if (const auto* text = dynamic_cast<const FlyingText*>(object)) {
        owned.Item(text->label);
        owned.TimerOf(text->holdTimer);
    } else if (owned.unknown.empty()) {
        owned.unknown = typeid(*object).name();
    }
}

// Whether a shield icon shows its shield: grown in, or growing.
bool IconShown(const Sprite* icon)
{
    const size_t frames = icon->animation != nullptr ? icon->animation->frames.size() : 0;
    const uint32_t last = frames > 0 ? static_cast<uint32_t>(frames - 1) : 0;
    return !icon->reverse && (icon->playing || icon->frameIndex == last);
}

// Whether a shield icon shows no shield: shrinking, shrunk, or never grown.
bool IconEmpty(const Sprite* icon)
{
    return icon->reverse || (!icon->playing && icon->frameIndex == 0);
}
} // namespace

std::string InvariantChecker::Check(const Game& game)
{
    std::string broken = CheckHiscores(game);
    if (broken.empty())
        broken = CheckPositions(game);
    if (broken.empty())
        broken = CheckPlayScreen(game);
    if (broken.empty())
        broken = CheckOwnership(game);
    if (broken.empty())
        broken = CheckMenu(game);
    if (broken.empty())
        broken = CheckPopulation(game);
    if (broken.empty())
        broken = CheckTextInWindow(game);
    lastFrameInMenu = dynamic_cast<const MenuMode*>(game.mode.get()) != nullptr;
    return broken;
}

std::string InvariantChecker::CheckHiscores(const Game& game)
{
    const std::vector<HiscoreEntry>& table = game.hiscores;
    std::vector<HiscoreEntry> others;
    int newEntries = 0;
    for (const HiscoreEntry& entry : table) {
        if (entry.name == newEntryName)
            ++newEntries;
        else
            others.push_back(entry);
    }
    if (!tableKnown) {
        firstTable = others;
        tableKnown = true;
    }
    if (table.size() < 7 || table.size() > 8)
        return "the hiscore table holds " + std::to_string(table.size()) + " entries";
    if (newEntries > 1)
        return "the hiscore table holds " + std::to_string(newEntries) + " entries named YOU";
    for (size_t i = 1; i < table.size(); ++i) {
        if (table[i - 1].score < table[i].score)
            return "the hiscore table is out of order at place " + std::to_string(i + 1);
    }
    const bool sameDefaults = std::equal(others.begin(), others.end(), firstTable.begin(),
        firstTable.end(), [](const HiscoreEntry& a, const HiscoreEntry& b) {
            return a.name == b.name && a.score == b.score;
        });
    if (!sameDefaults)
        return "an entry of the hiscore table that the game began with changed or went";
    return "";
}

std::string InvariantChecker::CheckPositions(const Game& game)
{
    for (const Object* object : game.world->objects) {
        if (!Finite(object->position))
            return std::string("an object of kind ") + typeid(*object).name() + " stands at "
                + Describe(object->position);
    }
    const Renderer& renderer = *game.renderer;
    for (int layer = 0; layer < Renderer::layerCount; ++layer) {
        for (const Sprite* sprite : renderer.spriteLayers[layer]) {
            if (!Finite(sprite->position) || !std::isfinite(sprite->angle))
                return "the sprite of " + PathOf(renderer, sprite) + " on layer "
                    + std::to_string(layer) + " stands at " + Describe(sprite->position)
                    + " turned " + std::to_string(sprite->angle);
        }
        for (const TextItem* item : renderer.textLayers[layer]) {
            if (!Finite(item->position))
                return "the text \"" + item->text + "\" stands at " + Describe(item->position);
        }
    }
    return "";
}

std::string InvariantChecker::CheckOwnership(const Game& game)
{
    Owned owned;
    CollectScreen(game.mode.get(), owned);
    for (const Object* object : game.world->objects)
        CollectObject(object, owned);
    if (!owned.unknown.empty())
        return "an object of unknown kind " + owned.unknown + " is in the world";

    const Renderer& renderer = *game.renderer;
    std::unordered_set<const void*> drawn;
    for (int layer = 0; layer < Renderer::layerCount; ++layer) {
        const std::string where = " on layer " + std::to_string(layer);
        for (const Sprite* sprite : renderer.spriteLayers[layer]) {
            const std::string what = "a sprite of " + PathOf(renderer, sprite) + where;
            if (sprite->dead)
                return what + " is dead after the frame was drawn";
            if (!owned.items.contains(sprite))
                return what + " belongs to no screen or object";
            drawn.insert(sprite);
        }
        for (const TextItem* item : renderer.textLayers[layer]) {
            const std::string what = "the text \"" + item->text + "\"" + where;
            if (item->dead)
                return what + " is dead after the frame was drawn";
            if (!owned.items.contains(item))
                return what + " belongs to no screen or object";
            drawn.insert(item);
        }
    }
    for (const void* item : owned.items) {
        if (!drawn.contains(item))
            return "a draw item of the screen or an object is on no layer";
    }

    std::unordered_set<const Timer*> listed;
    for (const Timer* timer : timers) {
        listed.insert(timer);
        if (!timer->dead && !owned.timers.contains(timer))
            return "a live timer belongs to no screen or object";
    }
    for (const Timer* timer : owned.timers) {
        if (!listed.contains(timer) || timer->dead)
            return "a timer of the screen or an object is dead or gone from the list";
    }
    return "";
}

std::string InvariantChecker::CheckPlayScreen(const Game& game)
{
    const auto* play = dynamic_cast<const GameMode*>(game.mode.get());
    if (play == nullptr)
        return "";
    const std::string expected = "Score: " + std::to_string(play->score);
    if (play->scoreText->text != expected)
        return "the score text reads \"" + play->scoreText->text + "\" with the score at "
            + std::to_string(play->score);

    const std::vector<Object*>& objects = game.world->objects;
    const auto players = std::count_if(objects.begin(), objects.end(),
        [](const Object* object) { return dynamic_cast<const Player*>(object) != nullptr; });
    if (players > 1)
        return std::to_string(players) + " players are in the world";
    const Player* player = play->player;
    if (player == nullptr)
        return "";
    if (std::find(objects.begin(), objects.end(), player) == objects.end())
        return "the play screen's player is not in the world";

    if (player->shields > Player::maxShields)
        return "the player holds " + std::to_string(player->shields) + " shields";
    for (uint32_t icon = 0; icon < play->shieldIcons.size(); ++icon) {
        const Sprite* sprite = play->shieldIcons[icon];
        const bool held = icon < player->shields;
        if (held ? !IconShown(sprite) : !IconEmpty(sprite))
            return "shield icon " + std::to_string(icon + 1) + (held ? " does not show" : " shows")
                + " a shield with " + std::to_string(player->shields) + " held";
    }
    const Tween& label = play->shieldsLabelFade;
    const bool labelShown = label.active && label.to == 255.0f;
    if (labelShown != (player->shields > 0))
        return std::string("the shields label is ") + (labelShown ? "shown" : "hidden") + " with "
            + std::to_string(player->shields) + " shields";
    return "";
}

std::string InvariantChecker::CheckMenu(const Game& game) const
{
    const auto* menu = dynamic_cast<const MenuMode*>(game.mode.get());
    if (menu == nullptr)
        return "";
    if (!game.world->objects.empty())
        return std::to_string(game.world->objects.size()) + " objects are left in the menu's world";
    if (gamePaused)
        return "the clock is paused in the menu";
    // A screen ended by a timer leaves its timers dead in the list until the next tick.
    if (lastFrameInMenu && !timers.empty())
        return std::to_string(timers.size()) + " timers are left in the menu";
    const bool page = menu->overlay->visible;
    if (menu->hiscoreHeading->visible != page || menu->returnHint->visible != page)
        return "the hiscore page is half shown";
    return "";
}

size_t InvariantChecker::Recent(const std::deque<Moment>& moments, uint32_t lifetimeMs) const
{
    // An object outlives its last moment by up to a frame: it is deleted by the next step.
    const uint32_t window = lifetimeMs + 2 * longestFrame + 64;
    return static_cast<size_t>(std::count_if(moments.begin(), moments.end(),
        [&](const Moment& m) { return gameTime - m.time <= window; }));
}

std::string InvariantChecker::CheckPopulation(const Game& game)
{
    const auto* current = dynamic_cast<const GameMode*>(game.mode.get());
    if (current != play) {
        play = current;
        longestFrame = 0;
        liveEnemies.clear();
        destroyedEnemies.clear();
        pickups.clear();
        enemyDeaths.clear();
        pickupEnds.clear();
        lastScore = 0;
        lastShields = 0;
        dropTimers = {};
        lastTime = gameTime;
        lastAccumulator = game.accumulator;
    }
    ++frame;
    const uint32_t elapsed = gameTime - lastTime;
    const bool stepped = lastAccumulator + elapsed >= 32;
    longestFrame = std::max(longestFrame, elapsed);
    lastTime = gameTime;
    lastAccumulator = game.accumulator;
    if (play == nullptr)
        return "";

    // What this frame breaks is kept until the watch over the enemies and pickups is brought up
    // to date, so that the frames after a finding are judged against this one.
    std::string found;
    if (play->spawnInterval < 1000)
        found = "the spawn gap is " + std::to_string(play->spawnInterval) + " ms";
    else if (play->spawnTimer->active && play->spawnTimer->interval < 1000)
        found = "the next enemy comes " + std::to_string(play->spawnTimer->interval)
            + " ms after the last";
    std::unordered_set<const void*> live;
    std::unordered_set<const void*> destroyed;
    std::unordered_set<const void*> pickupsNow;
    size_t newEnemies = 0, playerShots = 0, enemyShots = 0, debris = 0, explosions = 0, labels = 0;
    for (const Object* object : game.world->objects) {
        if (const auto* enemy = dynamic_cast<const Enemy*>(object)) {
            if (enemy->dead) {
                destroyed.insert(enemy);
                if (stepped && destroyedEnemies.contains(enemy) && found.empty())
                    found = "a destroyed enemy is still in the world a step later";
                continue;
            }
            if (destroyedEnemies.contains(enemy) && found.empty())
                found = "a destroyed enemy lives again";
            live.insert(enemy);
            if (!liveEnemies.contains(enemy)) {
                ++newEnemies;
                if ((enemy->gameMode != play || enemy->spawnTime != gameTime) && found.empty())
                    found = "an enemy that the spawner did not send in this frame is in the world";
            }
        } else if (dynamic_cast<const ShieldPickup*>(object) != nullptr) {
            if (!object->dead)
                pickupsNow.insert(object);
        } else if (object->dead) {
            continue;
        } else if (dynamic_cast<const Projectile*>(object) != nullptr) {
            ++((object->collisionMask & TypeEnemy) != 0 ? playerShots : enemyShots);
        } else if (dynamic_cast<const Debris*>(object) != nullptr) {
            ++debris;
        } else if (dynamic_cast<const Explosion*>(object) != nullptr) {
            ++explosions;
        } else if (dynamic_cast<const FlyingText*>(object) != nullptr) {
            ++labels;
        }
    }
    // Every destruction scores at least a point, so the points of this frame bound the wrecks
    // it made, even of enemies that came and went within it.
    for (uint32_t point = lastScore; point < play->score; ++point)
        enemyDeaths.push_back({ gameTime, frame });
    lastScore = play->score;
    // A pickup collected makes a label; one may come and be taken within a long frame, which
    // shows only as a shield more.
    uint32_t gone = 0;
    for (const void* pickup : pickups) {
        if (!pickupsNow.contains(pickup))
            ++gone;
    }
    const uint32_t shields = play->player != nullptr ? play->player->shields : 0;
    gone = std::max(gone, shields > lastShields ? shields - lastShields : 0u);
    lastShields = shields;
    // The timers that drop pickups, when they fired this frame: their pickup may be gone
    // already.
    for (const auto& [armed, fireTime] : dropTimers) {
        if (armed && fireTime <= gameTime)
            ++gone;
    }
    dropTimers = { std::pair { play->pickupTimer->active, play->pickupTimer->fireTime },
        std::pair { play->startTimer->active, play->startTimer->fireTime } };
    for (uint32_t end = 0; end < gone; ++end)
        pickupEnds.push_back({ gameTime, frame });
    liveEnemies = std::move(live);
    destroyedEnemies = std::move(destroyed);
    pickups = std::move(pickupsNow);
    if (!found.empty())
        return found;
    // The spawn timer fires at most once a frame, and the end of "GET READY!" sends one more.
    if (newEnemies > 2)
        return std::to_string(newEnemies) + " enemies arrived in one frame";

    // What each maker can have alive at once: a gun fires at most a volley every shortest
    // interval of its kind and a shot lives 5 s; a wreck throws at most what its kind's debris
    // draws allow, pieces that live at most 7 s; a label lives about 4.5 s; a pickup 15 s and
    // one comes at most every 2 s; an explosion plays its frames once, at most one frame a
    // drawing. The kinds' figures come from the spawner's table, once.
    static const size_t shotsOfAGun = MostShotsOfAGun();
    static const size_t piecesOfAWreck = MostDebrisOfAWreck();
    const auto check = [](size_t count, size_t bound, const char* what) -> std::string {
        if (count <= bound)
            return "";
        return std::to_string(count) + " " + what + " live, more than the " + std::to_string(bound)
            + " their makers can have made";
    };
    const size_t gunsLately = liveEnemies.size() + Recent(enemyDeaths, Projectile::lifetimeMs);
    const size_t wrecksLately = Recent(enemyDeaths, 7000);
    size_t explosionsLately = 0;
    for (const Moment& m : enemyDeaths) {
        if (frame - m.frame <= 64 || gameTime - m.time <= 5000 + 2 * longestFrame)
            ++explosionsLately;
    }
    const size_t playerLost = play->player == nullptr ? 1 : 0;
    std::string broken
        = check(playerShots, Projectile::lifetimeMs / Player::fireIntervalMs + 2, "player shots");
    if (broken.empty())
        broken = check(enemyShots, gunsLately * shotsOfAGun, "enemy shots");
    if (broken.empty())
        broken = check(debris, wrecksLately * piecesOfAWreck + playerLost * 58, "pieces of debris");
    if (broken.empty())
        broken = check(explosions, explosionsLately + playerLost, "explosions");
    if (broken.empty())
        broken = check(labels, Recent(enemyDeaths, 6000) + Recent(pickupEnds, 6000), "labels");
    if (broken.empty())
        broken = check(pickups.size(), 15000 / 2000 + 2, "shield pickups");
    return broken;
}

std::string InvariantChecker::CheckTextInWindow(const Game& game)
{
    // Where a text's picture lands, when it has one; the picture may lag its text by a rebuild.
    SDL_Renderer* sdlRenderer = game.renderer->sdlRenderer;
    const auto outside = [sdlRenderer](const TextItem* item) -> bool {
        if (item == nullptr || item->texture == nullptr || !item->visible || item->opacity == 0)
            return false;
        const SDL_Rect at = item->Placement(sdlRenderer, Vec2 {});
        return at.x < 0 || at.y < 0 || at.x + at.w > 800 || at.y + at.h > 600;
    };
    if (const auto* current = dynamic_cast<const GameMode*>(game.mode.get())) {
        if (outside(current->scoreText))
            return "the score text \"" + current->scoreText->text + "\" leaves the window";
        for (const Object* object : game.world->objects) {
            const auto* text = dynamic_cast<const FlyingText*>(object);
            if (text != nullptr && !text->dead && outside(text->label))
                return "the flying label \"" + text->label->text + "\" leaves the window at "
                    + Describe(text->label->position);
        }
    } else if (const auto* menu = dynamic_cast<const MenuMode*>(game.mode.get())) {
        for (size_t row = 0; row < menu->rowNames.size(); ++row) {
            const TextItem* name = menu->rowNames[row];
            if (name == nullptr || name->text != newEntryName)
                continue;
            if (outside(name) || outside(menu->rowScores[row]))
                return "the hiscore row of " + std::string(newEntryName) + " with "
                    + menu->rowScores[row]->text + " leaves the window";
        }
    }
    return "";
}
