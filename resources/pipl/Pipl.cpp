// PiPL table, encoding and reading. Every number is little-endian, as the
// Windows host reads the resource.
#include "resources/pipl/Pipl.h"

#include "resources/descriptor/DescriptorTerms.h"

#include <algorithm>

namespace morvessan {

namespace {

void putU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

std::uint32_t getU32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}

std::vector<std::uint8_t> number(std::uint32_t value) {
    std::vector<std::uint8_t> out;
    putU32(out, value);
    return out;
}

// A counted string: length byte, then at most 255 characters.
std::vector<std::uint8_t> pascalString(const std::string& text) {
    const std::size_t length = std::min<std::size_t>(text.size(), 255);
    std::vector<std::uint8_t> out(length + 1);
    out[0] = static_cast<std::uint8_t>(length);
    std::copy_n(text.begin(), length, out.begin() + 1);
    return out;
}

std::vector<std::uint8_t> cString(const std::string& text) {
    std::vector<std::uint8_t> out(text.begin(), text.end());
    out.push_back(0);
    return out;
}

constexpr std::size_t padded(std::size_t length) { return (length + 3) & ~std::size_t(3); }

bool fail(std::string* error, const char* reason) {
    if (error) {
        *error = reason;
    }
    return false;
}

} // namespace

std::vector<PiplProperty> morvessanPiplProperties(std::uint32_t entryKey) {
    // Filter case information: one entry per filter case in the host's order,
    // each straight input and output data, flags 0x0E (blank data, layer mask,
    // writes outside the selection), reserved 0.
    std::vector<std::uint8_t> filterCases(7 * 4);
    for (std::size_t entry = 0; entry < filterCases.size(); entry += 4) {
        filterCases[entry] = 1;        // input handling
        filterCases[entry + 1] = 1;    // output handling
        filterCases[entry + 2] = 0x0E; // flags 1; flags 2 stays 0
    }
    return {
        {kPiplVendor, fourCharCode("kind"), 0, number(fourCharCode("8BFM"))},
        {kPiplVendor, fourCharCode("name"), 0, pascalString("Morvessan...")},
        {kPiplVendor, fourCharCode("catg"), 0, pascalString("artisory")},
        {kPiplVendor, fourCharCode("vers"), 0, number(0x00040000)},
        {kPiplVendor, entryKey, 0, cString("PluginMain")},
        {kPiplVendor, fourCharCode("mode"), 0, {0x10, 0x00}}, // RGB colour only
        {kPiplVendor, fourCharCode("enbl"), 0, cString("in (PSHOP_ImageMode, RGBMode)")},
        {kPiplVendor, fourCharCode("fici"), 0, filterCases},
        // Last, so that the properties before it keep their places: the
        // terminology that names the settings a recorded action holds.
        {kPiplVendor, kTerminologyProperty, 0, terminologyPropertyData()},
    };
}

std::vector<std::uint8_t> encodePipl(const std::vector<PiplProperty>& properties) {
    std::vector<std::uint8_t> out{1, 0}; // resource version 1 (16 bits)
    putU32(out, 0);                      // PiPL version
    putU32(out, static_cast<std::uint32_t>(properties.size()));
    for (const PiplProperty& property : properties) {
        putU32(out, property.vendor);
        putU32(out, property.key);
        putU32(out, static_cast<std::uint32_t>(property.id));
        // The padded length: some hosts step to the next property by it unrounded.
        putU32(out, static_cast<std::uint32_t>(padded(property.data.size())));
        out.insert(out.end(), property.data.begin(), property.data.end());
        out.resize(out.size() + padded(property.data.size()) - property.data.size(), 0);
    }
    return out;
}

std::optional<std::vector<PiplProperty>> decodePipl(const std::uint8_t* bytes, std::size_t size, std::string* error) {
    constexpr std::size_t kHeader = 10;
    constexpr std::size_t kPropertyHeader = 16;
    if (!bytes || size < kHeader) {
        fail(error, "PiPL shorter than its header");
        return std::nullopt;
    }
    if (bytes[0] != 1 || bytes[1] != 0) {
        fail(error, "PiPL resource version is not 1");
        return std::nullopt;
    }
    if (getU32(bytes + 2) != 0) {
        fail(error, "PiPL version is not 0");
        return std::nullopt;
    }
    const std::uint32_t count = getU32(bytes + 6);
    // Every property needs at least its header: a count beyond that is damage.
    if (count > (size - kHeader) / kPropertyHeader) {
        fail(error, "PiPL property count exceeds the resource");
        return std::nullopt;
    }
    std::vector<PiplProperty> properties;
    properties.reserve(count);
    std::size_t offset = kHeader;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (size - offset < kPropertyHeader) {
            fail(error, "PiPL property header runs past the end");
            return std::nullopt;
        }
        PiplProperty property;
        property.vendor = getU32(bytes + offset);
        property.key = getU32(bytes + offset + 4);
        property.id = static_cast<std::int32_t>(getU32(bytes + offset + 8));
        const std::uint32_t length = getU32(bytes + offset + 12);
        offset += kPropertyHeader;
        if (length > size - offset) {
            fail(error, "PiPL property data runs past the end");
            return std::nullopt;
        }
        property.data.assign(bytes + offset, bytes + offset + length);
        offset += std::min<std::size_t>(padded(length), size - offset);
        properties.push_back(std::move(property));
    }
    return properties;
}

std::optional<std::string> piplString(const std::vector<PiplProperty>& properties, std::uint32_t key) {
    for (const PiplProperty& property : properties) {
        if (property.vendor != kPiplVendor || property.key != key) {
            continue;
        }
        const auto end = std::find(property.data.begin(), property.data.end(), std::uint8_t(0));
        if (end == property.data.end()) {
            return std::nullopt;
        }
        return std::string(property.data.begin(), end);
    }
    return std::nullopt;
}

} // namespace morvessan
