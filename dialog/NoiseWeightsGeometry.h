// Geometry of the noise-weights editor: one column per used octave, one marker
// per weight on a logarithmic axis of eleven halvings, hit test and dragging.
#pragma once

#include "texture/PixelRect.h"
#include "texture/TexturePreset.h"

namespace morvessan {

inline constexpr double kSmallestWeight = 0.00048828125; // 2^-11

// Columns for a stored noise level: its whole part, limited to 0..12 (none for a level below 1).
int weightColumns(double noiseLevel);

// Width of one column in `client`; 0 when there is no column.
int weightColumnWidth(const PixelRect& client, int columns);

// The column of octave i, full height.
PixelRect weightColumn(const PixelRect& client, int columns, int i);

// The usable height: bottom - top - 10.
int weightAxisHeight(const PixelRect& client);

// The marker's y for weight w: trunc(-log2(w) x a / 11 + top + 5); weights outside
// 2^-11 .. 1 (or not a number) are drawn at the nearer end (NaN at the bottom).
int weightMarkerY(const PixelRect& client, double w);

// The octave whose marker is under (x, y), or -1. Nothing is hit without columns.
int hitWeight(const PixelRect& client, const TextureFields& fields, int x, int y);

// The weight after dragging a marker by dy pixels from the press, where it held w0;
// limited to 2^-11 .. 1. Without usable height the weight keeps w0, limited.
double dragWeight(const PixelRect& client, double w0, int dy);

} // namespace morvessan
