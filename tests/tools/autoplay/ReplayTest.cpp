#include "autoplay/Replay.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Kind = Replay::Event::Kind;

Replay Parsed(const std::string& text)
{
    Replay replay;
    std::string error;
    EXPECT_TRUE(Replay::Parse(text, replay, error)) << error;
    return replay;
}

// The error of a text that must not parse; empty when it parsed after all.
std::string ErrorOf(const std::string& text)
{
    Replay replay;
    std::string error;
    if (Replay::Parse(text, replay, error))
        return "";
    return error;
}

TEST(Replay, FormatAndParseGiveBackTheSameGame)
{
    Replay replay;
    replay.notes = { "Two plays; the window closed in the menu.", "" };
    replay.seed = 4294967295u;
    replay.frames = {
        { 16, {} },
        { 16, {} },
        { 16, {} },
        { 0, { { Kind::KeyDown, SDL_SCANCODE_LCTRL }, { Kind::KeyUp, SDL_SCANCODE_LCTRL } } },
        { 16, {} },
        { 7000, { { Kind::KeyDown, SDL_SCANCODE_A }, { Kind::Quit, 0 } } },
        { 4294967295u, { { Kind::KeyUp, SDL_SCANCODE_ESCAPE } } },
    };
    replay.expect = { true, 7, 1234, 0x00f0000000000001ull, { 0, 93 } };

    const std::string text = replay.Format();
    // Quiet frames fold into one line, but never across a frame with events.
    EXPECT_NE(text.find("\n16*3\n0 +LCTRL -LCTRL\n16\n"), std::string::npos) << text;
    EXPECT_NE(text.find("7000 +" + std::to_string(SDL_SCANCODE_A) + " quit\n"), std::string::npos);
    EXPECT_NE(text.find("trace 00f0000000000001 scores 0 93"), std::string::npos) << text;
    EXPECT_EQ(Parsed(text), replay);
    // Written anew, the file keeps its notes once and the format's own lines once.
    EXPECT_EQ(Parsed(text).Format(), text);

    replay.expect.scores.clear();
    EXPECT_EQ(Parsed(replay.Format()), replay);
}

TEST(Replay, ReadsCommentsBlankLinesAndWindowsLineEnds)
{
    const Replay replay = Parsed("# a player's game\r\n"
                                 "skarvold-replay 1\r\n"
                                 "\n"
                                 "seed 77   # the counter's first reading\n"
                                 "33*2\n"
                                 "40 +LEFT +225 -LEFT\n");
    EXPECT_EQ(replay.seed, 77u);
    ASSERT_EQ(replay.frames.size(), 3u);
    EXPECT_EQ(replay.frames[1], (Replay::Frame { 33, {} }));
    const Replay::Frame expected { 40,
        { { Kind::KeyDown, SDL_SCANCODE_LEFT }, { Kind::KeyDown, 225 },
            { Kind::KeyUp, SDL_SCANCODE_LEFT } } };
    EXPECT_EQ(replay.frames[2], expected);
    EXPECT_FALSE(replay.expect.present);
    // Only whole-line comments between the header and the seed are the file's notes.
    EXPECT_TRUE(replay.notes.empty());
}

TEST(Replay, RefusesDamagedFilesNamingTheLine)
{
    const std::string head = "skarvold-replay 1\nseed 1\n";
    EXPECT_EQ(ErrorOf(""), "line 0: empty: no replay header");
    EXPECT_NE(
        ErrorOf("skarvold-replay 2\nseed 1\n").find("line 1: not a replay"), std::string::npos);
    EXPECT_NE(ErrorOf("skarvold-replay 1\n16\nseed 1\n").find("line 2"), std::string::npos);
    EXPECT_NE(ErrorOf("skarvold-replay 1\n").find("no seed"), std::string::npos);
    EXPECT_NE(ErrorOf(head + "seed 2\n").find("line 3"), std::string::npos);
    EXPECT_NE(ErrorOf(head + "16\n4294967296\n").find("line 4"), std::string::npos);
    EXPECT_NE(ErrorOf(head + "-5\n").find("line 3"), std::string::npos);
    EXPECT_NE(ErrorOf(head + "16 +JUMP\n").find("unknown event"), std::string::npos);
    EXPECT_NE(ErrorOf(head + "16 +512\n").find("unknown event"), std::string::npos);
    EXPECT_NE(ErrorOf(head + "16 LEFT\n").find("unknown event"), std::string::npos);
    EXPECT_NE(ErrorOf(head + "16*0\n").find("repeat"), std::string::npos);
    EXPECT_NE(ErrorOf(head + "16*2 +UP\n").find("without events"), std::string::npos);
    // A repeat that would fill the memory is a damaged file, not a game.
    EXPECT_NE(ErrorOf(head + "16*99999999999\n").find("repeat"), std::string::npos);
    EXPECT_NE(ErrorOf(head + "16*2000000\n16\n").find("too many frames"), std::string::npos);
    EXPECT_NE(
        ErrorOf(head + "expect frames 1 steps 2 trace 3\n").find("scores"), std::string::npos);
    EXPECT_NE(ErrorOf(head + "expect frames 1 steps 2 trace 3g scores\n").find("trace"),
        std::string::npos);
    EXPECT_NE(ErrorOf(head + "jump 3\n").find("line 3: unknown line"), std::string::npos);
}

// A replay comes with bug reports, so any bytes may arrive: the error stays one short printable
// line that names the line, quoting the file's words cut short and with their bytes escaped.
TEST(Replay, RefusesAnyBytesWithOneShortPrintableLine)
{
    const std::string head = "skarvold-replay 1\nseed 1\n";
    std::string cutShort; // the first 24 of a thousand bytes 0xc3
    for (int count = 0; count < 24; ++count)
        cutShort += "\\xc3";
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        { head + "16 +\x1b[2J\n", R"(line 3: unknown event "+\x1b[2J" (+KEY, -KEY or quit))" },
        { head + "16 +\"LEFT\\\n",
            R"(line 3: unknown event "+\x22LEFT\x5c" (+KEY, -KEY or quit))" },
        { head + "jump" + std::string(100, 'x') + "\n",
            R"(line 3: unknown line "jumpxxxxxxxxxxxxxxxxxxxx"...)" },
        { head + std::string("expect fr\0mes 1\n", 16),
            R"(line 3: bad "fr\x00mes" in the expectation)" },
        { head + "expect frames 1 \xff\xfe\n", R"(line 3: "\xff\xfe" needs a value)" },
        { head + "\x80\x81\n", R"(line 3: unknown line "\x80\x81")" },
        { head + "16 " + std::string(1000, '\xc3') + "\n",
            "line 3: unknown event \"" + cutShort + "\"... (+KEY, -KEY or quit)" },
    };
    for (const auto& item : cases) {
        SCOPED_TRACE(item.text.substr(0, 60));
        const std::string error = ErrorOf(item.text);
        EXPECT_EQ(error, item.error);
        EXPECT_LE(error.size(), Replay::maxErrorLength);
    }
}

// Reading stops one byte past the largest replay, whatever the file: a device that never ends
// is refused, not read until the memory runs out. A few bytes cannot ask for years of play.
TEST(Replay, RefusesWhatIsTooLargeOrNoFile)
{
    const std::string head = "skarvold-replay 1\nseed 1\n";
    // Fifty days are 4320000000 ms.
    EXPECT_EQ(ErrorOf(head + "4294967295\n25032705\n"), "");
    EXPECT_EQ(
        ErrorOf(head + "4294967295\n25032706\n"), "line 4: the frames add up to more than 50 days");
    EXPECT_EQ(ErrorOf(head + "2160000000*2\n0\n"), "");
    EXPECT_EQ(
        ErrorOf(head + "1\n2160000000*2\n"), "line 4: the frames add up to more than 50 days");
    EXPECT_EQ(ErrorOf(head + "16*2000001\n"), "line 3: a repeat count must be 1 to 2000000");

    std::string large = head + "#";
    large.resize(Replay::maxBytes + 1, '#');
    EXPECT_EQ(ErrorOf(large), "larger than 32 MiB: not a replay");
    large.resize(Replay::maxBytes);
    EXPECT_EQ(ErrorOf(large), "");

    Replay replay;
    std::string error;
    EXPECT_FALSE(Replay::Load("/dev/zero", replay, error));
    EXPECT_EQ(error, "/dev/zero: larger than 32 MiB: not a replay");
    EXPECT_FALSE(Replay::Load(SKARVOLD_REPLAY_DIR, replay, error));
    EXPECT_EQ(error, std::string(SKARVOLD_REPLAY_DIR) + ": a folder, not a replay");
}

// Rewriting a file keeps its note as it was read, however many carriage returns end it.
TEST(Replay, NotesReadBackAsWritten)
{
    const Replay replay = Parsed("skarvold-replay 1\n# played twice\r\r\r\n#\r\nseed 1\n");
    EXPECT_EQ(replay.notes, (std::vector<std::string> { "played twice", "" }));
    EXPECT_EQ(Parsed(replay.Format()), replay);
}

} // namespace
