// Fuzzes a presets folder as a whole: up to four files (the input split at NUL
// bytes) are discovered, loaded and saved. A file read whole must be written so
// that it reads back the same; a damaged one must be left on disk byte for byte.
#include "VXLib/VXUTIL/VXPortablePlatform.h"
#include "presets/PresetLibrary.h"
#include "presets/PresetManagement.h"
#include "presets/PresetText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using namespace morvessan;
namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fs::path folder =
        fs::temp_directory_path() / ("morvessan-fuzz-presets-" + std::to_string(std::random_device()()));
    // A fresh platform each time: it keeps every message shown.
    auto platform = std::make_unique<VXPortablePlatform>();
    platform->setSettingsFile("");
    vxSetPlatform(std::move(platform));
    fs::remove_all(folder);
    fs::create_directories(folder);

    std::vector<std::string> texts;
    const std::string input(reinterpret_cast<const char*>(data), size);
    for (std::size_t start = 0; texts.size() < 4;) {
        const std::size_t end = input.find('\0', start);
        texts.push_back(input.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    for (std::size_t i = 0; i < texts.size(); ++i) {
        std::ofstream(folder / ("F" + std::to_string(i) + ".txt"), std::ios::binary) << texts[i];
    }

    PresetLibrary library;
    library.setTexturesFolder("T/");
    library.discoverPresetFilesIn(folder.string(), TextureFields{});
    if (library.fileCount() != static_cast<int>(texts.size())) {
        std::abort();
    }
    saveAllPresetFiles(library);
    for (int f = 0; f < library.fileCount(); ++f) {
        const PresetFile& file = library.file(f);
        const std::string onDisk = readFile(file.path());
        const std::string original = texts[std::stoul(file.name().substr(1))];
        if (!file.readWhole()) {
            if (onDisk != original || fs::exists(folder / (file.name() + ".bak"))) {
                std::abort(); // a damaged file is never written, nor its backup
            }
            continue;
        }
        PresetReadStop stop;
        const auto again = readPresetText(onDisk, "T/", &stop);
        if (onDisk != file.text() || !stop.whole() || static_cast<int>(again.size()) != file.categoryCount()) {
            std::abort();
        }
        for (int c = 0; c < file.categoryCount(); ++c) {
            if (again[static_cast<std::size_t>(c)].presets.size() != file.category(c).presets.size()) {
                std::abort();
            }
        }
        if (readFile(folder / (file.name() + ".bak")) != original) {
            std::abort();
        }
    }
    return 0;
}
