// Default values and fixed-size string fields of the texture record.
#include "texture/TexturePreset.h"

#include <algorithm>
#include <cstring>

namespace morvessan {

void copyToField(char* field, std::size_t size, const std::string& text) {
    if (size == 0) {
        return;
    }
    const std::size_t n = std::min(text.size(), size - 1);
    std::memcpy(field, text.data(), n);
    field[n] = '\0';
}

std::string readField(const char* field, std::size_t size) {
    const void* end = std::memchr(field, '\0', size);
    const std::size_t n = end ? static_cast<std::size_t>(static_cast<const char*>(end) - field) : size;
    return std::string(field, n);
}

} // namespace morvessan
