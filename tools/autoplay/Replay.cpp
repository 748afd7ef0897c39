#include "autoplay/Replay.h"

#include <SDL.h>

#include <array>
#include <cctype>
#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {
constexpr const char* header = "skarvold-replay 1";
// Written into every file under the notes; not kept as notes when read back.
constexpr std::array<const char*, 2> formatNotes = {
    "Frame lines: counter milliseconds before the pass, then the events pushed just",
    "before it (+KEY down, -KEY up, quit); \"ms*count\" repeats a frame without events.",
};
constexpr uint64_t maxFrames = Replay::maxFrames;
constexpr uint64_t maxCounterMs = Replay::maxCounterMs;
// Text quoted from the file into an error is cut to this many characters.
constexpr size_t maxQuoted = 24;

struct NamedKey {
    const char* name;
    int scancode;
};
constexpr std::array<NamedKey, 7> namedKeys = { {
    { "LEFT", SDL_SCANCODE_LEFT },
    { "RIGHT", SDL_SCANCODE_RIGHT },
    { "UP", SDL_SCANCODE_UP },
    { "DOWN", SDL_SCANCODE_DOWN },
    { "LCTRL", SDL_SCANCODE_LCTRL },
    { "ESCAPE", SDL_SCANCODE_ESCAPE },
    { "SPACE", SDL_SCANCODE_SPACE },
} };

// A whole unsigned decimal number no greater than `limit`.
bool ReadNumber(const std::string& text, uint64_t limit, uint64_t& value)
{
    if (text.empty() || text.size() > 20)
        return false;
    value = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
        const auto digit = static_cast<uint64_t>(c - '0');
        if (value > (limit - digit) / 10)
            return false;
        value = value * 10 + digit;
    }
    return true;
}

bool ReadHex(const std::string& text, uint64_t& value)
{
    if (text.empty() || text.size() > 16)
        return false;
    value = 0;
    for (char c : text) {
        const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
            : (c >= 'a' && c <= 'f')                                  ? c - 'a' + 10
                                                                      : -1;
        if (digit < 0)
            return false;
        value = value << 4 | static_cast<uint64_t>(digit);
    }
    return true;
}

// A word of the file as an error shows it: quoted, cut short, and with every byte that is not
// printable ASCII written as \xNN, so that the error stays one readable line whatever the file.
std::string Quoted(const std::string& word)
{
    std::string text = "\"";
    for (size_t index = 0; index < word.size() && index < maxQuoted; ++index) {
        const auto c = static_cast<unsigned char>(word[index]);
        if (c >= ' ' && c <= '~' && c != '"' && c != '\\') {
            text += static_cast<char>(c);
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            text += escaped;
        }
    }
    text += word.size() > maxQuoted ? "\"..." : "\"";
    return text;
}

std::string Hex(uint64_t value)
{
    char text[17];
    std::snprintf(text, sizeof text, "%016" PRIx64, value);
    return text;
}

void KeepNote(std::string note, std::vector<std::string>& notes)
{
    // Every carriage return at its end goes, not only a Windows line end's: one kept would be
    // taken for that line end when the file is read again, and the note would change.
    while (!note.empty() && note.back() == '\r')
        note.pop_back();
    if (!note.empty() && note.front() == ' ')
        note.erase(0, 1);
    for (const char* line : formatNotes) {
        if (note == line)
            return;
    }
    notes.push_back(note);
}

std::string FormatEvent(const Replay::Event& event)
{
    switch (event.kind) {
    // Built by appending: GCC 12 at -O3 warns wrongly about `"+" + std::string`.
    case Replay::Event::Kind::KeyDown:
        return std::string("+").append(Replay::KeyName(event.scancode));
    case Replay::Event::Kind::KeyUp:
        return std::string("-").append(Replay::KeyName(event.scancode));
    case Replay::Event::Kind::Quit:
        return "quit";
    }
    return "";
}

bool ParseEvent(const std::string& word, Replay::Event& event)
{
    if (word == "quit") {
        event = Replay::Event { Replay::Event::Kind::Quit, 0 };
        return true;
    }
    if (word.size() < 2 || (word[0] != '+' && word[0] != '-'))
        return false;
    const int scancode = Replay::KeyFromName(word.substr(1));
    if (scancode < 0)
        return false;
    event.kind = word[0] == '+' ? Replay::Event::Kind::KeyDown : Replay::Event::Kind::KeyUp;
    event.scancode = scancode;
    return true;
}

// "16", "16*40" or "16 +LEFT -UP quit".
// `counterMs` adds up the milliseconds of the frames read so far.
bool ParseFrames(std::istringstream& words, const std::string& first, Replay& replay,
    uint64_t& counterMs, std::string& why)
{
    uint64_t ms = 0;
    uint64_t count = 1;
    const size_t star = first.find('*');
    if (!ReadNumber(first.substr(0, star), UINT32_MAX, ms)) {
        why = "a frame length must be 0 to 4294967295 ms";
        return false;
    }
    if (star != std::string::npos
        && (!ReadNumber(first.substr(star + 1), maxFrames, count) || count == 0)) {
        why = "a repeat count must be 1 to " + std::to_string(maxFrames);
        return false;
    }
    Replay::Frame frame;
    frame.ms = static_cast<uint32_t>(ms);
    std::string word;
    while (words >> word) {
        Replay::Event event;
        if (!ParseEvent(word, event)) {
            why = "unknown event " + Quoted(word) + " (+KEY, -KEY or quit)";
            return false;
        }
        frame.events.push_back(event);
    }
    if (count > 1 && !frame.events.empty()) {
        why = "only frames without events can repeat";
        return false;
    }
    if (replay.frames.size() + count > maxFrames) {
        why = "too many frames (more than " + std::to_string(maxFrames) + ")";
        return false;
    }
    counterMs += ms * count;
    if (counterMs > maxCounterMs) {
        why = "the frames add up to more than 50 days";
        return false;
    }
    replay.frames.insert(replay.frames.end(), count, frame);
    return true;
}

bool ParseExpectation(std::istringstream& words, Replay::Expectation& expect, std::string& why)
{
    expect = Replay::Expectation {};
    expect.present = true;
    std::string key;
    bool haveFrames = false, haveSteps = false, haveTrace = false, haveScores = false;
    while (words >> key) {
        std::string value;
        if (key == "scores") {
            haveScores = true;
            uint64_t score = 0;
            while (words >> value) {
                if (!ReadNumber(value, UINT32_MAX, score)) {
                    why = "a score must be 0 to 4294967295";
                    return false;
                }
                expect.scores.push_back(static_cast<uint32_t>(score));
            }
            break;
        }
        if (!(words >> value)) {
            why = Quoted(key) + " needs a value";
            return false;
        }
        bool ok = false;
        if (key == "frames")
            ok = haveFrames = ReadNumber(value, UINT64_MAX, expect.frames);
        else if (key == "steps")
            ok = haveSteps = ReadNumber(value, UINT64_MAX, expect.steps);
        else if (key == "trace")
            ok = haveTrace = ReadHex(value, expect.trace);
        if (!ok) {
            why = "bad " + Quoted(key) + " in the expectation";
            return false;
        }
    }
    if (!(haveFrames && haveSteps && haveTrace && haveScores)) {
        why = "an expectation gives frames, steps, trace and scores";
        return false;
    }
    return true;
}
} // namespace

std::string Replay::KeyName(int scancode)
{
    for (const NamedKey& key : namedKeys) {
        if (key.scancode == scancode)
            return key.name;
    }
    return std::to_string(scancode);
}

int Replay::KeyFromName(const std::string& name)
{
    for (const NamedKey& key : namedKeys) {
        if (name == key.name)
            return key.scancode;
    }
    uint64_t number = 0;
    if (ReadNumber(name, SDL_NUM_SCANCODES - 1, number))
        return static_cast<int>(number);
    return -1;
}

std::string Replay::Format() const
{
    std::ostringstream out;
    out << header << "\n";
    for (const std::string& note : notes)
        out << "# " << note << "\n";
    for (const char* line : formatNotes)
        out << "# " << line << "\n";
    out << "seed " << seed << "\n";
    for (size_t index = 0; index < frames.size();) {
        const Frame& frame = frames[index];
        size_t run = 1;
        if (frame.events.empty()) {
            while (index + run < frames.size() && frames[index + run] == frame)
                ++run;
        }
        out << frame.ms;
        if (run > 1)
            out << "*" << run;
        for (const Event& event : frame.events)
            out << " " << FormatEvent(event);
        out << "\n";
        index += run;
    }
    if (expect.present) {
        out << "expect frames " << expect.frames << " steps " << expect.steps << " trace "
            << Hex(expect.trace) << " scores";
        for (uint32_t score : expect.scores)
            out << " " << score;
        out << "\n";
    }
    return out.str();
}

bool Replay::Parse(const std::string& text, Replay& replay, std::string& error)
{
    replay = Replay {};
    if (text.size() > maxBytes) {
        error = "larger than " + std::to_string(maxBytes >> 20) + " MiB: not a replay";
        return false;
    }
    std::istringstream lines(text);
    std::string line;
    size_t number = 0;
    uint64_t counterMs = 0;
    bool headerSeen = false, seedSeen = false;
    const auto fail = [&](const std::string& why) {
        error = "line " + std::to_string(number) + ": " + why;
        return false;
    };
    while (std::getline(lines, line)) {
        ++number;
        if (const size_t hash = line.find('#'); hash != std::string::npos) {
            // A whole-line comment after the header and before the seed is a note.
            const bool wholeLine = line.find_first_not_of(" \t") == hash;
            if (wholeLine && headerSeen && !seedSeen)
                KeepNote(line.substr(hash + 1), replay.notes);
            line.erase(hash);
        }
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::istringstream words(line);
        std::string first;
        if (!(words >> first))
            continue;
        if (!headerSeen) {
            std::string version;
            words >> version;
            if (first + " " + version != header)
                return fail("not a replay: the first line must be \"" + std::string(header) + "\"");
            headerSeen = true;
            continue;
        }
        std::string why;
        if (first == "seed") {
            uint64_t seed = 0;
            std::string value, extra;
            if (seedSeen || !(words >> value) || !ReadNumber(value, UINT32_MAX, seed)
                || (words >> extra))
                return fail("one \"seed N\" line with N from 0 to 4294967295");
            replay.seed = static_cast<uint32_t>(seed);
            seedSeen = true;
        } else if (first == "expect") {
            if (!ParseExpectation(words, replay.expect, why))
                return fail(why);
        } else if (std::isdigit(static_cast<unsigned char>(first[0]))) {
            if (!seedSeen)
                return fail("frames come after the seed");
            if (!ParseFrames(words, first, replay, counterMs, why))
                return fail(why);
        } else {
            return fail("unknown line " + Quoted(first));
        }
    }
    if (!headerSeen)
        return fail("empty: no replay header");
    if (!seedSeen)
        return fail("no seed");
    error.clear();
    return true;
}

bool Replay::Save(const std::string& path) const
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << Format();
    return static_cast<bool>(file.flush());
}

bool Replay::Load(const std::string& path, Replay& replay, std::string& error)
{
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        error = path + ": a folder, not a replay";
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = path + ": cannot be read";
        return false;
    }
    // Read no further than one byte past the largest replay, whatever the file (a device that
    // never ends, a log of gigabytes): that byte is enough for Parse to refuse it.
    std::string text;
    std::array<char, 1 << 16> chunk {};
    while (text.size() <= maxBytes && file) {
        file.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        text.append(chunk.data(), static_cast<size_t>(file.gcount()));
    }
    if (file.bad()) {
        error = path + ": cannot be read";
        return false;
    }
    if (!Parse(text, replay, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}
