// The library's owning pointers for one object and for an array: thin names over
// the standard ones, so ownership is released on scope exit and when exceptions pass.
#pragma once

#include <memory>

namespace morvessan {

// Owns one object; deletes it when it goes out of scope or is reset.
template <class T>
using VXAutoPtr = std::unique_ptr<T>;

// Owns an array allocated with new[]; deletes it with delete[].
// Example: VXAutoArrayPtr<std::uint8_t> block(new std::uint8_t[n]());
template <class T>
using VXAutoArrayPtr = std::unique_ptr<T[]>;

} // namespace morvessan
