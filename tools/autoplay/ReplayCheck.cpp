#include "autoplay/ReplayCheck.h"

#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {
std::string Hex(uint64_t value)
{
    char text[20];
    std::snprintf(text, sizeof text, "%016" PRIx64, value);
    return text;
}

void Line(std::string& text, const char* figure, const std::string& want, const std::string& got)
{
    if (want == got)
        return;
    // Appended piece by piece: GCC 12 at -O3 warns wrongly of overlap on joined temporaries.
    text += figure;
    text += ": expected ";
    text += want;
    text += ", got ";
    text += got;
    text += '\n';
}
} // namespace

std::string ReplayCheck::Scores(const std::vector<uint32_t>& scores)
{
    std::string text;
    for (uint32_t score : scores) {
        if (!text.empty())
            text += ' ';
        text += std::to_string(score);
    }
    return text.empty() ? "none" : text;
}

std::string ReplayCheck::Differences(
    const Replay::Expectation& want, const Replay::Expectation& got)
{
    std::string text;
    Line(text, "frames", std::to_string(want.frames), std::to_string(got.frames));
    Line(text, "steps", std::to_string(want.steps), std::to_string(got.steps));
    Line(text, "trace", Hex(want.trace), Hex(got.trace));
    Line(text, "scores", Scores(want.scores), Scores(got.scores));
    return text;
}

std::string ReplayCheck::FirstDifferentStep(const std::vector<uint64_t>& want,
    const std::vector<uint64_t>& got, const std::vector<uint64_t>& gotFrames)
{
    const auto frameOf = [&](size_t index) {
        return index < gotFrames.size() ? " (frame " + std::to_string(gotFrames[index]) + ")"
                                        : std::string();
    };
    for (size_t i = 0; i < want.size() && i < got.size(); ++i) {
        if (want[i] != got[i])
            return "step " + std::to_string(i + 1) + frameOf(i) + " differs first: expected hash "
                + Hex(want[i]) + ", got " + Hex(got[i]) + "\n";
    }
    if (want.size() > got.size())
        return "the run ends after step " + std::to_string(got.size()) + ", expected "
            + std::to_string(want.size()) + " steps\n";
    if (got.size() > want.size())
        return "step " + std::to_string(want.size() + 1) + frameOf(want.size())
            + " is one more than the " + std::to_string(want.size()) + " expected\n";
    return "";
}

std::string ReplayCheck::StepsPath(const std::string& replayPath)
{
    return std::filesystem::path(replayPath).replace_extension(".steps").string();
}

bool ReplayCheck::LoadSteps(const std::string& path, std::vector<uint64_t>& hashes)
{
    std::ifstream file(path);
    if (!file)
        return false;
    hashes.clear();
    std::string line;
    while (std::getline(file, line)) {
        uint64_t hash = 0;
        char rest = 0;
        if (line.size() != 16 || std::sscanf(line.c_str(), "%16" SCNx64 "%c", &hash, &rest) != 1)
            return false;
        hashes.push_back(hash);
    }
    return true;
}

bool ReplayCheck::SaveSteps(const std::string& path, const std::vector<uint64_t>& hashes)
{
    std::ofstream file(path);
    for (uint64_t hash : hashes)
        file << Hex(hash) << '\n';
    return static_cast<bool>(file.flush());
}
