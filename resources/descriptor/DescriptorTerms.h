// The keys under which the filter's settings go into a recorded action's
// descriptor, one per field of the parameter block (named from the field table)
// and the preset's name, and the terminology resource that names them for hosts.
#pragma once

#include "resources/pipl/Pipl.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace morvessan {

// The descriptor's value types (the host's codes).
enum class DescriptorValue : std::uint32_t {
    Integer = 0x6C6F6E67, // 'long'
    Float = 0x646F7562,   // 'doub'
    Boolean = 0x626F6F6C, // 'bool'
    Text = 0x54455854,    // 'TEXT'
};

// What a term stands for: a texture field (its index in the field table), or one
// of the block's own fields, or the preset's name.
enum class DescriptorSlot : std::uint8_t {
    TextureField,
    PresetFile,
    CategoryIndex,
    Seamless,
    ScaleBySource,
    OverwriteSource,
    PresetName,
};

struct DescriptorTerm {
    std::string_view name; // the field's name as the field table and "params show" spell it
    std::uint32_t key;
    DescriptorValue value;
    DescriptorSlot slot;
    std::size_t field; // the field table's index, for TextureField
};

// The filter's event in a recorded action, and the terminology resource's id.
inline constexpr std::uint32_t kDescriptorEvent = fourCharCode("Mrvs");
inline constexpr std::uint32_t kDescriptorSuite = fourCharCode("Mrvs");
inline constexpr int kTerminologyResourceId = 16000;
inline constexpr std::uint32_t kTerminologyProperty = fourCharCode("hstm");
inline constexpr std::string_view kTerminologyScope = "Morvessan procedural textures";

// Every term in the block's order, the preset's name last.
std::span<const DescriptorTerm> descriptorTerms();
// The term under `key`; null for a key that is not ours.
const DescriptorTerm* findDescriptorTerm(std::uint32_t key);

// The terminology resource ('aete'): one suite with the filter's event and a
// parameter per term, little-endian with its codes as native integers, as the
// PiPL is on Windows.
std::vector<std::uint8_t> encodeTerminology();
// The PiPL's terminology property: version 1, class and event, the resource id,
// and the scope string with its zero.
std::vector<std::uint8_t> terminologyPropertyData();

} // namespace morvessan
