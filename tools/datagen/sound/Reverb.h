#pragma once

#include <array>
#include <cstddef>
#include <vector>

namespace sound {

// A small stereo room after the classic Schroeder-Moorer design: eight damped feedback combs in
// parallel and four all-passes in series per side, the right side slightly longer so the two
// decorrelate into width. Mono in, stereo out.
class Reverb {
public:
    // `roomSize` 0..1 sets the decay time, `damping` 0..1 how fast the highs die away.
    Reverb(double roomSize, double damping);

    void Process(double input, double& left, double& right);

private:
    struct Comb {
        std::vector<double> buffer;
        size_t index = 0;
        double store = 0.0;
    };
    struct AllPass {
        std::vector<double> buffer;
        size_t index = 0;
    };

    static double Run(Comb& comb, double input, double feedback, double damping);
    static double Run(AllPass& pass, double input);

    std::array<Comb, 8> combsLeft;
    std::array<Comb, 8> combsRight;
    std::array<AllPass, 4> passesLeft;
    std::array<AllPass, 4> passesRight;
    double feedback;
    double damp;
};

} // namespace sound
