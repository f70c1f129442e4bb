// The preset text format: the tokenizer, the exact default file, the reader's
// rules for every line, and what the writer puts out.
#include "presets/PresetText.h"
#include "texture/TexturePreset.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace morvessan;

namespace {

using Tokens = std::vector<std::string>;

const char* const kDefaultLines[] = {
    "Category 'Default'",
    "Preset 'Default'",
    "Type: Cloud",
    "NoiseLevel: 8",
    "NoiseSeed: 1",
    "Colours: 00000000, 0, FFFFFFFF, 255",
    "TotalOpacity: 100",
    "Transformation: 1, 0, 0, 0, 1, 0, 0, 0, 1",
    "NoiseWeights: 1, 0.5, 0.25, 0.125, 0.0625, 0.03125, 0.015625, 0.0078125, 0.00390625, 0.00195313, "
    "0.000976563, 0.000488281",
    "NoiseParameter: 10",
    "Blur: 0",
    "Texture: 0 ''",
    "Noise: 0",
};

std::string crlf(std::initializer_list<std::string> lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

// A complete preset block with the given lines 8 to 12 after the seven mandatory ones.
std::string block(const std::string& name, std::initializer_list<std::string> tail = {}) {
    std::string text = crlf({"Preset '" + name + "'", "Type: Marble", "NoiseLevel: 6", "NoiseSeed: 42",
                             "Colours: FF0000FF, 0, FFFF0000, 255", "TotalOpacity: 80",
                             "Transformation: 2, 0, 0.5, 0, 2, 0.25, 0, 0, 1"});
    for (const auto& line : tail) {
        text += line + "\r\n";
    }
    return text;
}

std::vector<PresetCategory> read(const std::string& text, const std::string& folder = "T/") {
    return readPresetText(text, folder);
}

} // namespace

TEST(Tokenizer, BlanksCommasQuotesAndTabs) {
    EXPECT_EQ(splitPresetLine("Colours: 00000000, 0, FFFFFFFF, 255"),
              (Tokens{"Colours:", "00000000", "0", "FFFFFFFF", "255"}));
    EXPECT_EQ(splitPresetLine("Preset 'My, \"odd\" name'"), (Tokens{"Preset", "My, \"odd\" name"}));
    EXPECT_EQ(splitPresetLine("Preset \"it's\""), (Tokens{"Preset", "it's"}));
    EXPECT_EQ(splitPresetLine("Texture: 0 ''"), (Tokens{"Texture:", "0", ""}));
    EXPECT_EQ(splitPresetLine("a''b"), (Tokens{"a", "", "b"}));
    EXPECT_EQ(splitPresetLine("Preset 'open to the end"), (Tokens{"Preset", "open to the end"}));
    EXPECT_EQ(splitPresetLine("Type:\tCloud"), (Tokens{"Type:\tCloud"}));
    EXPECT_EQ(splitPresetLine(" ,, x ,"), (Tokens{"x"}));
    EXPECT_EQ(splitPresetLine(""), Tokens{});
    EXPECT_EQ(splitPresetLine("x'"), (Tokens{"x", ""}));
    // At most twenty tokens; the rest of the line is ignored.
    std::string many;
    for (int i = 0; i < 25; ++i) {
        many += std::to_string(i) + " ";
    }
    const Tokens t = splitPresetLine(many);
    ASSERT_EQ(t.size(), 20u);
    EXPECT_EQ(t.back(), "19");
}

TEST(Writer, DefaultFileIsExactlyThirteenLines) {
    TexturePreset preset;
    preset.name = "Default";
    const std::string text = writePresetText({PresetCategory{"Default", {preset}}}, "T/");
    std::string expected;
    for (const char* line : kDefaultLines) {
        expected += std::string(line) + "\r\n";
    }
    EXPECT_EQ(text, expected);
    // and it reads back to the defaults
    const auto categories = read(text);
    ASSERT_EQ(categories.size(), 1u);
    ASSERT_EQ(categories[0].presets.size(), 1u);
    const TexturePreset& p = categories[0].presets[0];
    const TexturePreset d;
    EXPECT_EQ(p.name, "Default");
    EXPECT_EQ(p.noiseWeights[9], 0.00195313); // the written, rounded value
    EXPECT_EQ(p.noiseLevel, d.noiseLevel);
    EXPECT_EQ(p.colourCount, 2);
    EXPECT_EQ(p.colours[1], 0xFFFFFFFFu);
    EXPECT_EQ(p.noiseParameter, 10.0);
    EXPECT_FALSE(p.blurEnabled || p.noiseEnabled || p.textureEnabled);
    EXPECT_EQ(writePresetText(categories, "T/"), expected);
}

TEST(Writer, ValuesEffectsTypesAndQuoting) {
    TexturePreset p;
    p.name = "It's mine";
    p.type = 7; // not a type: written as Cloud
    p.blurEnabled = 0;
    p.blur = 40; // a disabled amount is not kept
    p.noiseEnabled = 1;
    p.noise = 33;
    p.textureEnabled = 1;
    p.textureAmount = 25;
    copyToField(p.texturePath, kPathSize, "C:\\Tex\\canvas.png");
    const std::string text = writePresetBlock(p, "c:\\tex\\");
    EXPECT_NE(text.find("Preset \"It's mine\"\r\n"), std::string::npos);
    EXPECT_NE(text.find("Type: Cloud\r\n"), std::string::npos);
    EXPECT_NE(text.find("Blur: 0\r\nTexture: 25 'canvas.png'\r\nNoise: 33\r\n"), std::string::npos);

    // A path outside the textures folder is written with an empty name, and as
    // off, which is how it reads back.
    EXPECT_NE(writePresetBlock(p, "D:\\Other\\").find("Texture: 0 ''\r\n"), std::string::npos);
    // The name is written even when the texture is off.
    p.textureEnabled = 0;
    EXPECT_NE(writePresetBlock(p, "C:\\Tex\\").find("Texture: 0 'canvas.png'\r\n"), std::string::npos);
    // A texture name with a single quote goes between double quotes; one that
    // cannot be quoted at all is dropped rather than break the line.
    p.textureEnabled = 1;
    copyToField(p.texturePath, kPathSize, "C:\\Tex\\o'brien.png");
    EXPECT_NE(writePresetBlock(p, "C:\\Tex\\").find("Texture: 25 \"o'brien.png\"\r\n"), std::string::npos);
    copyToField(p.texturePath, kPathSize, "C:\\Tex\\a'b\".png");
    EXPECT_NE(writePresetBlock(p, "C:\\Tex\\").find("Texture: 0 ''\r\n"), std::string::npos);

    EXPECT_EQ(quotePresetName("Stone"), "'Stone'");
    EXPECT_EQ(quotePresetName("say \"hi\""), "'say \"hi\"'");
    EXPECT_EQ(quotePresetName("a\nb"), "'a b'");
    EXPECT_TRUE(isWritableName("It's"));
    EXPECT_FALSE(isWritableName("It's \"x\""));
    EXPECT_FALSE(isWritableName("two\nlines"));
}

TEST(Writer, ColourCountOutsideItsRangeStillReadsBack) {
    TexturePreset p;
    p.name = "broken";
    p.colourCount = 0;
    std::string text = writePresetText({PresetCategory{"C", {p, p}}}, "");
    EXPECT_NE(text.find("Colours: 00000000, 0\r\n"), std::string::npos);
    auto categories = read(text);
    ASSERT_EQ(categories.size(), 1u);
    EXPECT_EQ(categories[0].presets.size(), 2u);

    p.colourCount = 1000;
    text = writePresetText({PresetCategory{"C", {p}}}, "");
    categories = read(text);
    ASSERT_EQ(categories[0].presets.size(), 1u);
    EXPECT_EQ(categories[0].presets[0].colourCount, 8);
}

TEST(Reader, NamesHeadingsAndTheImplicitBasicCategory) {
    // Unquoted words are joined with single blanks.
    auto c = read(crlf({"Category My   Stones"}) + block("x"));
    ASSERT_EQ(c.size(), 1u);
    EXPECT_EQ(c[0].name, "My Stones");
    c = read(crlf({"Catagory 'X'"}) + block("a, \"b\"  c"));
    ASSERT_EQ(c.size(), 1u);
    EXPECT_EQ(c[0].name, "X");
    EXPECT_EQ(c[0].presets[0].name, "a, \"b\"  c");
    EXPECT_EQ(writePresetText(c, "").substr(0, 14), "Category 'X'\r\n");

    // A quote inside a single-quoted name ends the token: the name changes.
    c = read(crlf({"Category 'x'", "Preset 'it's'"}) + block("y").substr(block("y").find("\r\n") + 2));
    ASSERT_EQ(c[0].presets.size(), 1u);
    EXPECT_EQ(c[0].presets[0].name, "it s "); // the last quote opens an empty token

    // Presets before any heading form "Basic"; a heading after them is consumed.
    c = read(block("a") + block("b") + crlf({"Category 'Lost'"}) + block("c"));
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[0].name, "Basic");
    EXPECT_EQ(c[0].presets.size(), 2u);
    EXPECT_EQ(c[1].name, "Basic");
    EXPECT_EQ(c[1].presets[0].name, "c");

    // A line before the first heading that is neither ends the reading at once.
    EXPECT_TRUE(read(crlf({"Hello", "Category 'A'"})).empty());
    EXPECT_TRUE(read("").empty());
    // Empty headings and presets without lines.
    c = read(crlf({"Category", "Category 'B'"}));
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[0].name, "");
    EXPECT_TRUE(c[1].presets.empty());
    // LF alone and a last line without an end work too; a lone CR stays in the line.
    c = read("Category 'A'\nCategory 'B\r'");
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[1].name, "B\r");
}

TEST(Reader, MandatoryLinesAndBrokenBlocks) {
    const std::string head = crlf({"Category 'A'"}) + block("good");
    // A broken block ends the file; what came before stays.
    const char* const broken[] = {
        "Type: cloud",  // key words and type words are exact
        "Type:\tCloud", // a tab makes one token
        "type: Cloud",
    };
    for (const char* line : broken) {
        const auto c = read(head + crlf({"Preset 'bad'", line, "NoiseLevel: 1"}) + crlf({"Category 'B'"}));
        ASSERT_EQ(c.size(), 1u) << line;
        EXPECT_EQ(c[0].presets.size(), 1u) << line;
    }
    auto replaceLine = [](std::string text, const std::string& from, const std::string& to) {
        return text.replace(text.find(from), from.size(), to);
    };
    const std::string bad = block("bad");
    const std::pair<const char*, const char*> lines[] = {
        {"Colours: FF0000FF, 0, FFFF0000, 255", "Colours: FF0000FF, 0, FFFF0000"}, // even count
        {"Colours: FF0000FF, 0, FFFF0000, 255", "Colours:"},
        {"Colours: FF0000FF, 0, FFFF0000, 255",
         "Colours: 1, 0, 2, 1, 3, 2, 4, 3, 5, 4, 6, 5, 7, 6, 8, 7, 9, 8, A, 9"}, // ten stops: 20 tokens
        {"Transformation: 2, 0, 0.5, 0, 2, 0.25, 0, 0, 1", "Transformation: 2, 0, 0.5, 0, 2, 0.25, 0, 0"},
        {"Transformation: 2, 0, 0.5, 0, 2, 0.25, 0, 0, 1", "Transformation: 2, 0, 0.5, 0, 2, 0.25, 0, 0, 1, 1"},
        {"NoiseSeed: 42", "NoiseSeed:"},
        {"TotalOpacity: 80", ""},
    };
    for (const auto& [from, to] : lines) {
        const auto c = read(head + replaceLine(bad, from, to) + block("after"));
        ASSERT_EQ(c.size(), 1u) << to;
        ASSERT_EQ(c[0].presets.size(), 1u) << to;
        EXPECT_EQ(c[0].presets[0].name, "good");
    }
}

TEST(Reader, ValuesOfEveryLine) {
    const auto c = read(crlf({"Category 'A'"}) +
                        block("p", {"NoiseWeights: 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13", "NoiseParameter: 2.5",
                                    "Blur: 7", "Texture: 25 'canvas.png'", "Noise: 0"}));
    ASSERT_EQ(c.size(), 1u);
    ASSERT_EQ(c[0].presets.size(), 1u);
    const TexturePreset& p = c[0].presets[0];
    EXPECT_EQ(p.type, kMarble);
    EXPECT_EQ(p.noiseLevel, 6.0);
    EXPECT_EQ(p.noiseSeed, 42);
    EXPECT_EQ(p.colourCount, 2);
    EXPECT_EQ(p.colours[0], 0xFF0000FFu);
    EXPECT_EQ(p.positions[1], 255);
    EXPECT_EQ(p.totalOpacity, 80.0);
    EXPECT_EQ(p.transformation.m[2], 0.5);
    EXPECT_EQ(p.transformation.m[5], 0.25);
    EXPECT_EQ(p.noiseWeights[11], 12.0);
    EXPECT_EQ(p.noiseParameter, 2.5);
    EXPECT_TRUE(p.blurEnabled);
    EXPECT_EQ(p.blur, 7);
    EXPECT_TRUE(p.textureEnabled);
    EXPECT_EQ(p.textureAmount, 25);
    EXPECT_EQ(readField(p.texturePath, kPathSize), "T/canvas.png");
    EXPECT_FALSE(p.noiseEnabled);
    EXPECT_EQ(p.noise, 10);
    EXPECT_EQ(p.reserved, 0);
}

TEST(Reader, ColourStopCounts) {
    auto colours = [](const std::string& line) {
        std::string text = block("p");
        text.replace(text.find("Colours: FF0000FF, 0, FFFF0000, 255"), 35, line);
        return read(crlf({"Category 'A'"}) + text);
    };
    auto c = colours("Colours: 80FFFFFF, 128");
    ASSERT_EQ(c[0].presets.size(), 1u);
    EXPECT_EQ(c[0].presets[0].colourCount, 1);
    EXPECT_EQ(c[0].presets[0].colours[0], 0x80FFFFFFu);
    EXPECT_EQ(c[0].presets[0].colours[1], 0xFFFFFFFFu); // stops beyond the count keep the defaults
    c = colours("Colours: 1, 0, 2, 1, 3, 2, 4, 3, 5, 4, 6, 5, 7, 6, 8, 7, 9, 8"); // nine stops: 19 tokens
    ASSERT_EQ(c[0].presets.size(), 1u);
    EXPECT_EQ(c[0].presets[0].colourCount, 8);
    EXPECT_EQ(c[0].presets[0].colours[7], 8u);
    EXPECT_EQ(c[0].presets[0].positions[7], 7);
    c = colours("Colours: zz, 12abc"); // garbage reads as 0 and the prefix
    EXPECT_EQ(c[0].presets[0].colours[0], 0u);
    EXPECT_EQ(c[0].presets[0].positions[0], 12);
}

TEST(Reader, NoiseLevelAndNoiseParameter) {
    auto level = [](std::initializer_list<std::string> tail, const std::string& value) {
        std::string text = block("p", tail);
        text.replace(text.find("NoiseLevel: 6"), 13, "NoiseLevel: " + value);
        return read(crlf({"Category 'A'"}) + text).at(0).presets.at(0);
    };
    TexturePreset p = level({}, "15");
    EXPECT_EQ(p.noiseLevel, 12.0);
    EXPECT_EQ(p.noiseParameter, 15.0);
    p = level({"NoiseParameter: 2"}, "15");
    EXPECT_EQ(p.noiseLevel, 12.0);
    EXPECT_EQ(p.noiseParameter, 2.0);
    p = level({}, "-3");
    EXPECT_EQ(p.noiseLevel, -3.0);
    p = level({}, "12");
    EXPECT_EQ(p.noiseLevel, 12.0);
    // A NoiseParameter line with a third token is not the line: the block ends
    // there and the line ends the file.
    p = level({"NoiseParameter: 2 3"}, "5");
    EXPECT_EQ(p.noiseParameter, 5.0);
}

TEST(Reader, OptionalLinesMayBeMissingOrOutOfPlace) {
    const std::string cat = crlf({"Category 'A'"});
    // No optional lines at all, then the next preset.
    auto c = read(cat + block("a") + block("b"));
    ASSERT_EQ(c[0].presets.size(), 2u);
    EXPECT_EQ(c[0].presets[0].noiseWeights[11], 0.00048828125);
    EXPECT_FALSE(c[0].presets[0].blurEnabled);
    EXPECT_EQ(c[0].presets[0].blur, 10);
    // Only the last optional line.
    c = read(cat + block("a", {"Noise: 12"}) + block("b"));
    ASSERT_EQ(c[0].presets.size(), 2u);
    EXPECT_TRUE(c[0].presets[0].noiseEnabled);
    EXPECT_EQ(c[0].presets[0].noise, 12);
    // Out of order: Noise before Blur ends the block at Blur, which then ends the file.
    c = read(cat + block("a", {"Noise: 12", "Blur: 3"}) + block("b"));
    ASSERT_EQ(c[0].presets.size(), 1u);
    EXPECT_TRUE(c[0].presets[0].noiseEnabled);
    EXPECT_FALSE(c[0].presets[0].blurEnabled);
    // Eleven weights count as missing, and the line ends the file after the preset.
    c = read(cat + block("a", {"NoiseWeights: 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1", "Blur: 3"}) + block("b"));
    ASSERT_EQ(c.size(), 1u);
    ASSERT_EQ(c[0].presets.size(), 1u);
    EXPECT_EQ(c[0].presets[0].noiseWeights[1], 0.5);
    EXPECT_FALSE(c[0].presets[0].blurEnabled);
    // Trailing junk after the last preset ends the reading without harm.
    c = read(cat + block("a", {"Noise: 1"}) + "junk\r\n");
    ASSERT_EQ(c.size(), 1u);
    EXPECT_EQ(c[0].presets.size(), 1u);
    // The next heading after a complete tail starts the next category.
    c = read(cat + block("a", {"Noise: 1"}) + crlf({"Category 'B'"}) + block("b"));
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[1].presets.size(), 1u);
}

TEST(Reader, EffectValues) {
    auto tail = [](std::initializer_list<std::string> lines) {
        return read(crlf({"Category 'A'"}) + block("a", lines)).at(0).presets.at(0);
    };
    TexturePreset p = tail({"Blur: 0"});
    EXPECT_FALSE(p.blurEnabled);
    EXPECT_EQ(p.blur, 10);
    p = tail({"Blur: x"});
    EXPECT_FALSE(p.blurEnabled);
    p = tail({"Texture: 25 ''"});
    EXPECT_FALSE(p.textureEnabled);
    EXPECT_EQ(p.textureAmount, 10);
    p = tail({"Texture: 0 'stone.png'"});
    EXPECT_FALSE(p.textureEnabled);
    EXPECT_EQ(readField(p.texturePath, kPathSize), "");
    p = tail({"Texture: 40 \"o'brien.png\""});
    EXPECT_TRUE(p.textureEnabled);
    EXPECT_EQ(readField(p.texturePath, kPathSize), "T/o'brien.png");
    p = tail({"Texture: 40 " + std::string(300, 'n')});
    EXPECT_EQ(readField(p.texturePath, kPathSize).size(), 259u);
    p = tail({"Noise: -5"});
    EXPECT_TRUE(p.noiseEnabled);
    EXPECT_EQ(p.noise, -5);
}
