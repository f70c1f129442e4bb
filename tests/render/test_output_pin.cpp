// Every pixel the renderer makes, pinned: shipped presets, random parameter blocks
// over every type and effect, and previews, each hashed and compared with a table.
#include "../host/HostFixture.h"

#include "VXLib/VXImage2.h"
#include "presets/PresetLibrary.h"
#include "renderer/RenderThreads.h"
#include "resources/textures/TexturePictures.h"
#include "VXLib/VXUTIL/VXPath.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <random>

using namespace morvessan;
using namespace morvessan::test;

namespace {

using HashTable = std::map<std::string, std::uint64_t>;

void addBytes(std::uint64_t& h, const std::uint8_t* p, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        h = (h ^ p[i]) * 0x100000001B3ull;
    }
}

std::uint64_t hashOf(const HostImage& image) {
    std::uint64_t h = 0xCBF29CE484222325ull;
    addBytes(h, image.pixels.data(), image.pixels.size());
    return h;
}

std::uint64_t hashOf(const VXImage2* image) {
    std::uint64_t h = 0xCBF29CE484222325ull;
    if (!image) {
        return h;
    }
    const std::int32_t header[3] = {image->width(), image->height(), image->bitCount()};
    addBytes(h, reinterpret_cast<const std::uint8_t*>(header), sizeof header);
    const std::size_t rowBytes = static_cast<std::size_t>(image->width()) * image->bitCount() / 8;
    for (std::int32_t y = 0; y < image->height(); ++y) {
        addBytes(h, image->row(y), rowBytes);
    }
    return h;
}

// Compares by name and prints the whole table of what was rendered, ready to paste.
void expectTable(const HashTable& actual, const HashTable& expected) {
    bool same = actual.size() == expected.size();
    for (const auto& [name, hash] : actual) {
        const auto it = expected.find(name);
        if (it == expected.end() || it->second != hash) {
            ADD_FAILURE() << "output changed: " << name;
            same = false;
        }
    }
    if (!same) {
        std::string text;
        for (const auto& [name, hash] : actual) {
            char line[160];
            std::snprintf(line, sizeof line, "        {\"%s\", 0x%016llXull},\n", name.c_str(),
                          static_cast<unsigned long long>(hash));
            text += line;
        }
        ADD_FAILURE() << "rendered:\n" << text;
    }
}

// Deterministic draws from the standard engine's fixed sequence.
class Draws {
public:
    explicit Draws(std::uint64_t seed) : m_engine(seed) {}
    double unit() { return static_cast<double>(m_engine() >> 11) * 0x1.0p-53; }
    double range(double lo, double hi) { return lo + (hi - lo) * unit(); }
    std::int32_t integer(std::int32_t lo, std::int32_t hi) {
        return lo + static_cast<std::int32_t>(m_engine() % static_cast<std::uint64_t>(hi - lo + 1));
    }
    std::uint32_t bits() { return static_cast<std::uint32_t>(m_engine() >> 32); }

private:
    std::mt19937_64 m_engine;
};

struct RandomRun {
    FilterParameters block{};
    std::int32_t planes = 3;
    bool mask = false;
    bool filterRect = false;
};

void randomTransformation(Draws& d, TextureTransform& t, int kind) {
    const double scale = d.range(0.5, 20.0);
    const double turn = d.range(-3.2, 3.2);
    t = scaling(scale, scale * d.range(0.3, 3.0));
    compose(t, rotation(turn));
    t.m[2] = d.range(-50.0, 50.0);
    t.m[5] = d.range(-50.0, 50.0);
    switch (kind) {
    case 1: // projective, with the horizon crossing the image
        t.m[6] = d.range(-2.0, 2.0);
        t.m[7] = d.range(-2.0, 2.0);
        t.m[8] = d.range(-0.5, 1.0);
        break;
    case 2: // huge coordinates
        t.m[0] *= 1e12;
        t.m[4] *= 3e15;
        t.m[2] = -7e17;
        break;
    case 3: // singular
        t.m[3] = t.m[0];
        t.m[4] = t.m[1];
        break;
    case 4: // values beyond any number
        t.m[d.integer(0, 8)] = std::numeric_limits<double>::quiet_NaN();
        t.m[d.integer(0, 5)] = std::numeric_limits<double>::infinity();
        break;
    case 5: // a vanishing denominator somewhere
        t.m[6] = 1.0;
        t.m[7] = 0.0;
        t.m[8] = -0.5;
        break;
    default: break;
    }
}

RandomRun randomRun(Draws& d, int i, const std::string& picture) {
    RandomRun run;
    writeDefaultParameters(run.block);
    TextureFields& f = run.block.texture;
    f.type = i % 6; // 0 and 5 are no type: they draw clouds
    f.noiseLevel = i % 13 + (i % 3 == 0 ? d.unit() : 0.0);
    if (i == 19) {
        f.noiseLevel = std::numeric_limits<double>::quiet_NaN();
    }
    f.noiseSeed = d.integer(1, 32767);
    f.colourCount = i == 7 ? 0 : (i == 11 ? 9 : d.integer(1, 8));
    for (int s = 0; s < kMaxColourStops; ++s) {
        f.colours[s] = d.bits();
        f.positions[s] = d.integer(-5, 260);
    }
    f.totalOpacity = i % 5 == 0 ? 100.0 : d.range(0.0, 120.0);
    randomTransformation(d, f.transformation, i % 7);
    for (double& w : f.noiseWeights) {
        w = d.range(-0.2, 1.0);
    }
    f.noiseParameter = d.range(0.1, 50.0);
    f.blurEnabled = i % 4 == 1 || i % 9 == 0;
    f.blur = d.integer(0, 110);
    f.noiseEnabled = i % 3 == 1 || i % 8 == 0;
    f.noise = d.integer(1, 100);
    f.textureEnabled = i % 5 == 2 || i % 7 == 3;
    f.textureAmount = d.integer(1, 100);
    copyToField(f.texturePath, kPathSize, i % 10 == 2 ? std::string("no such picture.png") : picture);
    run.block.scaleBySource = i % 4 == 3 || i % 6 == 0;
    run.block.overwriteSource = i % 8 == 3 || i % 6 == 0;
    run.planes = i % 2 == 0 ? 3 : 4;
    run.mask = i % 3 == 2;
    run.filterRect = i % 4 >= 2;
    return run;
}

HostMask rampMask(std::int32_t w, std::int32_t h) {
    HostMask mask(w, h, 0);
    for (std::int32_t y = 0; y < h; ++y) {
        for (std::int32_t x = 0; x < w; ++x) {
            mask.at(x, y) = static_cast<std::uint8_t>(x * 2 + y * 3 < 255 ? x * 2 + y * 3 : 255 - x % 7);
        }
    }
    return mask;
}

class OutputPin : public PluginTest {
protected:
    void SetUp() override {
        PluginTest::SetUp();
        m_textures = asFolder((m_folder / "Morvessan Textures").string());
        std::filesystem::create_directories(m_textures);
        for (const TexturePicture& picture : makeTexturePictures()) {
            std::string error;
            ASSERT_TRUE(writeGreyPng(picture, m_textures + picture.name, error)) << error;
        }
    }

    std::string m_textures;
};

} // namespace

TEST_F(OutputPin, ShippedPresets) {
    const char* source = std::getenv("MORVESSAN_SOURCE_DIR");
    ASSERT_NE(source, nullptr) << "MORVESSAN_SOURCE_DIR is not set";
    PresetLibrary library;
    library.setTexturesFolder(m_textures);
    library.discoverPresetFilesIn(asFolder((std::filesystem::path(source) / "resources" / "presets").string()),
                                  TextureFields{});
    HashTable actual;
    int count = 0;
    for (int f = 0; f < library.fileCount(); ++f) {
        const PresetFile& file = library.file(f);
        for (int c = 0; c < file.categoryCount(); ++c) {
            for (int i = 0; i < file.presetCount(c); ++i) {
                const TexturePreset& preset = file.preset(c, i);
                FilterHost host;
                host.setImage(patternImage(157, 133, 3));
                host.setPlayInfo(plugInDialogSilent);
                giveBlock(host, [&](FilterParameters& b) { storePresetInBlock(b, preset); });
                ASSERT_EQ(host.run(), noErr) << preset.name;
                actual[file.name() + "/" + std::to_string(c) + "/" + std::to_string(i) + " " + preset.name] =
                    hashOf(host.image());
                ++count;
            }
        }
    }
    EXPECT_GE(count, 40);
    expectTable(actual, {
#include "pinned_presets.inc"
                        });
}

TEST_F(OutputPin, RandomBlocks) {
    Draws d(20240611);
    HashTable actual;
    for (int i = 0; i < 28; ++i) {
        const RandomRun run = randomRun(d, i, m_textures + "Bricks.png");
        FilterHost host;
        const std::int32_t w = 150 + i;
        const std::int32_t h = 140 - i;
        host.setImage(patternImage(w, h, run.planes));
        if (run.mask) {
            host.setMask(rampMask(w, h));
        }
        if (run.filterRect) {
            host.setFilterRect(VXPSRect{7 + i, 3, w - 5, h - i / 2});
        }
        host.setPlayInfo(plugInDialogSilent);
        giveBlock(host, [&](FilterParameters& b) { b = run.block; });
        ASSERT_EQ(host.run(), noErr) << i;
        char name[16];
        std::snprintf(name, sizeof name, "block %02d", i);
        actual[name] = hashOf(host.image());
    }
    expectTable(actual, {
#include "pinned_blocks.inc"
                        });
}

TEST_F(OutputPin, PreviewsAtTwoZoomLevelsAndTheRunAfterThem) {
    Draws d(77);
    HashTable actual;
    for (int i = 0; i < 3; ++i) {
        RandomRun run = randomRun(d, i * 5 + 1, m_textures + "Canvas.png");
        if (i == 0) {
            writeDefaultParameters(run.block);
        }
        run.block.texture.noiseEnabled = i == 1;
        run.block.texture.textureEnabled = i == 2;
        run.block.texture.noiseSeed = 1 + i;
        const std::string prefix = "preview " + std::to_string(i) + " ";
        useDialog([&](PSMorvessanPlugin& plugin) {
            plugin.SetPreviewSize(100, 90);
            actual[prefix + "fitted"] = hashOf(plugin.GetOutputImage());
            plugin.ZoomIn();
            plugin.ZoomIn();
            actual[prefix + "zoomed"] = hashOf(plugin.GetOutputImage());
            plugin.ScrollPreview(-17, 23);
            actual[prefix + "scrolled"] = hashOf(plugin.GetOutputImage());
            return true;
        });
        FilterHost host;
        host.setImage(patternImage(290, 250, run.planes));
        if (i == 1) {
            host.setMask(rampMask(290, 250));
        }
        host.setPlayInfo(std::nullopt);
        giveBlock(host, [&](FilterParameters& b) { b = run.block; });
        ASSERT_EQ(host.run(), noErr) << i;
        actual[prefix + "run"] = hashOf(host.image());
    }
    expectTable(actual, {
#include "pinned_previews.inc"
                        });
}

TEST_F(OutputPin, TilesAlongARowGiveTheSameBytesOnAnyNumberOfThreads) {
    // Wide enough for two groups of tiles along each row and a short last band,
    // with a mask and a filter area that cuts tiles; grain draws in tile order,
    // so it keeps tiles one by one and must agree too.
    Draws d(77);
    for (int i = 0; i < 4; ++i) {
        RandomRun run = randomRun(d, i, m_textures + "Bricks.png");
        run.block.texture.noiseEnabled = i == 3;
        const std::int32_t w = 2100 + 37 * i;
        const std::int32_t h = 150;
        std::uint64_t first = 0;
        for (const int threads : {1, 2, 5}) {
            setRenderThreadLimit(threads);
            FilterHost host;
            host.setImage(patternImage(w, h, run.planes));
            host.setMask(rampMask(w, h));
            host.setFilterRect(VXPSRect{5 + i, 3, w - 9, h - 2});
            host.setPlayInfo(plugInDialogSilent);
            giveBlock(host, [&](FilterParameters& b) { b = run.block; });
            ASSERT_EQ(host.run(), noErr) << i;
            const std::uint64_t hash = hashOf(host.image());
            if (threads == 1) {
                first = hash;
            }
            EXPECT_EQ(hash, first) << "block " << i << ", " << threads << " threads";
        }
        setRenderThreadLimit(0);
    }
}
