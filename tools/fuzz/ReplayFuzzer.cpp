// Feeds any bytes to the replay reader. Whatever it is given, the reader must answer with a
// replay or with one short printable line naming the line and the problem, within bounded
// memory and time; a replay it accepts must be written out and read back as the same game.
#include "autoplay/Replay.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
[[noreturn]] void Broken(const char* what, const std::string& detail)
{
    std::fprintf(stderr, "replay reader: %s: %s\n", what, detail.c_str());
    std::abort();
}

void CheckError(const std::string& error)
{
    if (error.empty())
        Broken("refused without a reason", "");
    if (error.rfind("line ", 0) != 0)
        Broken("an error that names no line", error);
    if (error.size() > Replay::maxErrorLength)
        Broken("an error longer than a line", error.substr(0, 200) + "...");
    for (char c : error) {
        if (c < ' ' || c > '~')
            Broken("an error with a control or non-ASCII byte", error);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    Replay replay;
    std::string error;
    if (!Replay::Parse(text, replay, error)) {
        CheckError(error);
        return 0;
    }
    if (!error.empty())
        Broken("accepted with an error", error);
    if (replay.frames.size() > Replay::maxFrames)
        Broken("more frames than a replay holds", std::to_string(replay.frames.size()));
    uint64_t counterMs = 0;
    for (const Replay::Frame& frame : replay.frames)
        counterMs += frame.ms;
    if (counterMs > Replay::maxCounterMs)
        Broken("frames longer than a replay holds", std::to_string(counterMs) + " ms");

    // What the reader accepts, the writer writes so that it reads back as the same game.
    const std::string written = replay.Format();
    Replay again;
    if (!Replay::Parse(written, again, error))
        Broken("its own writing refused", error);
    if (!(again == replay))
        Broken("read back as another game", written.substr(0, 400));
    return 0;
}
