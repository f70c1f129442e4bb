// Every value "params show" prints is taken back by "params set": each shipped
// preset and a few hundred random blocks go show -> set -> the same bytes.
#include "CliTest.h"

#include "cli/CliBlockText.h"
#include "cli/CliSupport.h"
#include "presets/PresetLibrary.h"
#include "texture/TextureFieldTable.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace {

using namespace morvessan::cli;

class CliRoundTrip : public Cli {};

FilterParameters freshBlock() {
    FilterParameters block;
    std::memset(static_cast<void*>(&block), 0, sizeof block);
    writeDefaultParameters(block);
    return block;
}

// The block that the printed fields of `source` set on a fresh block.
FilterParameters throughText(const FilterParameters& source) {
    FilterParameters block = freshBlock();
    for (const auto& [name, value] : blockFieldTexts(source)) {
        try {
            applyBlockAssignment(block, name + "=" + value);
        } catch (const JobError& error) {
            ADD_FAILURE() << error.what();
        }
    }
    return block;
}

bool sameBytes(const FilterParameters& a, const FilterParameters& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// A preset's fields, member by member, into a fresh block: the padding bytes between
// them stay zero, as a block set by name has them.
FilterParameters presetBlock(const TexturePreset& preset) {
    FilterParameters block = freshBlock();
    TextureFields& t = block.texture;
    t.type = preset.type;
    t.noiseLevel = preset.noiseLevel;
    t.noiseSeed = preset.noiseSeed;
    std::memcpy(t.colours, preset.colours, sizeof t.colours);
    std::memcpy(t.positions, preset.positions, sizeof t.positions);
    t.colourCount = preset.colourCount;
    t.totalOpacity = preset.totalOpacity;
    t.transformation = preset.transformation;
    std::memcpy(t.noiseWeights, preset.noiseWeights, sizeof t.noiseWeights);
    t.noiseParameter = preset.noiseParameter;
    t.blurEnabled = preset.blurEnabled;
    t.blur = preset.blur;
    t.noiseEnabled = preset.noiseEnabled;
    t.noise = preset.noise;
    t.textureEnabled = preset.textureEnabled;
    t.textureAmount = preset.textureAmount;
    copyToField(t.texturePath, kPathSize, readField(preset.texturePath, kPathSize));
    return block;
}

// Our own draws from a fixed seed: the same blocks on every platform.
class Draws {
public:
    std::uint32_t next() { return static_cast<std::uint32_t>(m_engine()); }
    std::int32_t between(std::int32_t low, std::int32_t high) {
        return low + static_cast<std::int32_t>(next() % static_cast<std::uint32_t>(high - low + 1));
    }
    double anyDouble() {
        // Finite doubles of every size and sign, from raw bits.
        for (;;) {
            const std::uint64_t bits = static_cast<std::uint64_t>(next()) << 32 | next();
            double value = 0;
            std::memcpy(&value, &bits, sizeof value);
            if (std::isfinite(value)) {
                return value;
            }
        }
    }
    std::string text(std::size_t longest) {
        std::string out(static_cast<std::size_t>(between(0, static_cast<std::int32_t>(longest))), ' ');
        for (char& c : out) {
            c = static_cast<char>(between(0x20, 0x7E));
        }
        return out;
    }

private:
    std::mt19937 m_engine{20261208};
};

FilterParameters randomBlock(Draws& d) {
    FilterParameters b = freshBlock();
    TextureFields& t = b.texture;
    t.type = d.between(1, 4);
    t.noiseLevel = d.between(1, 12);
    t.noiseSeed = d.between(0, 32767);
    t.colourCount = d.between(1, 8);
    std::int32_t position = 0;
    for (int i = 0; i < t.colourCount; ++i) {
        t.colours[i] = d.next();
        position = d.between(position, 255);
        t.positions[i] = position;
    }
    t.totalOpacity = d.between(0, 100);
    for (double& m : t.transformation.m) {
        const std::int32_t kind = d.between(0, 19);
        m = kind == 0   ? std::numeric_limits<double>::infinity()
            : kind == 1 ? -std::numeric_limits<double>::infinity()
            : kind == 2 ? std::numeric_limits<double>::quiet_NaN()
                        : d.anyDouble();
    }
    for (double& w : t.noiseWeights) {
        // The edges as a preset file's six digits leave them, and anything between.
        const std::int32_t kind = d.between(0, 3);
        w = kind == 0   ? 0.000488281
            : kind == 1 ? 1.0
                        : kLightestNoiseWeight + (1 - kLightestNoiseWeight) * (d.next() / 4294967296.0);
    }
    t.noiseParameter = d.between(10, 500) / 10.0;
    t.blurEnabled = static_cast<std::uint8_t>(d.between(0, 1));
    t.blur = d.between(1, 100);
    t.noiseEnabled = static_cast<std::uint8_t>(d.between(0, 1));
    t.noise = d.between(1, 100);
    t.textureEnabled = static_cast<std::uint8_t>(d.between(0, 1));
    t.textureAmount = d.between(1, 100);
    copyToField(t.texturePath, kPathSize, d.text(kPathSize - 1));
    copyToField(b.presetFile, kPathSize, d.text(40));
    b.categoryIndex = static_cast<std::int32_t>(d.next());
    b.scaleBySource = static_cast<std::uint8_t>(d.between(0, 1));
    b.overwriteSource = static_cast<std::uint8_t>(d.between(0, 1));
    return b;
}

TEST(ParamsRoundTrip, EveryShippedPresetAndRandomBlocksReadBackToTheSameBytes) {
    const fs::path beside = fs::path(MORVESSAN_PROGRAM).parent_path();
    PresetLibrary library;
    library.setTexturesFolder((beside / "Morvessan Textures").string() + "/");
    library.discoverPresetFilesIn((beside / "Morvessan Presets").string(), freshBlock().texture);
    int presets = 0;
    for (int f = 0; f < library.fileCount(); ++f) {
        const PresetFile& file = library.file(f);
        for (int c = 0; c < file.categoryCount(); ++c) {
            for (int p = 0; p < file.presetCount(c); ++p, ++presets) {
                FilterParameters source = presetBlock(file.preset(c, p));
                copyToField(source.presetFile, kPathSize, file.name());
                source.categoryIndex = c;
                EXPECT_TRUE(sameBytes(source, throughText(source))) << file.name() << " / " << file.presetName(c, p);
            }
        }
    }
    EXPECT_GE(presets, 50);

    Draws draws;
    for (int i = 0; i < 300; ++i) {
        const FilterParameters source = randomBlock(draws);
        ASSERT_TRUE(sameBytes(source, throughText(source))) << "block " << i;
    }
}

TEST(ParamsRoundTrip, EdgesTakeSixDigitsOfSlackAndNoMore) {
    FilterParameters b = freshBlock();
    // 2^-11 and 1 as six digits leave them are kept as typed; a seventh digit off is not.
    EXPECT_NO_THROW(applyBlockAssignment(b, "noiseWeights=1.00000499,0.000488281"));
    EXPECT_EQ(b.texture.noiseWeights[0], 1.00000499);
    EXPECT_EQ(b.texture.noiseWeights[1], 0.000488281);
    EXPECT_THROW(applyBlockAssignment(b, "noiseWeights=1.0000051"), JobError);
    EXPECT_THROW(applyBlockAssignment(b, "noiseWeights=0.00048827"), JobError);
    EXPECT_THROW(applyBlockAssignment(b, "noiseParameter=50.001"), JobError);
    EXPECT_THROW(applyBlockAssignment(b, "totalOpacity=100.00001"), JobError);
    // Infinities and NaN only where any number is allowed.
    EXPECT_NO_THROW(applyBlockAssignment(b, "transformation=inf,-inf,nan,1,0,0,0,1,0"));
    EXPECT_TRUE(std::isnan(b.texture.transformation.m[2]));
    EXPECT_THROW(applyBlockAssignment(b, "noiseWeights=inf"), JobError);
    EXPECT_THROW(applyBlockAssignment(b, "transformation=Infinity,0,0,0,1,0,0,0,1"), JobError);
    // The block's own fields.
    EXPECT_NO_THROW(applyBlockAssignment(b, "categoryIndex=-2147483648"));
    EXPECT_EQ(b.categoryIndex, std::numeric_limits<std::int32_t>::min());
    EXPECT_THROW(applyBlockAssignment(b, "categoryIndex=2147483648"), JobError);
    EXPECT_THROW(applyBlockAssignment(b, "scaleBySource=maybe"), JobError);
}

TEST_F(CliRoundTrip, ParamsShowAndSetRoundTripThroughTheProgram) {
    FilterParameters source = freshBlock();
    source.texture.noiseWeights[11] = 0.000488281;
    source.texture.transformation.m[4] = -1e300;
    copyToField(source.presetFile, kPathSize, "Essentials");
    source.categoryIndex = 3;
    source.scaleBySource = 1;
    std::ofstream(at("a.bin"), std::ios::binary).write(reinterpret_cast<const char*>(&source), sizeof source);
    Result r = run("params show " + p("a.bin"), false);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("presetFile: Essentials\n"), std::string::npos) << r.out;
    std::string assignments;
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t colon = line.find(": ");
        assignments += " " + q(line.substr(0, colon) + "=" + (colon + 2 <= line.size() ? line.substr(colon + 2) : ""));
    }
    r = run("params set " + p("b.bin") + assignments, false);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readText(at("a.bin")), readText(at("b.bin")));

    // JSON names the schema, and the schema file names every key; a damaged block
    // is shown as it is, but what it shows is not written back.
    source.texture.transformation.m[4] = -std::numeric_limits<double>::infinity();
    std::ofstream(at("c.bin"), std::ios::binary).write(reinterpret_cast<const char*>(&source), sizeof source);
    r = run("params show --json " + p("c.bin"), false);
    EXPECT_NE(r.out.find(",\n  \"schema\": 1\n}\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("-1e999"), std::string::npos) << r.out;
    const std::string schema = readText(fs::path(MORVESSAN_SOURCE_DIR) / "docs" / "params-schema.json");
    for (const std::string& key : everyFieldName()) {
        EXPECT_NE(schema.find("\"" + key + "\": {"), std::string::npos) << key;
    }
    // The schema's ranges are the field table's.
    for (const TextureField& field : textureFields()) {
        if (field.kind != TextureFieldKind::Integer && field.kind != TextureFieldKind::Decimal) {
            continue;
        }
        const std::size_t at = schema.find("\"" + std::string(field.name) + "\": {");
        const std::string line = schema.substr(at, schema.find('\n', at) - at);
        EXPECT_NE(line.find(formatShortest(field.low) + ".." + formatShortest(field.high)), std::string::npos) << line;
    }
    EXPECT_NE(schema.find("\"maxItems\": " + std::to_string(kMaxColourStops)), std::string::npos);
    EXPECT_NE(
        schema.find("\"minItems\": " + std::to_string(kMaxOctaves) + ", \"maxItems\": " + std::to_string(kMaxOctaves)),
        std::string::npos);
}

} // namespace
