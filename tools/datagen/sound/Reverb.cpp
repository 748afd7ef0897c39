#include "datagen/sound/Reverb.h"

namespace sound {

namespace {

    // Mutually prime delay lengths in samples at 44.1 kHz, so the combs' echoes never line up
    // into a flutter; the right channel adds a small spread.
    constexpr std::array<size_t, 8> combLengths
        = { 1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617 };
    constexpr std::array<size_t, 4> passLengths = { 556, 441, 341, 225 };
    constexpr size_t stereoSpread = 23;

} // namespace

Reverb::Reverb(double roomSize, double damping)
    : feedback(0.7 + 0.28 * roomSize)
    , damp(0.4 * damping)
{
    for (size_t i = 0; i < combLengths.size(); ++i) {
        combsLeft[i].buffer.assign(combLengths[i], 0.0);
        combsRight[i].buffer.assign(combLengths[i] + stereoSpread, 0.0);
    }
    for (size_t i = 0; i < passLengths.size(); ++i) {
        passesLeft[i].buffer.assign(passLengths[i], 0.0);
        passesRight[i].buffer.assign(passLengths[i] + stereoSpread, 0.0);
    }
}

double Reverb::Run(Comb& comb, double input, double feedbackGain, double damping)
{
    const double out = comb.buffer[comb.index];
    comb.store = out * (1.0 - damping) + comb.store * damping;
    comb.buffer[comb.index] = input + comb.store * feedbackGain;
    if (++comb.index == comb.buffer.size())
        comb.index = 0;
    return out;
}

double Reverb::Run(AllPass& pass, double input)
{
    const double delayed = pass.buffer[pass.index];
    pass.buffer[pass.index] = input + delayed * 0.5;
    if (++pass.index == pass.buffer.size())
        pass.index = 0;
    return delayed - input;
}

void Reverb::Process(double input, double& left, double& right)
{
    // The combs sum eight echoes of the input, so it goes in scaled down.
    const double scaled = input * 0.015;
    double l = 0.0;
    double r = 0.0;
    for (size_t i = 0; i < combsLeft.size(); ++i) {
        l += Run(combsLeft[i], scaled, feedback, damp);
        r += Run(combsRight[i], scaled, feedback, damp);
    }
    for (size_t i = 0; i < passesLeft.size(); ++i) {
        l = Run(passesLeft[i], l);
        r = Run(passesRight[i], r);
    }
    left = l;
    right = r;
}

} // namespace sound
