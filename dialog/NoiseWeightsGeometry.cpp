// Pixel geometry of the noise-weights editor, free of windows so that it can be tested.
#include "dialog/NoiseWeightsGeometry.h"

#include "texture/PortableExp.h"
#include "texture/TextureBuilder.h"

#include <cmath>
#include <cstdlib>

namespace morvessan {

namespace {

double limitedWeight(double w) {
    if (!(w >= kSmallestWeight)) {
        return kSmallestWeight;
    }
    return w > 1.0 ? 1.0 : w;
}

} // namespace

int weightColumns(double noiseLevel) { return octaveCount(noiseLevel); }

int weightColumnWidth(const PixelRect& client, int columns) {
    if (columns <= 0) {
        return 0;
    }
    return (client.right - client.left - 5) / columns;
}

PixelRect weightColumn(const PixelRect& client, int columns, int i) {
    const int cw = weightColumnWidth(client, columns);
    const int left = client.left + 5 + i * cw;
    return {left, client.top, left + cw, client.bottom};
}

int weightAxisHeight(const PixelRect& client) { return client.bottom - client.top - 10; }

int weightMarkerY(const PixelRect& client, double w) {
    const int a = weightAxisHeight(client);
    return static_cast<int>(-portableLog2(limitedWeight(w)) * a / 11 + client.top + 5);
}

int hitWeight(const PixelRect& client, const TextureFields& fields, int x, int y) {
    const int columns = weightColumns(fields.noiseLevel);
    const int cw = weightColumnWidth(client, columns);
    if (cw <= 0 || x < client.left + 5) {
        return -1;
    }
    const int i = (x - client.left - 5) / cw;
    // The area right of the last column belongs to no octave.
    if (i >= columns || client.left + cw * (i + 1) < x) {
        return -1;
    }
    if (std::abs(y - weightMarkerY(client, fields.noiseWeights[i])) >= 5) {
        return -1;
    }
    return i;
}

double dragWeight(const PixelRect& client, double w0, int dy) {
    const int a = weightAxisHeight(client);
    if (a <= 0) {
        return limitedWeight(w0);
    }
    const int o = static_cast<int>(a * -portableLog2(limitedWeight(w0)) / 11);
    return limitedWeight(portableExp2(-11.0 * (static_cast<double>(o) + dy) / a));
}

} // namespace morvessan
