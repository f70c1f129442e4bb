// The four texture types: rings (Cloud), turbulent bands (Fire, Marble) and
// noise-distorted bands (Wood).
#pragma once

#include "texture/Texture3D.h"

namespace morvessan {

// Cloud's rings are centred on the plane point (kCloudCentre, kCloudCentre).
inline constexpr double kCloudCentre = 200.0;

// A type's value from its phase (Cloud: the distance from its centre; the
// others: u), its amplitude (the octave count; Wood: the noise parameter) and
// its noise term, before non-finite values become 0.
double formulaValue(TextureFormula formula, double phase, double amplitude, double s);

// cos(r + N x S): rings around the plane point (200, 200), distorted by the signed octave sum.
class Cloud : public Texture3D {
public:
    TextureFormula formula() const override { return TextureFormula::Cloud; }

protected:
    double evaluatePlane(double x, double y) const override;
    void evaluatePlaneRow(const double* x, double y, int n, double* out) const override;
};

// sin(u + N x S) with the absolute-value octave sum.
class Fire : public Texture3D {
public:
    TextureFormula formula() const override { return TextureFormula::Fire; }

protected:
    double evaluatePlane(double x, double y) const override;
    void evaluatePlaneRow(const double* x, double y, int n, double* out) const override;
};

// sqrt(abs(sin(u + N x S))) with the absolute-value octave sum; never negative.
class Marble : public Texture3D {
public:
    TextureFormula formula() const override { return TextureFormula::Marble; }

protected:
    double evaluatePlane(double x, double y) const override;
    void evaluatePlaneRow(const double* x, double y, int n, double* out) const override;
};

// abs(sin(u + P x n(u, v))): one octave, the noise parameter as amplitude; never negative.
class Wood : public Texture3D {
public:
    TextureFormula formula() const override { return TextureFormula::Wood; }

protected:
    double evaluatePlane(double x, double y) const override;
    void evaluatePlaneRow(const double* x, double y, int n, double* out) const override;
};

} // namespace morvessan
