// The four texture types: rings (Cloud), turbulent bands (Fire, Marble) and
// noise-distorted bands (Wood).
#pragma once

#include "texture/Texture3D.h"

namespace morvessan {

// Cloud's rings are centred on the plane point (kCloudCentre, kCloudCentre).
inline constexpr double kCloudCentre = 200.0;

// cos(r + N x S): rings around the plane point (200, 200), distorted by the signed octave sum.
class Cloud : public Texture3D {
public:
    double evaluate(double x, double y) const override;
    void evaluateRow(const double* x, double y, int n, double* out) const override;
};

// sin(u + N x S) with the absolute-value octave sum.
class Fire : public Texture3D {
public:
    double evaluate(double x, double y) const override;
    void evaluateRow(const double* x, double y, int n, double* out) const override;
};

// sqrt(abs(sin(u + N x S))) with the absolute-value octave sum; never negative.
class Marble : public Texture3D {
public:
    double evaluate(double x, double y) const override;
    void evaluateRow(const double* x, double y, int n, double* out) const override;
};

// abs(sin(u + P x n(u, v))): one octave, the noise parameter as amplitude; never negative.
class Wood : public Texture3D {
public:
    double evaluate(double x, double y) const override;
    void evaluateRow(const double* x, double y, int n, double* out) const override;
};

} // namespace morvessan
