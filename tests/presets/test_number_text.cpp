// Number text: our %g, %d, %08X and the atof/atol/strtoul readings, exact values
// and independence from the C locale.
#include "VXLib/VXUTIL/VXNumberText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <locale>
#include <string>

using namespace morvessan;

TEST(FormatG, SixDigitsRoundedHalfUpWithThreeDigitExponents) {
    EXPECT_EQ(formatG(0.001953125), "0.00195313");
    EXPECT_EQ(formatG(0.0009765625), "0.000976563");
    EXPECT_EQ(formatG(0.00048828125), "0.000488281");
    EXPECT_EQ(formatG(0.00001), "1e-005");
    EXPECT_EQ(formatG(1e6), "1e+006");
    EXPECT_EQ(formatG(-1e6), "-1e+006");
    EXPECT_EQ(formatG(12.0), "12");
    EXPECT_EQ(formatG(-12.5), "-12.5");
    EXPECT_EQ(formatG(100.0), "100");
    EXPECT_EQ(formatG(0.0), "0");
    EXPECT_EQ(formatG(-0.0), "-0");
    EXPECT_EQ(formatG(1.0), "1");
    EXPECT_EQ(formatG(0.5), "0.5");
    EXPECT_EQ(formatG(0.1), "0.1");
    EXPECT_EQ(formatG(0.0001), "0.0001");
    EXPECT_EQ(formatG(0.000123456789), "0.000123457");
    EXPECT_EQ(formatG(999999.0), "999999");
    EXPECT_EQ(formatG(999999.5), "1e+006"); // the carry moves the exponent
    EXPECT_EQ(formatG(123456.5), "123457"); // a tie goes up
    EXPECT_EQ(formatG(2.5e-7), "2.5e-007");
    EXPECT_EQ(formatG(1.5e300), "1.5e+300");
    EXPECT_EQ(formatG(4.9406564584124654e-324), "4.94066e-324");
    EXPECT_EQ(formatG(3.14159265), "3.14159");
    EXPECT_EQ(formatG(-0.7071067811865476), "-0.707107");
    EXPECT_EQ(formatG(1.0 / 3.0), "0.333333");
    EXPECT_EQ(formatG(2.0 / 3.0), "0.666667");
    EXPECT_EQ(formatG(HUGE_VAL), "inf");
    EXPECT_EQ(formatG(-HUGE_VAL), "-inf");
    EXPECT_EQ(formatG(std::nan("")), "nan");
}

TEST(FormatIntegers, DecimalAndEightHexDigits) {
    EXPECT_EQ(formatInt(0), "0");
    EXPECT_EQ(formatInt(-2147483647 - 1), "-2147483648");
    EXPECT_EQ(formatInt(255), "255");
    EXPECT_EQ(formatHex8(0), "00000000");
    EXPECT_EQ(formatHex8(0xFFFFFFFFu), "FFFFFFFF");
    EXPECT_EQ(formatHex8(0x80ff00abu), "80FF00AB");
}

TEST(ReadDouble, LongestValidPrefixElseZero) {
    EXPECT_EQ(readDouble("8"), 8.0);
    EXPECT_EQ(readDouble("0.00195313"), 0.00195313);
    EXPECT_EQ(readDouble("1e-005"), 1e-5);
    EXPECT_EQ(readDouble("1e+006"), 1e6);
    EXPECT_EQ(readDouble("-2.5"), -2.5);
    EXPECT_EQ(readDouble("+.5"), 0.5);
    EXPECT_EQ(readDouble("5."), 5.0);
    EXPECT_EQ(readDouble("  \t7.25xyz"), 7.25);
    EXPECT_EQ(readDouble("3e"), 3.0);
    EXPECT_EQ(readDouble("3e+"), 3.0);
    EXPECT_EQ(readDouble("3E2"), 300.0);
    EXPECT_EQ(readDouble("1,5"), 1.0);
    EXPECT_EQ(readDouble("."), 0.0);
    EXPECT_EQ(readDouble("-"), 0.0);
    EXPECT_EQ(readDouble(""), 0.0);
    EXPECT_EQ(readDouble("abc"), 0.0);
    EXPECT_EQ(readDouble("inf"), 0.0);
    EXPECT_EQ(readDouble("nan"), 0.0);
    EXPECT_EQ(readDouble("0x10"), 0.0);
    EXPECT_EQ(readDouble("1e400"), HUGE_VAL);
    EXPECT_EQ(readDouble("-1e400"), -HUGE_VAL);
    EXPECT_EQ(readDouble("1e-400"), 0.0);
    EXPECT_EQ(readDouble("0.000000000000000000000000000000001e-300"), 0.0);
    EXPECT_EQ(readDouble("100000000000000000000000000000000e300"), HUGE_VAL);
    EXPECT_EQ(readDouble("0e99999999999999999999"), 0.0);
    EXPECT_EQ(readDouble("0.1000000000000000055511151231257827021181583404541015625"), 0.1);
}

TEST(ReadInt, AtolWithA32BitLong) {
    EXPECT_EQ(readInt("255"), 255);
    EXPECT_EQ(readInt("-7"), -7);
    EXPECT_EQ(readInt("+7"), 7);
    EXPECT_EQ(readInt(" 12abc"), 12);
    EXPECT_EQ(readInt("12.9"), 12);
    EXPECT_EQ(readInt("x12"), 0);
    EXPECT_EQ(readInt(""), 0);
    EXPECT_EQ(readInt("2147483647"), 2147483647);
    EXPECT_EQ(readInt("2147483648"), 2147483647);
    EXPECT_EQ(readInt("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(readInt("-99999999999999999999"), -2147483647 - 1);
}

TEST(ReadHex, StrtoulBase16WithA32BitLong) {
    EXPECT_EQ(readHex("FFFFFFFF"), 0xFFFFFFFFu);
    EXPECT_EQ(readHex("00000000"), 0u);
    EXPECT_EQ(readHex("80ff00ab"), 0x80FF00ABu);
    EXPECT_EQ(readHex("0x1F"), 0x1Fu);
    EXPECT_EQ(readHex("0xg"), 0u);
    EXPECT_EQ(readHex(" ABCz"), 0xABCu);
    EXPECT_EQ(readHex("-1"), 0xFFFFFFFFu);
    EXPECT_EQ(readHex("-10"), 0xFFFFFFF0u);
    EXPECT_EQ(readHex("100000000"), 0xFFFFFFFFu);
    EXPECT_EQ(readHex("-100000000"), 0xFFFFFFFFu);
    EXPECT_EQ(readHex("zz"), 0u);
}

namespace {
struct CommaDecimal : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};
} // namespace

// Neither the C locale (when a comma-decimal one is installed) nor the global
// C++ locale reaches the conversions.
TEST(NumberText, CommaDecimalLocalesChangeNothing) {
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous ? previous : "C";
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE", "fr_FR"}) {
        if (std::setlocale(LC_ALL, name)) {
            break;
        }
    }
    const std::locale savedGlobal = std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
    EXPECT_EQ(formatG(0.001953125), "0.00195313");
    EXPECT_EQ(formatG(-12.5), "-12.5");
    EXPECT_EQ(formatG(1234567.0), "1.23457e+006");
    EXPECT_EQ(formatInt(1234567), "1234567");
    EXPECT_EQ(readDouble("2.5"), 2.5);
    EXPECT_EQ(readDouble("2,5"), 2.0);
    std::locale::global(savedGlobal);
    std::setlocale(LC_ALL, saved.c_str());
}
