// PE image reader for tests. Bounds are checked everywhere: a broken file
// gives empty answers, never a read past the end.
#include "tests/pipl/PeImage.h"

#include <fstream>
#include <iterator>

namespace morvessan::test {

namespace {
char upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
} // namespace

std::uint16_t PeImage::u16(std::size_t offset) const {
    if (offset + 2 > m_bytes.size())
        return 0;
    return std::uint16_t(m_bytes[offset] | (m_bytes[offset + 1] << 8));
}

std::uint32_t PeImage::u32(std::size_t offset) const {
    if (offset + 4 > m_bytes.size())
        return 0;
    return std::uint32_t(m_bytes[offset]) | (std::uint32_t(m_bytes[offset + 1]) << 8) |
           (std::uint32_t(m_bytes[offset + 2]) << 16) | (std::uint32_t(m_bytes[offset + 3]) << 24);
}

bool PeImage::load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        m_error = "cannot open " + path;
        return false;
    }
    m_bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (m_bytes.size() < 64 || m_bytes[0] != 'M' || m_bytes[1] != 'Z') {
        m_error = "no MZ header";
        return false;
    }
    const std::size_t pe = u32(0x3C);
    if (u32(pe) != 0x00004550) {
        m_error = "no PE signature";
        return false;
    }
    const std::uint16_t sectionCount = u16(pe + 6);
    const std::uint16_t optionalSize = u16(pe + 20);
    const std::size_t optional = pe + 24;
    // PE32 (32-bit) has a shorter optional header than PE32+: its data directories start earlier.
    std::size_t directories = 0;
    switch (u16(optional)) {
    case 0x10B: directories = optional + 92; break;
    case 0x20B: directories = optional + 108; break;
    default: m_error = "neither a 32-bit (PE32) nor a 64-bit (PE32+) image"; return false;
    }
    m_machine = u16(pe + 4);
    const std::uint32_t directoryCount = u32(directories);
    for (std::uint32_t i = 0; i < 3 && i < directoryCount; ++i) {
        m_directories[i][0] = u32(directories + 4 + 8 * i);
        m_directories[i][1] = u32(directories + 8 + 8 * i);
    }
    const std::size_t sections = optional + optionalSize;
    if (sections + 40 * std::size_t(sectionCount) > m_bytes.size()) {
        m_error = "section table past the end";
        return false;
    }
    for (std::uint16_t i = 0; i < sectionCount; ++i) {
        const std::size_t s = sections + 40 * i;
        m_sections.push_back({u32(s + 12), u32(s + 8), u32(s + 20), u32(s + 16)});
    }
    return true;
}

std::optional<std::size_t> PeImage::offsetOf(std::uint32_t rva, std::size_t length) const {
    for (const Section& s : m_sections) {
        if (rva >= s.virtualAddress && rva - s.virtualAddress < s.rawSize) {
            const std::size_t offset = s.rawOffset + (rva - s.virtualAddress);
            if (offset + length <= m_bytes.size() && (rva - s.virtualAddress) + length <= s.rawSize) {
                return offset;
            }
        }
    }
    return std::nullopt;
}

std::string PeImage::cStringAt(std::uint32_t rva) const {
    const auto offset = offsetOf(rva, 1);
    std::string text;
    for (std::size_t i = offset.value_or(m_bytes.size()); i < m_bytes.size() && m_bytes[i]; ++i) {
        text.push_back(char(m_bytes[i]));
    }
    return text;
}

std::vector<std::string> PeImage::exportNames() const {
    std::vector<std::string> names;
    const auto directory = offsetOf(m_directories[0][0], 40);
    if (!m_directories[0][0] || !directory) {
        return names;
    }
    const std::uint32_t count = u32(*directory + 24);
    const std::uint32_t table = u32(*directory + 32);
    for (std::uint32_t i = 0; i < count; ++i) {
        const auto entry = offsetOf(table + 4 * i, 4);
        if (!entry)
            break;
        names.push_back(cStringAt(u32(*entry)));
    }
    return names;
}

std::vector<std::string> PeImage::importedLibraries() const {
    std::vector<std::string> names;
    if (!m_directories[1][0]) {
        return names;
    }
    for (std::uint32_t rva = m_directories[1][0];; rva += 20) {
        const auto descriptor = offsetOf(rva, 20);
        if (!descriptor || u32(*descriptor + 12) == 0)
            break;
        names.push_back(cStringAt(u32(*descriptor + 12)));
    }
    return names;
}

// Resource names are counted UTF-16 strings; the tests only meet ASCII ones.
std::string PeImage::resourceName(std::uint32_t nameField) const {
    const auto base = offsetOf(m_directories[2][0], 2);
    if (!base)
        return {};
    const std::size_t offset = *base + (nameField & 0x7FFFFFFF);
    std::string name;
    const std::uint16_t length = u16(offset);
    for (std::uint16_t i = 0; i < length && offset + 4 + 2 * i <= m_bytes.size(); ++i) {
        name.push_back(char(u16(offset + 2 + 2 * i)));
    }
    return name;
}

std::vector<std::string> PeImage::namedResourceTypes() const {
    std::vector<std::string> types;
    const auto root = offsetOf(m_directories[2][0], 16);
    if (!m_directories[2][0] || !root)
        return types;
    const std::uint16_t named = u16(*root + 12);
    for (std::uint16_t i = 0; i < named; ++i) {
        types.push_back(resourceName(u32(*root + 16 + 8 * i)));
    }
    return types;
}

template <typename TypeMatch>
std::optional<std::vector<std::uint8_t>> PeImage::findResource(TypeMatch typeMatches, std::uint16_t id) const {
    const auto root = offsetOf(m_directories[2][0], 16);
    if (!m_directories[2][0] || !root)
        return std::nullopt;
    const std::size_t base = *root;
    // Entries: name or id, then the offset of a subdirectory (top bit set) or of a data entry.
    auto subdirectory = [&](std::size_t directory, auto&& pick) -> std::optional<std::uint32_t> {
        const std::uint16_t named = u16(directory + 12);
        const std::uint16_t numbered = u16(directory + 14);
        for (std::uint32_t i = 0; i < std::uint32_t(named) + numbered; ++i) {
            const std::size_t entry = directory + 16 + 8 * i;
            if (entry + 8 > m_bytes.size())
                break;
            if (pick(u32(entry), i < named))
                return u32(entry + 4);
        }
        return std::nullopt;
    };
    const auto type = subdirectory(base, [&](std::uint32_t name, bool isNamed) { return typeMatches(name, isNamed); });
    if (!type || !(*type & 0x80000000u))
        return std::nullopt;
    const auto name = subdirectory(base + (*type & 0x7FFFFFFF),
                                   [&](std::uint32_t name, bool isNamed) { return !isNamed && name == id; });
    if (!name || !(*name & 0x80000000u))
        return std::nullopt;
    const auto language = subdirectory(base + (*name & 0x7FFFFFFF), [](std::uint32_t, bool) { return true; });
    if (!language || (*language & 0x80000000u))
        return std::nullopt;
    const std::size_t dataEntry = base + *language;
    const std::uint32_t rva = u32(dataEntry);
    const std::uint32_t size = u32(dataEntry + 4);
    const auto data = offsetOf(rva, size);
    if (!data)
        return std::nullopt;
    return std::vector<std::uint8_t>(m_bytes.begin() + *data, m_bytes.begin() + *data + size);
}

std::optional<std::vector<std::uint8_t>> PeImage::resource(const std::string& typeName, std::uint16_t id) const {
    return findResource(
        [&](std::uint32_t name, bool isNamed) {
            if (!isNamed)
                return false;
            const std::string stored = resourceName(name);
            if (stored.size() != typeName.size())
                return false;
            for (std::size_t i = 0; i < stored.size(); ++i) {
                if (upper(stored[i]) != upper(typeName[i]))
                    return false;
            }
            return true;
        },
        id);
}

std::optional<std::vector<std::uint8_t>> PeImage::resource(std::uint16_t type, std::uint16_t id) const {
    return findResource([&](std::uint32_t name, bool isNamed) { return !isNamed && name == type; }, id);
}

} // namespace morvessan::test
