// Our own printf/atof-style number conversions, so preset files read and write
// the same bytes on every platform and under every C locale.
#include "VXLib/VXUTIL/VXNumberText.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace morvessan {

namespace {

bool isCSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t skipSpace(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isCSpace(text[i])) {
        ++i;
    }
    return i;
}

// Every digit a double can have: 767 significant digits at most, so 800 after
// the point makes the scientific form exact.
constexpr int kExactDigits = 800;

} // namespace

std::string formatG(double value) {
    if (std::isnan(value)) {
        return "nan";
    }
    std::string out;
    if (std::signbit(value)) {
        out = "-";
        value = -value;
    }
    if (std::isinf(value)) {
        return out + "inf";
    }
    if (value == 0.0) {
        return out + "0";
    }

    char buffer[kExactDigits + 32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, kExactDigits);
    // buffer: d.ddd...de[+-]xx
    const char* end = result.ptr;
    const char* e = buffer;
    while (e < end && *e != 'e') {
        ++e;
    }
    int exponent = 0;
    std::from_chars(e + 1 + (e[1] == '+' ? 1 : 0), end, exponent);

    // Six significant digits, the sixth raised when the seventh is 5 or more.
    char digits[7];
    digits[0] = buffer[0];
    for (int i = 1; i < 6; ++i) {
        digits[i] = buffer[i + 1];
    }
    if (buffer[7] >= '5') {
        int i = 5;
        while (i >= 0 && digits[i] == '9') {
            digits[i] = '0';
            --i;
        }
        if (i >= 0) {
            ++digits[i];
        } else {
            digits[0] = '1';
            ++exponent;
        }
    }
    int length = 6;
    while (length > 1 && digits[length - 1] == '0') {
        --length;
    }

    if (exponent < -4 || exponent >= 6) {
        out += digits[0];
        if (length > 1) {
            out += '.';
            out.append(digits + 1, digits + length);
        }
        out += 'e';
        out += exponent < 0 ? '-' : '+';
        const std::string magnitude = std::to_string(exponent < 0 ? -exponent : exponent);
        out.append(magnitude.size() < 3 ? 3 - magnitude.size() : 0, '0');
        out += magnitude;
    } else if (exponent >= 0) {
        for (int i = 0; i <= exponent; ++i) {
            out += i < length ? digits[i] : '0';
        }
        if (length > exponent + 1) {
            out += '.';
            out.append(digits + exponent + 1, digits + length);
        }
    } else {
        out += "0.";
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out.append(digits, digits + length);
    }
    return out;
}

std::string formatInt(std::int32_t value) { return std::to_string(value); }

std::string formatHex8(std::uint32_t value) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out(8, '0');
    for (int i = 7; i >= 0; --i) {
        out[static_cast<std::size_t>(i)] = kDigits[value & 0xFu];
        value >>= 4;
    }
    return out;
}

double readDouble(std::string_view text) {
    std::size_t i = skipSpace(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t start = i;
    std::size_t integer_digits = 0;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
        ++integer_digits;
    }
    std::size_t fraction_digits = 0;
    if (i < text.size() && text[i] == '.') {
        std::size_t j = i + 1;
        while (j < text.size() && isDigit(text[j])) {
            ++j;
            ++fraction_digits;
        }
        if (integer_digits + fraction_digits > 0) {
            i = j;
        }
    }
    if (integer_digits + fraction_digits == 0) {
        return 0.0;
    }
    const std::size_t mantissa_end = i;
    std::int64_t exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool exponent_negative = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            exponent_negative = text[j] == '-';
            ++j;
        }
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j])) {
                if (exponent < 100000000) {
                    exponent = exponent * 10 + (text[j] - '0');
                }
                ++j;
            }
            if (exponent_negative) {
                exponent = -exponent;
            }
            i = j;
        }
    }

    double magnitude = 0.0;
    const auto parsed = std::from_chars(text.data() + start, text.data() + i, magnitude, std::chars_format::general);
    if (parsed.ec == std::errc::result_out_of_range) {
        // Decide between overflow and underflow from the position of the first
        // non-zero digit relative to the decimal point.
        std::int64_t position = 0; // decimal exponent of the first non-zero digit, plus one
        bool found = false;
        std::int64_t k = 0;
        for (std::size_t j = start; j < mantissa_end && !found; ++j) {
            if (text[j] == '.') {
                continue;
            }
            if (text[j] != '0') {
                found = true;
                position = static_cast<std::int64_t>(integer_digits) - k;
            }
            ++k;
        }
        const bool overflow = found && position + exponent > 0;
        magnitude = overflow ? HUGE_VAL : 0.0;
    }
    return negative ? -magnitude : magnitude;
}

std::int32_t readInt(std::string_view text) {
    std::size_t i = skipSpace(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    const std::int64_t limit = std::int64_t{1} << 32;
    while (i < text.size() && isDigit(text[i])) {
        value = value * 10 + (text[i] - '0');
        if (value > limit) {
            value = limit;
        }
        ++i;
    }
    if (negative) {
        value = -value;
    }
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (value < std::numeric_limits<std::int32_t>::min()) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(value);
}

std::uint32_t readHex(std::string_view text) {
    std::size_t i = skipSpace(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i + 2 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        hexDigitValue(text[i + 2]) >= 0) {
        i += 2;
    }
    std::uint64_t value = 0;
    bool overflow = false;
    while (i < text.size() && hexDigitValue(text[i]) >= 0) {
        value = value * 16 + static_cast<std::uint64_t>(hexDigitValue(text[i]));
        if (value > 0xFFFFFFFFu) {
            overflow = true;
            value = 0xFFFFFFFFu;
        }
        ++i;
    }
    if (overflow) {
        return 0xFFFFFFFFu;
    }
    const auto result = static_cast<std::uint32_t>(value);
    return negative ? static_cast<std::uint32_t>(0u - result) : result;
}

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

} // namespace morvessan
