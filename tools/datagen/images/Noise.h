#pragma once

#include <cstdint>
#include <vector>

// Smooth value noise over a wrapping lattice of random values, and its fractal sum: the raw
// material of nebulae, planet bands and smoke.
class Noise {
public:
    explicit Noise(uint32_t seed);

    // 0 to 1, smooth in x and y; one lattice cell per unit.
    double At(double x, double y) const;
    // Sum of `octaves` layers, each twice the frequency and half the weight; 0 to 1.
    double Fractal(double x, double y, int octaves) const;

private:
    static constexpr int Size = 256;
    std::vector<double> lattice;
};
