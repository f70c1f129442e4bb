// Noise: the interface of a seeded lattice noise generator, and its seeding,
// which (re)starts the run-time's random sequence the tables are drawn from.
#pragma once

#include <cstdint>

namespace morvessan {

class Noise {
public:
    // The creator passes three shape numbers (6, 2, 0.5); no result depends on them.
    Noise(std::int32_t seed, double a, double b, double c);
    virtual ~Noise() = default;

    Noise(const Noise&) = delete;
    Noise& operator=(const Noise&) = delete;

    virtual double noise1(double x) const = 0;
    virtual double noise2(double x, double y) const = 0;
    virtual double noise3(double x, double y, double z) const = 0;
    // out[k] = noise2(x[k], y[k]) for k < n, bit for bit.
    virtual void noise2Row(const double* x, const double* y, int n, double* out) const;
    // Fills the lattice tables from the current state of the random sequence.
    virtual void initTables() = 0;

    // Reseeds the sequence with `s` (0: the calendar time plus the next draw, so
    // that every run differs), then fills the tables.
    void seed(std::int32_t s);

    std::int32_t seedValue() const { return m_seed; }

private:
    std::int32_t m_seed;
};

} // namespace morvessan
