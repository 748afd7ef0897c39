#include "autoplay/Recipe.h"

#include "autoplay/RandomPlayer.h"
#include "autoplay/SkilledPlayer.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>

namespace {
constexpr const char* recipeTag = "recipe:";
constexpr const char* showsTag = "shows:";

bool Number(const std::string& text, uint32_t& value)
{
    char* end = nullptr;
    const unsigned long long read = std::strtoull(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || read > UINT32_MAX)
        return false;
    value = static_cast<uint32_t>(read);
    return true;
}

bool Range(const std::string& text, uint32_t& shortest, uint32_t& longest)
{
    unsigned first = 0;
    unsigned last = 0;
    char rest = 0;
    if (std::sscanf(text.c_str(), "%u-%u%c", &first, &last, &rest) != 2 || first > last)
        return false;
    shortest = first;
    longest = last;
    return true;
}

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(' ');
    const size_t last = text.find_last_not_of(' ');
    return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

// Presses Escape in the frame `escapeFrame` of the player's game, then leaves through "QUIT".
class EscapeAsPlayEnds : public InputSource {
public:
    EscapeAsPlayEnds(InputSource& player, uint64_t escapeFrame)
        : input(player)
        , escapeAt(escapeFrame)
    {
    }

    bool Next(const Game& game, Replay::Frame& frame) override
    {
        ++frames;
        if (frames < escapeAt)
            return input.Next(game, frame);
        if (frames == escapeAt) {
            if (!input.Next(game, frame))
                return false;
            const Replay::Event escape { Replay::Event::Kind::KeyDown, SDL_SCANCODE_ESCAPE };
            if (std::find(frame.events.begin(), frame.events.end(), escape) == frame.events.end()) {
                frame.events.push_back(escape);
                frame.events.push_back({ Replay::Event::Kind::KeyUp, SDL_SCANCODE_ESCAPE });
            }
            return true;
        }
        // Five quiet frames, then down twice to "QUIT" and choose it.
        const uint64_t after = frames - escapeAt;
        frame = {};
        if (after <= 5) {
            frame.ms = 100;
            return true;
        }
        if (after > 8)
            return false;
        frame.ms = 40;
        const int key = after == 8 ? SDL_SCANCODE_LCTRL : SDL_SCANCODE_DOWN;
        frame.events
            = { { Replay::Event::Kind::KeyDown, key }, { Replay::Event::Kind::KeyUp, key } };
        return true;
    }

private:
    InputSource& input;
    uint64_t escapeAt = 0;
    uint64_t frames = 0;
};
} // namespace

const std::vector<Recipe::Property>& Recipe::Properties()
{
    static const std::vector<Property> all {
        { "plays", true, "the run holds exactly this many plays" },
        { "ship-lost", false, "every play ends with its ship lost and the game-over screen" },
        { "leaves-from-prompt", false, "every play is left from the pause prompt" },
        { "enters-hiscore", false, "a play's score enters the hiscore table" },
        { "escape-as-play-ends", false,
            "Escape is pressed in the very frame in which a play hands back to the menu, and "
            "the menu is not paused after it" },
        { "quit-from-menu", false, "the run ends by choosing QUIT in the menu" },
        { "window-closed-in-menu", false, "the run ends by the window's close button in the menu" },
        { "survives", true, "a play's ship lives at least this many ms of play" },
    };
    return all;
}

bool Recipe::FromNotes(const std::vector<std::string>& notes, Recipe& recipe, std::string& error)
{
    recipe = {};
    bool hasRecipe = false;
    for (const std::string& note : notes) {
        if (note.starts_with(recipeTag)) {
            hasRecipe = true;
            std::istringstream words(note.substr(std::string(recipeTag).size()));
            std::string word;
            while (words >> word)
                recipe.options.push_back(word);
        } else if (note.starts_with(showsTag)) {
            std::string list = note.substr(std::string(showsTag).size());
            std::istringstream items(list);
            std::string item;
            while (std::getline(items, item, ','))
                if (!Trimmed(item).empty())
                    recipe.properties.push_back(Trimmed(item));
        }
    }
    if (!hasRecipe) {
        error = "its note holds no \"recipe:\" line";
        return false;
    }
    if (recipe.properties.empty()) {
        error = "its note holds no \"shows:\" line naming what it is there to show";
        return false;
    }
    bool seedGiven = false;
    const std::vector<std::string>& words = recipe.options;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        const bool hasValue = i + 1 < words.size();
        const std::string value = hasValue ? words[i + 1] : "";
        bool read = hasValue;
        if (word == "--escape-as-play-ends") {
            recipe.escapeAsPlayEnds = true;
            continue;
        }
        if (word == "--player") {
            read = read && (value == "random" || value == "skilled");
            recipe.skilled = value == "skilled";
        } else if (word == "--seed") {
            read = read && Number(value, recipe.seed);
            seedGiven = true;
        } else if (word == "--frames") {
            read = read && Range(value, recipe.shortestFrame, recipe.longestFrame);
        } else if (word == "--stalls") {
            read = read && Number(value, recipe.stallsPerThousand)
                && recipe.stallsPerThousand <= 1000;
        } else if (word == "--stall-length") {
            read = read && Range(value, recipe.shortestStall, recipe.longestStall);
        } else if (word == "--longest-play") {
            read = read && Number(value, recipe.longestPlay);
        } else if (word == "--reaction") {
            read = read && Number(value, recipe.reactionMs) && recipe.reactionMs >= 150;
        } else {
            read = false;
        }
        if (!read) {
            error = "its recipe cannot be read at \"" + word + "\"";
            return false;
        }
        ++i;
    }
    if (!seedGiven) {
        error = "its recipe names no --seed";
        return false;
    }
    for (const std::string& property : recipe.properties) {
        std::istringstream parts(property);
        std::string name, number, rest;
        parts >> name >> number >> rest;
        const auto& known = Properties();
        const auto found = std::find_if(
            known.begin(), known.end(), [&name](const Property& p) { return name == p.name; });
        uint32_t value = 0;
        if (found == known.end() || !rest.empty() || found->takesNumber != !number.empty()
            || (found->takesNumber && !Number(number, value))) {
            error = "it is said to show \"" + property + "\", which is no property known here";
            return false;
        }
    }
    return true;
}

std::string Recipe::Text() const
{
    std::string text;
    for (const std::string& word : options)
        text += (text.empty() ? "" : " ") + word;
    return text;
}

void Recipe::UseSeed(uint32_t newSeed, std::vector<std::string>& notes)
{
    seed = newSeed;
    for (size_t i = 0; i + 1 < options.size(); ++i) {
        if (options[i] == "--seed")
            options[i + 1] = std::to_string(newSeed);
    }
    for (std::string& note : notes) {
        if (note.starts_with(recipeTag))
            note = std::string(recipeTag) + " " + Text();
    }
}

GameRun::Result Recipe::Make(const GameRun::Options& run, RunWatch::Facts& facts) const
{
    const auto player = [this]() -> std::unique_ptr<InputSource> {
        if (skilled) {
            SkilledPlayer::Settings settings;
            settings.reactionMs = reactionMs;
            if (longestFrame != 0) {
                settings.shortestFrame = shortestFrame;
                settings.longestFrame = longestFrame;
            }
            if (longestPlay != 0)
                settings.longestPlay = longestPlay;
            return std::make_unique<SkilledPlayer>(seed, settings);
        }
        RandomPlayer::FrameLengths lengths;
        if (longestFrame != 0) {
            lengths.shortest = shortestFrame;
            lengths.longest = longestFrame;
        }
        lengths.stallsPerThousand = stallsPerThousand;
        lengths.shortestStall = shortestStall;
        lengths.longestStall = longestStall;
        if (longestPlay != 0)
            lengths.longestPlay = longestPlay;
        return std::make_unique<RandomPlayer>(seed, lengths);
    };

    GameRun::Options runOptions = run;
    runOptions.keepStepHashes = true;
    std::unique_ptr<InputSource> input = player();
    if (!escapeAsPlayEnds) {
        RunWatch watch(*input);
        GameRun::Result result = GameRun::Play(seed, watch, runOptions);
        facts = watch.Finish(result);
        return result;
    }
    // The player's game once, to find the frame in which its first lost play hands back;
    // then again, with Escape in that frame.
    uint64_t escapeFrame = 0;
    {
        RunWatch watch(*input);
        GameRun::Options firstRun = runOptions;
        firstRun.keepStepHashes = false;
        const GameRun::Result first = GameRun::Play(seed, watch, firstRun);
        for (const RunWatch::Play& play : watch.Finish(first).plays) {
            if (play.shipLost) {
                escapeFrame = play.endFrame;
                break;
            }
        }
        if (escapeFrame == 0) {
            // No play of this game hands back from the game-over screen: the run as it is
            // shows that.
            RunWatch again(*(input = player()));
            GameRun::Result result = GameRun::Play(seed, again, runOptions);
            facts = again.Finish(result);
            return result;
        }
    }
    input = player();
    EscapeAsPlayEnds scenario(*input, escapeFrame);
    RunWatch watch(scenario);
    GameRun::Result result = GameRun::Play(seed, watch, runOptions);
    facts = watch.Finish(result);
    return result;
}

std::string Recipe::Missing(const RunWatch::Facts& facts) const
{
    std::string text;
    const auto& plays = facts.plays;
    const auto every = [&plays](auto test) {
        return !plays.empty() && std::all_of(plays.begin(), plays.end(), test);
    };
    const auto any = [&plays](auto test) { return std::any_of(plays.begin(), plays.end(), test); };
    const std::string ending = !facts.ended ? "the frames ran out before the game ended"
        : facts.byWindow
        ? std::string("it ended by the window's close button in the ")
            + (facts.inMenu ? "menu" : "play")
        : std::string("it ended by QUIT in the ") + (facts.inMenu ? "menu" : "play");
    for (const std::string& property : properties) {
        std::istringstream words(property);
        std::string name;
        uint32_t number = 0;
        words >> name >> number;
        std::string seen;
        if (name == "plays") {
            if (plays.size() != number)
                seen = std::to_string(plays.size()) + " plays";
        } else if (name == "ship-lost") {
            if (!every([](const RunWatch::Play& p) { return p.shipLost; }))
                seen = "a play that did not end with its ship lost";
        } else if (name == "leaves-from-prompt") {
            if (!every([](const RunWatch::Play& p) { return p.leftFromPrompt; }))
                seen = "a play that was not left from the pause prompt";
        } else if (name == "enters-hiscore") {
            if (!any([](const RunWatch::Play& p) { return p.enteredTable; }))
                seen = "no play entered the hiscore table";
        } else if (name == "escape-as-play-ends") {
            const auto shown
                = [](const RunWatch::Play& p) { return p.escapeAsItEnded && !p.pausedAfter; };
            if (!any(shown))
                seen = any([](const RunWatch::Play& p) { return p.escapeAsItEnded; })
                    ? "the menu stayed paused after it"
                    : "no Escape in the frame in which a play handed back";
        } else if (name == "quit-from-menu") {
            if (!facts.ended || facts.byWindow || !facts.inMenu)
                seen = ending;
        } else if (name == "window-closed-in-menu") {
            if (!facts.ended || !facts.byWindow || !facts.inMenu)
                seen = ending;
        } else if (name == "survives") {
            uint32_t longest = 0;
            for (const RunWatch::Play& p : plays)
                longest = std::max(longest, p.survivedMs);
            if (longest < number)
                seen = "the longest lived " + std::to_string(longest) + " ms";
        }
        if (!seen.empty())
            text += "no longer shows \"" + property + "\": " + seen + "\n";
    }
    return text;
}
