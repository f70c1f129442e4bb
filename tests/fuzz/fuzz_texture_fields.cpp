// Fuzzes FIELD=VALUE reading, the colour stop list among it: any text must be
// read or refused without harm, and what a field shows must read back to the
// same record.
#include "texture/TextureFieldTable.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

using namespace morvessan;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::size_t eq = text.find('=');
    if (eq == std::string_view::npos) {
        return 0;
    }
    const TextureField* field = findTextureField(text.substr(0, eq));
    if (!field) {
        return 0;
    }
    TextureFields fields;
    if (!setTextureField(fields, *field, text.substr(eq + 1)).empty()) {
        return 0;
    }
    TextureFields again = fields;
    if (!setTextureField(again, *field, textureFieldText(fields, *field)).empty() ||
        std::memcmp(&again, &fields, sizeof fields) != 0) {
        std::abort();
    }
    return 0;
}
