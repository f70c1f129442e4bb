// The descriptor's terms from the field table, and the terminology resource
// built from the same list, so a key the filter writes is always one a host can name.
#include "resources/descriptor/DescriptorTerms.h"

#include "texture/TextureFieldTable.h"

#include <array>
#include <string>

namespace morvessan {

namespace {

constexpr std::size_t kFieldCount = static_cast<std::size_t>(TextureFieldId::Count);

// One key per texture field, in the field table's order.
constexpr std::array<std::uint32_t, kFieldCount> kFieldKeys{
    fourCharCode("mvTy"), fourCharCode("mvNL"), fourCharCode("mvSd"), fourCharCode("mvCl"), fourCharCode("mvOp"),
    fourCharCode("mvTf"), fourCharCode("mvNW"), fourCharCode("mvNP"), fourCharCode("mvBE"), fourCharCode("mvBl"),
    fourCharCode("mvNE"), fourCharCode("mvNs"), fourCharCode("mvTE"), fourCharCode("mvTA"), fourCharCode("mvTP"),
};

constexpr DescriptorValue valueOf(const TextureField& field) {
    if (field.whole) {
        return DescriptorValue::Integer;
    }
    if (field.decimal) {
        return DescriptorValue::Float;
    }
    if (field.flag) {
        return DescriptorValue::Boolean;
    }
    return DescriptorValue::Text; // stops, matrix, weights and path as the field's own text
}

constexpr std::array<DescriptorTerm, kFieldCount + 6> makeTerms() {
    std::array<DescriptorTerm, kFieldCount + 6> terms{};
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        terms[i] = {kTextureFields[i].name, kFieldKeys[i], valueOf(kTextureFields[i]), DescriptorSlot::TextureField, i};
    }
    terms[kFieldCount] = {"presetFile", fourCharCode("mvPF"), DescriptorValue::Text, DescriptorSlot::PresetFile, 0};
    terms[kFieldCount + 1] = {"categoryIndex", fourCharCode("mvCI"), DescriptorValue::Integer,
                              DescriptorSlot::CategoryIndex, 0};
    terms[kFieldCount + 2] = {"seamless", fourCharCode("mvSl"), DescriptorValue::Boolean, DescriptorSlot::Seamless, 0};
    terms[kFieldCount + 3] = {"scaleBySource", fourCharCode("mvSS"), DescriptorValue::Boolean,
                              DescriptorSlot::ScaleBySource, 0};
    terms[kFieldCount + 4] = {"overwriteSource", fourCharCode("mvOS"), DescriptorValue::Boolean,
                              DescriptorSlot::OverwriteSource, 0};
    terms[kFieldCount + 5] = {"presetName", fourCharCode("mvPN"), DescriptorValue::Text, DescriptorSlot::PresetName, 0};
    return terms;
}

constexpr auto kTerms = makeTerms();

constexpr bool keysAreDistinct() {
    for (std::size_t i = 0; i < kTerms.size(); ++i) {
        for (std::size_t j = i + 1; j < kTerms.size(); ++j) {
            if (kTerms[i].key == kTerms[j].key) {
                return false;
            }
        }
    }
    return true;
}
static_assert(keysAreDistinct());

void putU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void putU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

// A counted string; the terminology pads some of them to an even length.
void putString(std::vector<std::uint8_t>& out, std::string_view text, bool align) {
    const std::size_t length = std::min<std::size_t>(text.size(), 255);
    out.push_back(static_cast<std::uint8_t>(length));
    out.insert(out.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length));
    if (align && out.size() % 2 != 0) {
        out.push_back(0);
    }
}

// Parameter flags: optional, a single item, not an enumeration, in the host's sense.
constexpr std::uint16_t kOptionalParameter = 0x8000;

} // namespace

std::span<const DescriptorTerm> descriptorTerms() { return kTerms; }

const DescriptorTerm* findDescriptorTerm(std::uint32_t key) {
    for (const DescriptorTerm& term : kTerms) {
        if (term.key == key) {
            return &term;
        }
    }
    return nullptr;
}

std::vector<std::uint8_t> encodeTerminology() {
    std::vector<std::uint8_t> out;
    out.push_back(1); // major version
    out.push_back(0); // minor version
    putU16(out, 0);   // language: English
    putU16(out, 0);   // script: Roman
    putU16(out, 1);   // one suite
    putString(out, "Morvessan", false);
    putString(out, "Procedural textures", true);
    putU32(out, kDescriptorSuite);
    putU16(out, 1); // level
    putU16(out, 1); // version
    putU16(out, 1); // one event
    putString(out, "Morvessan", false);
    putString(out, "Draws a procedural texture", true);
    putU32(out, kDescriptorSuite); // the event's class
    putU32(out, kDescriptorEvent);
    putU32(out, fourCharCode("null")); // no reply
    putString(out, "", true);
    putU16(out, 0);
    putU32(out, fourCharCode("null")); // no direct parameter
    putString(out, "", true);
    putU16(out, 0);
    putU16(out, static_cast<std::uint16_t>(kTerms.size()));
    for (const DescriptorTerm& term : kTerms) {
        putString(out, term.name, true);
        putU32(out, term.key);
        putU32(out, static_cast<std::uint32_t>(term.value));
        putString(out, "", true);
        putU16(out, kOptionalParameter);
    }
    putU16(out, 0); // classes
    putU16(out, 0); // comparison operators
    putU16(out, 0); // enumerations
    return out;
}

std::vector<std::uint8_t> terminologyPropertyData() {
    std::vector<std::uint8_t> out;
    putU32(out, 1);
    putU32(out, kDescriptorSuite);
    putU32(out, kDescriptorEvent);
    putU16(out, static_cast<std::uint16_t>(kTerminologyResourceId));
    // Hosts without AppleScript tell terminologies apart by this string.
    const std::string_view scope = kTerminologyScope;
    out.insert(out.end(), scope.begin(), scope.end());
    out.push_back(0);
    return out;
}

} // namespace morvessan
