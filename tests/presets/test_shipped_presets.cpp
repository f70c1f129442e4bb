// The preset files shipped in "Morvessan Presets": each reads whole, is already
// in the form the writer produces, and holds values the editors accept.
#include "presets/PresetLibrary.h"
#include "presets/PresetText.h"
#include "VXLib/VXUTIL/VXPath.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

using namespace morvessan;

namespace {

// The test runner names the source tree in MORVESSAN_SOURCE_DIR.
std::string shippedFolder() {
    const char* source = std::getenv("MORVESSAN_SOURCE_DIR");
    return source ? asFolder((std::filesystem::path(source) / "resources" / "presets").string()) : std::string();
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

int countLinesStartingWith(const std::string& text, const std::string& key) {
    int count = 0;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        count += line.rfind(key, 0) == 0 ? 1 : 0;
    }
    return count;
}

} // namespace

TEST(ShippedPresets, EveryFileReadsWholeAndIsWrittenAsItStands) {
    ASSERT_FALSE(shippedFolder().empty()) << "MORVESSAN_SOURCE_DIR is not set";
    const std::string textures = std::string("T") + kPathSeparator;
    PresetLibrary library;
    library.setTexturesFolder(textures);
    library.discoverPresetFilesIn(shippedFolder(), TextureFields{});
    ASSERT_GE(library.fileCount(), 3);

    int presets = 0;
    std::set<int> types;
    std::set<int> stopCounts;
    bool transparent = false, rotated = false, squashed = false, zoomed = false;
    bool blur = false, noise = false, texture = false;
    const std::set<std::string> pictures = {"Canvas.png",    "Paper.png", "Bricks.png",
                                            "Scratches.png", "Cells.png", "Noise.png"};
    for (int f = 0; f < library.fileCount(); ++f) {
        const PresetFile& file = library.file(f);
        SCOPED_TRACE(file.name());
        const std::string text = readFile(file.path());
        ASSERT_FALSE(text.empty());
        EXPECT_EQ(file.categoryCount(), countLinesStartingWith(text, "Category "));
        EXPECT_GE(file.categoryCount(), 3);
        int inFile = 0;
        for (int c = 0; c < file.categoryCount(); ++c) {
            EXPECT_TRUE(file.isCategoryNameFree(file.categoryName(c) + " (new)"));
            for (int i = 0; i < file.presetCount(c); ++i) {
                const TexturePreset& p = file.preset(c, i);
                SCOPED_TRACE(p.name);
                ++inFile;
                types.insert(p.type);
                stopCounts.insert(p.colourCount);
                EXPECT_TRUE(p.noiseLevel >= 1 && p.noiseLevel <= 12);
                EXPECT_TRUE(p.noiseSeed >= 0 && p.noiseSeed <= 32767);
                EXPECT_TRUE(p.totalOpacity >= 0 && p.totalOpacity <= 100);
                EXPECT_TRUE(p.noiseParameter >= 0.1 && p.noiseParameter <= 50);
                for (int s = 0; s < p.colourCount; ++s) {
                    EXPECT_TRUE(p.positions[s] >= 0 && p.positions[s] <= 255);
                    EXPECT_TRUE(s == 0 || p.positions[s] >= p.positions[s - 1]);
                    transparent |= (p.colours[s] >> 24) < 255;
                }
                for (double w : p.noiseWeights) {
                    EXPECT_TRUE(w >= 0.000488281 && w <= 1.0);
                }
                const auto& m = p.transformation.m;
                EXPECT_EQ(m[6], 0.0);
                EXPECT_EQ(m[7], 0.0);
                EXPECT_EQ(m[8], 1.0);
                rotated |= m[1] != 0.0 || m[3] != 0.0;
                squashed |= m[0] * m[0] + m[3] * m[3] > 4 * (m[1] * m[1] + m[4] * m[4]) ||
                            m[1] * m[1] + m[4] * m[4] > 4 * (m[0] * m[0] + m[3] * m[3]);
                zoomed |= m[0] * m[4] - m[1] * m[3] > 4.0;
                blur |= p.blurEnabled && p.blur >= 1 && p.blur <= 100;
                noise |= p.noiseEnabled && p.noise >= 1 && p.noise <= 100;
                if (p.textureEnabled) {
                    texture = true;
                    const std::string path = readField(p.texturePath, kPathSize);
                    EXPECT_EQ(pictures.count(path.substr(textures.size())), 1u) << path;
                    EXPECT_TRUE(p.textureAmount >= 1 && p.textureAmount <= 100);
                }
            }
        }
        EXPECT_EQ(inFile, countLinesStartingWith(text, "Preset "));
        presets += inFile;
        EXPECT_EQ(file.text(), text);
    }
    EXPECT_GE(presets, 40);
    EXPECT_EQ(types, (std::set<int>{kCloud, kFire, kMarble, kWood}));
    EXPECT_EQ(stopCounts.count(1), 1u);
    EXPECT_EQ(stopCounts.count(8), 1u);
    EXPECT_TRUE(transparent && rotated && squashed && zoomed);
    EXPECT_TRUE(blur && noise && texture);
}
