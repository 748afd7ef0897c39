#include "autoplay/SkillReport.h"

#include "modes/Game.h"
#include "modes/GameMode.h"
#include "world/Enemy.h"
#include "world/Projectile.h"
#include "world/World.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace {
__attribute__((format(printf, 1, 2))) std::string Format(const char* format, ...)
{
    char text[160];
    va_list values;
    va_start(values, format);
    std::vsnprintf(text, sizeof text, format, values);
    va_end(values);
    return text;
}

std::string Describe(const SkillReport::Scene& scene)
{
    return std::to_string(scene.enemies) + " enemies, " + std::to_string(scene.enemyShots)
        + " enemy shots, " + std::to_string(scene.objects) + " objects";
}

} // namespace

SkillReport::Scene SkillReport::SceneOf(const ::Game& game)
{
    Scene scene;
    for (const Object* object : game.world->objects) {
        if (object->dead)
            continue;
        ++scene.objects;
        if (dynamic_cast<const Enemy*>(object) != nullptr)
            ++scene.enemies;
        else if (dynamic_cast<const Projectile*>(object) != nullptr
            && (object->collisionMask & TypePlayer) != 0)
            ++scene.enemyShots;
    }
    return scene;
}

double SkillReport::Percentile(std::vector<double> values, double share)
{
    if (values.empty())
        return 0.0;
    const auto rank = static_cast<size_t>(
        std::ceil(std::clamp(share, 0.0, 1.0) * static_cast<double>(values.size())));
    const size_t index = rank == 0 ? 0 : rank - 1;
    std::nth_element(
        values.begin(), values.begin() + static_cast<std::ptrdiff_t>(index), values.end());
    return values[index];
}

void SkillReport::Times::Add(const ::Game& game, double wallSeconds, double cpuSeconds)
{
    seconds.push_back(cpuSeconds);
    if (cpuSeconds > worst) {
        worst = cpuSeconds;
        atWorst = SceneOf(game);
    }
    worstWall = std::max(worstWall, wallSeconds);
}

std::string SkillReport::Times::Describe() const
{
    return Format("frame median %.3f ms, 99th percentile %.3f ms, worst %.3f ms",
               Percentile(seconds, 0.5) * 1000.0, Percentile(seconds, 0.99) * 1000.0,
               worst * 1000.0)
        + " (" + ::Describe(atWorst) + ")"
        + Format(", worst by the clock %.3f ms", worstWall * 1000.0);
}

void SkillReport::Frame(const ::Game& game, double wallSeconds, double cpuSeconds)
{
    // Frames of play only, and not the one that built the play screen: the menu's frames and
    // the switches between screens are not what the late game costs.
    const Mode* mode = game.mode.get();
    const bool playing = dynamic_cast<const GameMode*>(mode) != nullptr && mode == lastMode;
    lastMode = mode;
    if (!playing)
        return;
    thisGame.Add(game, wallSeconds, cpuSeconds);
    allGames.Add(game, wallSeconds, cpuSeconds);
}

void SkillReport::Game(const SkilledPlayer::Record& record)
{
    games.push_back(record);
}

std::string SkillReport::LastGame(bool skilled) const
{
    std::string text;
    if (skilled && !games.empty()) {
        const SkilledPlayer::Record& r = games.back();
        text += Format(", survived %.1f s, score %u", r.survivedMs / 1000.0, r.score);
        text += r.destroyed ? ", destroyed by " + r.cause : std::string(", not destroyed");
        text += ", at most " + std::to_string(r.mostEnemies) + " enemies, "
            + std::to_string(r.mostEnemyShots) + " enemy shots, " + std::to_string(r.mostObjects)
            + " objects";
    }
    if (!thisGame.seconds.empty())
        text += ", " + thisGame.Describe();
    return text;
}

void SkillReport::EndOfGame()
{
    thisGame = Times {};
}

std::string SkillReport::Totals(bool skilled) const
{
    std::string text;
    if (skilled && !games.empty()) {
        std::vector<double> survival;
        std::vector<double> scores;
        std::map<std::string, int> causes;
        Scene largest;
        int whole = 0;
        for (const SkilledPlayer::Record& r : games) {
            survival.push_back(r.survivedMs / 1000.0);
            scores.push_back(r.score);
            if (r.destroyed)
                ++causes[r.cause];
            else
                ++whole;
            largest.enemies = std::max(largest.enemies, r.mostEnemies);
            largest.enemyShots = std::max(largest.enemyShots, r.mostEnemyShots);
            largest.objects = std::max(largest.objects, r.mostObjects);
        }
        text += std::to_string(games.size()) + " skilled games: "
            + Format("survival 10th/50th/90th percentile %.1f / %.1f / %.1f s, ",
                Percentile(survival, 0.1), Percentile(survival, 0.5), Percentile(survival, 0.9))
            + Format("score %.0f / %.0f / %.0f; ", Percentile(scores, 0.1), Percentile(scores, 0.5),
                Percentile(scores, 0.9))
            + std::to_string(whole) + " played to the end of play";
        for (const auto& [cause, count] : causes)
            text += ", " + std::to_string(count) + " destroyed by " + cause;
        text += "; largest scene " + Describe(largest) + "\n";
    }
    if (!allGames.seconds.empty())
        text += "all games: " + allGames.Describe() + "\n";
    return text;
}
