// Numbers as text, identical on every platform and independent of the C locale:
// the printf conversions %g, %d and %08X, and atof/atol/strtoul(..., 16) reading.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace morvessan {

// printf("%g"): at most six significant digits, trailing zeros and a bare decimal
// point dropped, exponent form when the decimal exponent is below -4 or at least 6,
// written with its sign and at least three digits (1e-005, 1e+006). The digits are
// those of the exact binary value rounded half up at the sixth digit, so
// 0.001953125 gives 0.00195313. Infinities and NaN give "inf", "-inf" and "nan".
std::string formatG(double value);

// printf("%d").
std::string formatInt(std::int32_t value);

// printf("%08X"): at least eight upper-case hexadecimal digits.
std::string formatHex8(std::uint32_t value);

// atof: leading white space, an optional sign, decimal digits with an optional
// point and an optional exponent. The longest valid prefix counts and the rest is
// ignored; without one the result is 0. Infinity, NaN and hexadecimal forms are
// not numbers here (they read as 0). Out-of-range values give +-HUGE_VAL or 0.
double readDouble(std::string_view text);

// atol with a 32-bit long: leading white space, optional sign, decimal digits;
// values outside the 32-bit range saturate; no digits give 0.
std::int32_t readInt(std::string_view text);

// strtoul(text, nullptr, 16) with a 32-bit unsigned long: leading white space, an
// optional sign (a minus negates modulo 2^32), an optional 0x or 0X, hexadecimal
// digits; values beyond 32 bits give 0xFFFFFFFF; no digits give 0.
std::uint32_t readHex(std::string_view text);

// The value of one hexadecimal digit (either case), or -1 for any other character.
int hexDigitValue(char c);

} // namespace morvessan
