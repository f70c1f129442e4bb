// The formulas of the four texture types over the shared mapping and octave sums.
#include "texture/TextureTypes.h"

#include "texture/PortableTrig.h"

#include <algorithm>
#include <cmath>

namespace morvessan {

double Cloud::evaluate(double x, double y) const {
    double u;
    double v;
    if (!map(x, y, u, v)) {
        return 0.0;
    }
    const double du = u - 200.0;
    const double dv = v - 200.0;
    const double r = std::sqrt(du * du + dv * dv);
    return finiteOrZero(portableCos(r + static_cast<double>(m_octaves) * octaveSum(u, v, false)));
}

double Fire::evaluate(double x, double y) const {
    double u;
    double v;
    if (!map(x, y, u, v)) {
        return 0.0;
    }
    return finiteOrZero(portableSin(u + static_cast<double>(m_octaves) * octaveSum(u, v, true)));
}

double Marble::evaluate(double x, double y) const {
    double u;
    double v;
    if (!map(x, y, u, v)) {
        return 0.0;
    }
    return finiteOrZero(std::sqrt(std::fabs(portableSin(u + static_cast<double>(m_octaves) * octaveSum(u, v, true)))));
}

double Wood::evaluate(double x, double y) const {
    double u;
    double v;
    if (!map(x, y, u, v)) {
        return 0.0;
    }
    return finiteOrZero(std::fabs(portableSin(u + m_noise_parameter * m_noise->noise2(u, v))));
}

} // namespace morvessan

namespace morvessan {

namespace {

// Runs `body(x, n, out)` over the row in runs of at most `run` pixels.
template <typename Body>
void byRuns(const double* x, int n, double* out, int run, Body body) {
    for (int start = 0; start < n; start += run) {
        body(x + start, std::min(run, n - start), out + start);
    }
}

} // namespace

void Cloud::evaluateRow(const double* x, double y, int n, double* out) const {
    if (evaluateRowInLanes(TextureFormula::Cloud, x, y, n, out)) {
        return;
    }
    byRuns(x, n, out, kRun, [&](const double* xs, int count, double* o) {
        double u[kRun];
        double v[kRun];
        double sum[kRun];
        if (!mapRun(xs, y, count, u, v)) {
            std::fill(o, o + count, 0.0);
            return;
        }
        octaveSumRun(u, v, count, false, sum);
        const double octaves = static_cast<double>(m_octaves);
        for (int k = 0; k < count; ++k) {
            const double du = u[k] - 200.0;
            const double dv = v[k] - 200.0;
            const double r = std::sqrt(du * du + dv * dv);
            o[k] = finiteOrZero(portableCos(r + octaves * sum[k]));
        }
    });
}

void Fire::evaluateRow(const double* x, double y, int n, double* out) const {
    if (evaluateRowInLanes(TextureFormula::Fire, x, y, n, out)) {
        return;
    }
    byRuns(x, n, out, kRun, [&](const double* xs, int count, double* o) {
        double u[kRun];
        double v[kRun];
        double sum[kRun];
        if (!mapRun(xs, y, count, u, v)) {
            std::fill(o, o + count, 0.0);
            return;
        }
        octaveSumRun(u, v, count, true, sum);
        const double octaves = static_cast<double>(m_octaves);
        for (int k = 0; k < count; ++k) {
            o[k] = finiteOrZero(portableSin(u[k] + octaves * sum[k]));
        }
    });
}

void Marble::evaluateRow(const double* x, double y, int n, double* out) const {
    if (evaluateRowInLanes(TextureFormula::Marble, x, y, n, out)) {
        return;
    }
    byRuns(x, n, out, kRun, [&](const double* xs, int count, double* o) {
        double u[kRun];
        double v[kRun];
        double sum[kRun];
        if (!mapRun(xs, y, count, u, v)) {
            std::fill(o, o + count, 0.0);
            return;
        }
        octaveSumRun(u, v, count, true, sum);
        const double octaves = static_cast<double>(m_octaves);
        for (int k = 0; k < count; ++k) {
            o[k] = finiteOrZero(std::sqrt(std::fabs(portableSin(u[k] + octaves * sum[k]))));
        }
    });
}

void Wood::evaluateRow(const double* x, double y, int n, double* out) const {
    if (evaluateRowInLanes(TextureFormula::Wood, x, y, n, out)) {
        return;
    }
    byRuns(x, n, out, kRun, [&](const double* xs, int count, double* o) {
        double u[kRun];
        double v[kRun];
        double value[kRun];
        if (!mapRun(xs, y, count, u, v)) {
            std::fill(o, o + count, 0.0);
            return;
        }
        m_noise->noise2Row(u, v, count, value);
        for (int k = 0; k < count; ++k) {
            o[k] = finiteOrZero(std::fabs(portableSin(u[k] + m_noise_parameter * value[k])));
        }
    });
}

} // namespace morvessan
