#pragma once
#include <cstdint>
#include <vector>

// Smooth value noise that repeats every whole unit in u and v, so a field
// made from it continues from one tile into the next. Values lie in -1..1;
// the gradient comes with the value because the boundary's distance is
// estimated from it.
struct NoiseSample {
    double value = 0, du = 0, dv = 0;
};

class PeriodicNoise {
public:
    // `period` lattice cells across a unit, each cell's value from `seed`.
    PeriodicNoise(std::uint64_t seed, int period);
    NoiseSample at(double u, double v) const;

private:
    double lattice(int x, int y) const;
    int period_;
    std::vector<double> values_;
};
