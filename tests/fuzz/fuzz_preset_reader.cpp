// Fuzzes the preset text reader from memory: any bytes must read without harm,
// and whatever was read must be written so that it reads back whole.
#include "presets/PresetFile.h"
#include "presets/PresetText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace morvessan;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    PresetFile file;
    file.setTexturesFolder("C:\\Textures\\");
    file.loadText(text);

    const std::string written = file.text();
    PresetReadStop stop;
    const auto again = readPresetText(written, "C:\\Textures\\", &stop);
    if (static_cast<int>(again.size()) != file.categoryCount() || !stop.whole()) {
        std::abort();
    }
    for (int c = 0; c < file.categoryCount(); ++c) {
        if (static_cast<int>(again[static_cast<std::size_t>(c)].presets.size()) != file.presetCount(c)) {
            std::abort();
        }
    }
    return 0;
}
