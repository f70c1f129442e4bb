// The formulas of the four texture types over the shared mapping and octave sums;
// each formula is written once and serves the point routine and the row routine.
#include "texture/TextureTypes.h"

#include "texture/PortableTrig.h"

#include <algorithm>
#include <cmath>

namespace morvessan {

namespace {

// Each type's value at the mapped point (u, v) from its octave sum (Wood: its
// one noise value) `s`, before non-finite values become 0.
double cloudValue(double u, double v, double octaves, double s) {
    const double du = u - kCloudCentre;
    const double dv = v - kCloudCentre;
    const double r = std::sqrt(du * du + dv * dv);
    return formulaValue(TextureFormula::Cloud, r, octaves, s);
}

double fireValue(double u, double octaves, double s) { return formulaValue(TextureFormula::Fire, u, octaves, s); }

double marbleValue(double u, double octaves, double s) { return formulaValue(TextureFormula::Marble, u, octaves, s); }

double woodValue(double u, double grain, double s) { return formulaValue(TextureFormula::Wood, u, grain, s); }

// Runs `body(x, n, out)` over the row in runs of at most `run` pixels.
template <typename Body>
void byRuns(const double* x, int n, double* out, int run, Body body) {
    for (int start = 0; start < n; start += run) {
        body(x + start, std::min(run, n - start), out + start);
    }
}

} // namespace

double formulaValue(TextureFormula formula, double phase, double amplitude, double s) {
    switch (formula) {
    case TextureFormula::Cloud: return portableCos(phase + amplitude * s);
    case TextureFormula::Fire: return portableSin(phase + amplitude * s);
    case TextureFormula::Marble: return std::sqrt(std::fabs(portableSin(phase + amplitude * s)));
    case TextureFormula::Wood: return std::fabs(portableSin(phase + amplitude * s));
    }
    return 0.0;
}

double Cloud::evaluatePlane(double x, double y) const {
    double u;
    double v;
    if (!map(x, y, u, v)) {
        return 0.0;
    }
    return finiteOrZero(cloudValue(u, v, static_cast<double>(m_octaves), octaveSum(u, v, false)));
}

double Fire::evaluatePlane(double x, double y) const {
    double u;
    double v;
    if (!map(x, y, u, v)) {
        return 0.0;
    }
    return finiteOrZero(fireValue(u, static_cast<double>(m_octaves), octaveSum(u, v, true)));
}

double Marble::evaluatePlane(double x, double y) const {
    double u;
    double v;
    if (!map(x, y, u, v)) {
        return 0.0;
    }
    return finiteOrZero(marbleValue(u, static_cast<double>(m_octaves), octaveSum(u, v, true)));
}

double Wood::evaluatePlane(double x, double y) const {
    double u;
    double v;
    if (!map(x, y, u, v)) {
        return 0.0;
    }
    return finiteOrZero(woodValue(u, m_noise_parameter, m_noise->noise2(u, v)));
}

template <typename Sum, typename Finish>
void Texture3D::evaluateRuns(const double* x, double y, int n, double* out, Sum sum, Finish finish) const {
    byRuns(x, n, out, kRun, [&](const double* xs, int count, double* o) {
        double u[kRun];
        double v[kRun];
        double s[kRun];
        if (!mapRun(xs, y, count, u, v)) {
            std::fill(o, o + count, 0.0);
            return;
        }
        sum(u, v, count, s);
        for (int k = 0; k < count; ++k) {
            o[k] = finiteOrZero(finish(u[k], v[k], s[k]));
        }
    });
}

void Cloud::evaluatePlaneRow(const double* x, double y, int n, double* out) const {
    if (evaluateRowInLanes(TextureFormula::Cloud, x, y, n, out)) {
        return;
    }
    const double octaves = static_cast<double>(m_octaves);
    evaluateRuns(
        x, y, n, out, [&](const double* u, const double* v, int c, double* s) { octaveSumRun(u, v, c, false, s); },
        [&](double u, double v, double s) { return cloudValue(u, v, octaves, s); });
}

void Fire::evaluatePlaneRow(const double* x, double y, int n, double* out) const {
    if (evaluateRowInLanes(TextureFormula::Fire, x, y, n, out)) {
        return;
    }
    const double octaves = static_cast<double>(m_octaves);
    evaluateRuns(
        x, y, n, out, [&](const double* u, const double* v, int c, double* s) { octaveSumRun(u, v, c, true, s); },
        [&](double u, double, double s) { return fireValue(u, octaves, s); });
}

void Marble::evaluatePlaneRow(const double* x, double y, int n, double* out) const {
    if (evaluateRowInLanes(TextureFormula::Marble, x, y, n, out)) {
        return;
    }
    const double octaves = static_cast<double>(m_octaves);
    evaluateRuns(
        x, y, n, out, [&](const double* u, const double* v, int c, double* s) { octaveSumRun(u, v, c, true, s); },
        [&](double u, double, double s) { return marbleValue(u, octaves, s); });
}

void Wood::evaluatePlaneRow(const double* x, double y, int n, double* out) const {
    if (evaluateRowInLanes(TextureFormula::Wood, x, y, n, out)) {
        return;
    }
    evaluateRuns(
        x, y, n, out, [&](const double* u, const double* v, int c, double* s) { m_noise->noise2Row(u, v, c, s); },
        [&](double u, double, double s) { return woodValue(u, m_noise_parameter, s); });
}

} // namespace morvessan
