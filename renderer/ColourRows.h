// The colour pass's common case in lanes: texture values to gradient entries,
// blended over (or replacing) pixels of three bytes, chosen per instruction set.
#pragma once

#include "texture/ColourTable.h"

#include <cstdint>

namespace morvessan {

// Colours the first pixels of a row of n, bit for bit as the point routine:
// entry lookupIndex(values[k]) of `table`, blended over in[k] by its alpha
// (replacing it when `overwrite`); `in` may be `out`. Returns how many pixels
// it did (a multiple of its run); the caller does the rest.
using ColourRowRoutine = std::int32_t (*)(const double* values, const ColourEntry* table, const std::uint8_t* in,
                                          std::uint8_t* out, std::int32_t n, bool overwrite);

// The routine of the current lane path (see lanePath()); null for the scalar one.
ColourRowRoutine colourRowRoutine();

} // namespace morvessan
