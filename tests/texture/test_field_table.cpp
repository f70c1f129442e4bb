// The field table as the one declaration of every field: where each value lives,
// its default, and its text at and past the ends of its range.
#include "texture/TextureFieldTable.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace morvessan;

namespace {

// How many of the three places a field names.
int places(const TextureField& field) {
    return (field.whole != nullptr) + (field.decimal != nullptr) + (field.flag != nullptr);
}

} // namespace

TEST(FieldTable, EveryNumberAndFlagNamesWhereItLivesAndTheCompoundKindsDoNot) {
    for (const TextureField& field : textureFields()) {
        switch (field.kind) {
        case TextureFieldKind::Choice: EXPECT_NE(field.whole, nullptr) << field.name; break;
        case TextureFieldKind::Flag: EXPECT_NE(field.flag, nullptr) << field.name; break;
        case TextureFieldKind::Integer:
        case TextureFieldKind::Decimal:
            EXPECT_TRUE(field.whole != nullptr || field.decimal != nullptr) << field.name;
            break;
        default: EXPECT_EQ(places(field), 0) << field.name; continue;
        }
        EXPECT_EQ(places(field), 1) << field.name;
    }
    // Each place belongs to one field only.
    TextureFields marked{};
    std::memset(static_cast<void*>(&marked), 0, sizeof marked);
    for (const TextureField& field : textureFields()) {
        if (field.whole != nullptr) {
            EXPECT_EQ(marked.*field.whole, 0) << field.name;
            marked.*field.whole = 1;
        } else if (field.decimal != nullptr) {
            EXPECT_EQ(marked.*field.decimal, 0.0) << field.name;
            marked.*field.decimal = 1;
        } else if (field.flag != nullptr) {
            EXPECT_EQ(marked.*field.flag, 0) << field.name;
            marked.*field.flag = 1;
        }
    }
}

TEST(FieldTable, DefaultsAreTheRecordsOwnWhateverTheRecordHeldBefore) {
    TextureFields written;
    std::memset(static_cast<void*>(&written), 0xA5, sizeof written);
    writeDefaultFields(written);
    const TextureFields defaults;
    for (const TextureField& field : textureFields()) {
        EXPECT_EQ(textureFieldText(written, field), textureFieldText(defaults, field)) << field.name;
    }
    EXPECT_EQ(written.reserved, 0);
    EXPECT_EQ(static_cast<unsigned char>(written.texturePath[1]), 0xA5) << "the path beyond its first byte stays";
}

TEST(FieldTable, NumbersReadBackAtTheirEndsAndAreRefusedPastThem) {
    for (const TextureField& field : textureFields()) {
        if (field.kind != TextureFieldKind::Integer && field.kind != TextureFieldKind::Decimal) {
            continue;
        }
        for (const double end : {field.low, field.high}) {
            TextureFields fields;
            const std::string text = formatShortest(end);
            ASSERT_EQ(setTextureField(fields, field, text), "") << field.name << " " << text;
            EXPECT_EQ(textureFieldText(fields, field), text) << field.name;
        }
        TextureFields fields;
        const std::string before = textureFieldText(fields, field);
        for (const double past : {field.low - 1, field.high + 1}) {
            const std::string problem = setTextureField(fields, field, formatShortest(past));
            EXPECT_NE(problem.find(std::string(field.name)), std::string::npos) << problem;
            EXPECT_NE(problem.find(textureFieldRange(field).substr(0, textureFieldRange(field).find(' '))),
                      std::string::npos)
                << problem;
            EXPECT_EQ(textureFieldText(fields, field), before) << "a refused value leaves the field";
        }
    }
}

TEST(FieldTable, FlagsAndTheTypeTakeTheirWordsInAnyCase) {
    TextureFields fields;
    const TextureField& blur = textureField(TextureFieldId::BlurEnabled);
    for (const char* on : {"on", "ON", "true", "1"}) {
        fields.blurEnabled = 0;
        ASSERT_EQ(setTextureField(fields, blur, on), "") << on;
        EXPECT_EQ(fields.blurEnabled, 1) << on;
    }
    for (const char* off : {"off", "False", "0"}) {
        fields.blurEnabled = 7; // any byte but 0 means on in a stored block
        ASSERT_EQ(setTextureField(fields, blur, off), "") << off;
        EXPECT_EQ(fields.blurEnabled, 0) << off;
    }
    EXPECT_NE(setTextureField(fields, blur, "yes"), "");
    const TextureField& type = textureField(TextureFieldId::Type);
    ASSERT_EQ(setTextureField(fields, type, "mArBlE"), "");
    EXPECT_EQ(fields.type, kMarble);
    EXPECT_EQ(textureFieldText(fields, type), "Marble");
    fields.type = 9; // a stored block may hold anything: it is built and written as Cloud
    EXPECT_EQ(textureFieldText(fields, type), "Cloud");
    EXPECT_EQ(findTextureField("NOISESEED"), &textureField(TextureFieldId::NoiseSeed));
    EXPECT_EQ(findTextureField("seed"), nullptr);
}
