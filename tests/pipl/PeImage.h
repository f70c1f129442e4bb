// A small reader of Windows PE images for tests: the export names, the
// imported libraries and the resources, read straight from the file bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace morvessan::test {

class PeImage {
public:
    // Reads and checks the headers; false with a reason in error() when the file is no PE image.
    bool load(const std::string& path);
    const std::string& error() const { return m_error; }
    // The file header's machine: 0x8664 for x64, 0x14C for 32-bit x86.
    std::uint16_t machine() const { return m_machine; }

    std::vector<std::string> exportNames() const;
    std::vector<std::string> importedLibraries() const;
    // The data of the resource of type `typeName` (matched without regard to
    // letter case, as Windows does) and numeric id `id`, first language.
    std::optional<std::vector<std::uint8_t>> resource(const std::string& typeName, std::uint16_t id) const;
    // The same for a numbered type (16 = version information).
    std::optional<std::vector<std::uint8_t>> resource(std::uint16_t type, std::uint16_t id) const;
    // Names of the string-named resource types, as stored.
    std::vector<std::string> namedResourceTypes() const;

private:
    struct Section {
        std::uint32_t virtualAddress;
        std::uint32_t virtualSize;
        std::uint32_t rawOffset;
        std::uint32_t rawSize;
    };
    // File offset of `rva`, checking that `length` bytes are there.
    std::optional<std::size_t> offsetOf(std::uint32_t rva, std::size_t length) const;
    std::uint16_t u16(std::size_t offset) const;
    std::uint32_t u32(std::size_t offset) const;
    std::string cStringAt(std::uint32_t rva) const;
    std::string resourceName(std::uint32_t nameField) const;
    template <typename TypeMatch>
    std::optional<std::vector<std::uint8_t>> findResource(TypeMatch typeMatches, std::uint16_t id) const;

    std::vector<std::uint8_t> m_bytes;
    std::vector<Section> m_sections;
    std::uint32_t m_directories[3][2] = {}; // export, import, resource: rva, size
    std::uint16_t m_machine = 0;
    std::string m_error;
};

} // namespace morvessan::test
