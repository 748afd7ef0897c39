#include "datagen/images/Noise.h"

#include "base/Random.h"

#include <cmath>

Noise::Noise(uint32_t seed)
    : lattice(static_cast<size_t>(Size) * Size)
{
    Random random(seed);
    for (double& value : lattice)
        value = static_cast<double>(random.Next()) / static_cast<double>(Random::Max);
}

double Noise::At(double x, double y) const
{
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const int ix = static_cast<int>(fx) & (Size - 1);
    const int iy = static_cast<int>(fy) & (Size - 1);
    const int jx = (ix + 1) & (Size - 1);
    const int jy = (iy + 1) & (Size - 1);
    double tx = x - fx;
    double ty = y - fy;
    tx = tx * tx * (3.0 - 2.0 * tx);
    ty = ty * ty * (3.0 - 2.0 * ty);
    const double a = lattice[static_cast<size_t>(iy * Size + ix)];
    const double b = lattice[static_cast<size_t>(iy * Size + jx)];
    const double c = lattice[static_cast<size_t>(jy * Size + ix)];
    const double d = lattice[static_cast<size_t>(jy * Size + jx)];
    const double top = a + (b - a) * tx;
    const double bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

double Noise::Fractal(double x, double y, int octaves) const
{
    double sum = 0.0;
    double weight = 0.5;
    double total = 0.0;
    for (int i = 0; i < octaves; ++i) {
        // Each octave is shifted so the lattice seams of the layers do not line up.
        sum += At(x + 17.31 * i, y - 9.71 * i) * weight;
        total += weight;
        weight *= 0.5;
        x *= 2.03;
        y *= 2.03;
    }
    return sum / total;
}
