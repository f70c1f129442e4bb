// The PiPL resource through which a host finds the module: the table of the
// module's properties, its encoding, and a reader for a host.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace morvessan {

// A four-character code as the host's native integer ('8BIM' = 0x3842494D).
constexpr std::uint32_t fourCharCode(const char (&code)[5]) {
    return (std::uint32_t(std::uint8_t(code[0])) << 24) | (std::uint32_t(std::uint8_t(code[1])) << 16) |
           (std::uint32_t(std::uint8_t(code[2])) << 8) | std::uint32_t(std::uint8_t(code[3]));
}

inline constexpr std::uint32_t kPiplVendor = fourCharCode("8BIM");
inline constexpr std::uint32_t kPiplEntry64 = fourCharCode("8664"); // entry name, x64 module
inline constexpr std::uint32_t kPiplEntry32 = fourCharCode("wx86"); // entry name, 32-bit x86 module
inline constexpr int kPiplResourceId = 16000;

struct PiplProperty {
    std::uint32_t vendor = kPiplVendor;
    std::uint32_t key = 0;
    std::int32_t id = 0;
    std::vector<std::uint8_t> data; // without the padding

    bool operator==(const PiplProperty&) const = default;
};

// The module's properties in the order hosts see them; `entryKey` is the
// entry-name property of the module's architecture.
std::vector<PiplProperty> morvessanPiplProperties(std::uint32_t entryKey = kPiplEntry64);

// The resource bytes: version 1, PiPL version 0, the count, then each property
// with its data padded to a multiple of four and that padded length written.
std::vector<std::uint8_t> encodePipl(const std::vector<PiplProperty>& properties);

// Reads resource bytes as a host does. Lengths that are not multiples of four
// are accepted (the next property starts at the next multiple of four).
// Returns nullopt with a reason in `error` when the bytes are not a PiPL.
std::optional<std::vector<PiplProperty>> decodePipl(const std::uint8_t* bytes, std::size_t size,
                                                    std::string* error = nullptr);

// The zero-terminated text of property `key` of vendor '8BIM' (e.g. the entry
// name); nullopt when the property is missing or has no terminating zero.
std::optional<std::string> piplString(const std::vector<PiplProperty>& properties, std::uint32_t key);

} // namespace morvessan
