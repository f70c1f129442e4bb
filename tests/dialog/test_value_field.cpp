// Value fields: clamping and rounding to the step, slider positions, arrow steps,
// fixed-decimal text, and typed text with spaces, signs, commas and garbage.
#include "dialog/VXValueField.h"
#include "dialog/FieldValueRange.h"

#include <gtest/gtest.h>

#include <limits>

using namespace morvessan;

TEST(ValueField, WholeNumbers) {
    VXValueField field({0, 100, 1, 0}, 50.4);
    EXPECT_EQ(field.value(), 50);
    EXPECT_EQ(field.text(), "50");
    EXPECT_TRUE(field.setText(" 75 "));
    EXPECT_EQ(field.value(), 75);
    for (const char* garbage : {"12abc", "", "  ", "-", "1.2.3", "1e3", "0x10", "--1", "1 2"}) {
        EXPECT_FALSE(field.setText(garbage)) << garbage;
        EXPECT_EQ(field.value(), 75) << garbage;
    }
    EXPECT_TRUE(field.setText("250"));
    EXPECT_EQ(field.text(), "100");
    EXPECT_TRUE(field.setText("-3"));
    EXPECT_EQ(field.value(), 0);
    EXPECT_TRUE(field.setText("+7,6"));
    EXPECT_EQ(field.value(), 8);
    EXPECT_TRUE(field.setText("99999999999999999999999"));
    EXPECT_EQ(field.value(), 100);
    EXPECT_FALSE(field.setValue(100.2)); // rounds back to the same step
    EXPECT_TRUE(field.stepBy(-3));
    EXPECT_EQ(field.sliderPosition(), 97);
}

TEST(ValueField, OneDecimal) {
    VXValueField field({-1, 1, 0.1, 1}, 0.3);
    EXPECT_EQ(field.text(), "0.3");
    EXPECT_EQ(field.sliderPosition(), 13);
    EXPECT_EQ(field.sliderMaximum(), 20);
    EXPECT_TRUE(field.stepBy(-20));
    EXPECT_EQ(field.text(), "-1.0");
    EXPECT_FALSE(field.stepBy(-1));
    EXPECT_TRUE(field.setValue(0.999));
    EXPECT_EQ(field.value(), 1.0);
    EXPECT_EQ(field.sliderPosition(), 20);
    EXPECT_TRUE(field.setText("-0,04"));
    EXPECT_EQ(field.text(), "0.0");
    EXPECT_TRUE(field.setSliderPosition(7));
    EXPECT_EQ(field.text(), "-0.3");
    EXPECT_EQ(field.value(), -0.3);
    EXPECT_FALSE(field.setValue(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_TRUE(field.setText(".55"));
    EXPECT_EQ(field.text(), "0.6");

    // A reversed range is swapped; a missing step becomes one unit of the last decimal.
    const VXValueField odd({10, 0, 0, 1}, 20);
    EXPECT_EQ(odd.range().minimum, 0);
    EXPECT_EQ(odd.sliderMaximum(), 100);
    EXPECT_EQ(odd.text(), "10.0");
}

// The windows' sliders and boxes take a field's range from the field table: Grain
// walks tenths with one decimal shown, the amounts whole numbers.
TEST(ValueField, FieldRangesComeFromTheFieldTable) {
    const VXValueRange grain = fieldValueRange(TextureFieldId::NoiseParameter);
    EXPECT_EQ(grain.minimum, 1.0);
    EXPECT_EQ(grain.maximum, 50.0);
    EXPECT_EQ(grain.step, 0.1);
    EXPECT_EQ(grain.decimals, 1);
    for (const TextureFieldId id : {TextureFieldId::TotalOpacity, TextureFieldId::Blur, TextureFieldId::Noise,
                                    TextureFieldId::TextureAmount, TextureFieldId::NoiseSeed}) {
        const VXValueRange range = fieldValueRange(id);
        EXPECT_EQ(range.minimum, textureField(id).low);
        EXPECT_EQ(range.maximum, textureField(id).high);
        EXPECT_EQ(range.step, 1.0);
        EXPECT_EQ(range.decimals, 0);
        // A value past the end is held at the table's end.
        VXValueField field(range, textureField(id).high + 5);
        EXPECT_EQ(field.value(), textureField(id).high);
    }
}
