#include "Numbers.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

#include "DecimalDigits.h"

namespace lintrel {
namespace {

constexpr std::array<std::uint64_t, 19> kPowersOfTen = [] {
    std::array<std::uint64_t, 19> powers{};
    std::uint64_t power = 1;
    for (auto& entry : powers) {
        entry = power;
        power *= 10;
    }
    return powers;
}();

// mantissa / 10^dropped, halves away from zero. Drawings mostly write six decimals, so the usual
// divisors are constants the compiler turns into multiplications.
std::uint64_t roundAwayDigits(std::uint64_t mantissa, int dropped) {
    auto divide = [mantissa](std::uint64_t divisor) {
        return mantissa / divisor + (mantissa % divisor * 2 >= divisor);
    };
    switch (dropped) {
        case 1:
            return divide(10);
        case 2:
            return divide(100);
        case 3:
            return divide(1000);
        case 4:
            return divide(10000);
        default:
            return divide(kPowersOfTen[static_cast<std::size_t>(dropped)]);
    }
}

// A drawing's number as it is mostly written, "-12.3456789": sign, digits and one point.
struct PlainDecimal {
    std::uint64_t mantissa = 0;  // the digits without the point
    int decimals = 0;            // after the point
    bool negative = false;
};

// The text as a plain decimal of at most 15 significant digits and 18 decimals, so that the
// mantissa and the power of ten it is divided by are both exact in a double; false when the text
// needs the general reading. Leading zeros add nothing to the mantissa, so it alone tells the
// significant digits; nineteen digits at most cannot overflow it.
[[gnu::always_inline]] inline bool readPlain(std::string_view text, PlainDecimal& number) {
    constexpr int kMostDigits = 19;
    constexpr std::uint64_t kFirstSixteenDigitNumber = 1'000'000'000'000'000;
    const char* at = text.data();
    const char* end = at + text.size();
    if (at != end && (*at == '-' || *at == '+')) {
        number.negative = *at == '-';
        ++at;
    }
    // The digits before the point, then those after it, each loop with one test per digit.
    const auto readDigits = [&] {
        for (; at != end; ++at) {
            const auto digit = static_cast<unsigned>(static_cast<unsigned char>(*at)) - '0';
            if (digit > 9) {
                return;
            }
            number.mantissa = number.mantissa * 10 + digit;
        }
    };
    const char* first = at;
    readDigits();
    int digits = static_cast<int>(at - first);
    if (at != end && *at == '.') {
        const char* afterPoint = ++at;
        readDigits();
        number.decimals = static_cast<int>(at - afterPoint);
        digits += number.decimals;
    }
    if (at != end) {
        return false;
    }
    return digits > 0 && digits <= kMostDigits && number.mantissa < kFirstSixteenDigitNumber &&
           number.decimals < static_cast<int>(kPowersOfTen.size());
}

// Both exact in a double, so the division rounds once, as the general reading of the same digits
// does; a zero has no sign there either.
double valueOf(const PlainDecimal& number) {
    if (number.mantissa == 0) {
        return 0.0;
    }
    const double value =
        static_cast<double>(number.mantissa) /
        static_cast<double>(kPowersOfTen[static_cast<std::size_t>(number.decimals)]);
    return number.negative ? -value : value;
}

// The common case of a drawing's number, rounded in integers; false when the text needs the
// general reading.
bool roundPlainDecimal(std::string_view text, double& rounded) {
    PlainDecimal number;
    if (!readPlain(text, number)) {
        return false;
    }
    if (number.decimals > 4) {
        number.mantissa = roundAwayDigits(number.mantissa, number.decimals - 4);
        number.decimals = 4;
    }
    rounded = valueOf(number);
    return true;
}

constexpr double kLargestPlainTenThousandths = 1e11;
constexpr double kLargestQuicklyRounded = 1e5;
constexpr double kTieMargin = 1e-5;

// The whole number of units of the last decimal kept that |value| rounds to, when the shortcut
// holds: away from a tie a value below 10^5 rounds as its fifteen-digit text does (the text is
// within 5e-11 of it, and the scaled value is off by far less than the margin kept here).
bool roundsQuickly(double value, int decimals, double& units) {
    constexpr int kMostQuickDecimals = 4;
    if (decimals < 0 || decimals > kMostQuickDecimals ||
        !(std::fabs(value) < kLargestQuicklyRounded)) {
        return false;
    }
    const double scaled =
        std::fabs(value) * static_cast<double>(kPowersOfTen[static_cast<std::size_t>(decimals)]);
    const double whole = std::floor(scaled);
    if (std::fabs(scaled - whole - 0.5) <= kTieMargin) {
        return false;
    }
    units = scaled - whole > 0.5 ? whole + 1 : whole;
    return true;
}

// n / 10000 as plain decimal text, without trailing zeros.
std::string tenThousandths(std::int64_t n) {
    std::string text = n < 0 ? "-" : "";
    const std::uint64_t magnitude = n < 0 ? 0 - static_cast<std::uint64_t>(n) : n;
    text += std::to_string(magnitude / 10000);
    if (std::uint64_t fraction = magnitude % 10000; fraction != 0) {
        int digits = 4;
        while (fraction % 10 == 0) {
            fraction /= 10;
            --digits;
        }
        std::array<char, 5> buffer{'.', '0', '0', '0', '0'};
        for (int k = digits; k >= 1; --k, fraction /= 10) {
            buffer[static_cast<std::size_t>(k)] = static_cast<char>('0' + fraction % 10);
        }
        text.append(buffer.data(), static_cast<std::size_t>(digits) + 1);
    }
    return text;
}

}  // namespace

std::optional<double> parseDecimal(std::string_view text) {
    if (PlainDecimal plain; readPlain(text, plain)) {
        return valueOf(plain);
    }
    auto number = DecimalDigits::fromText(text);
    return number ? number->toDouble() : std::nullopt;
}

bool isDecimal(std::string_view text) {
    return DecimalDigits::fromText(text).has_value();
}

std::optional<float> parseSingle(std::string_view text) {
    auto number = DecimalDigits::fromText(text);
    if (!number) {
        return std::nullopt;
    }
    std::string canonical = number->negative ? "-" : "";
    canonical += number->digits.empty() ? "0" : number->digits;
    canonical += 'e';
    canonical += std::to_string(number->exponent);
    float value = 0;
    auto result = std::from_chars(canonical.data(), canonical.data() + canonical.size(), value);
    if (result.ec != std::errc()) {
        return std::nullopt;
    }
    return value;
}

double leadingDecimal(std::string_view text) {
    auto number = DecimalDigits::fromTextPrefix(text);
    return number ? number->toDouble().value_or(0.0) : 0.0;
}

bool readRoundedNumber(std::string_view text, double& value) {
    if (roundPlainDecimal(text, value)) {
        return true;
    }
    auto number = DecimalDigits::fromText(text);
    if (!number) {
        return false;
    }
    number->roundToSignificant(15);
    number->roundToDecimals(4);
    const std::optional<double> rounded = number->toDouble();
    value = rounded.value_or(0);
    return rounded.has_value();
}

std::string formatFixed(double value, int decimals) {
    if (double units = 0; roundsQuickly(value, decimals, units)) {
        const auto whole = static_cast<std::uint64_t>(units);
        const std::uint64_t scale = kPowersOfTen[static_cast<std::size_t>(decimals)];
        std::string text = value < 0 && whole != 0 ? "-" : "";
        text += std::to_string(whole / scale);
        if (decimals > 0) {
            const std::string fraction = std::to_string(whole % scale);
            text += '.';
            text.append(static_cast<std::size_t>(decimals) - fraction.size(), '0');
            text += fraction;
        }
        return text;
    }
    auto number = DecimalDigits::fromDouble(value);
    number.roundToDecimals(decimals);
    return number.toFixed(decimals);
}

double roundFixed(double value, int decimals) {
    if (double units = 0; roundsQuickly(value, decimals, units)) {
        return units == 0
                   ? 0.0
                   : std::copysign(units / static_cast<double>(
                                               kPowersOfTen[static_cast<std::size_t>(decimals)]),
                                   value);
    }
    auto number = DecimalDigits::fromDouble(value);
    number.roundToDecimals(decimals);
    return number.toDouble().value_or(value);
}

std::string formatCoordinate(double value) {
    return writeCoordinate(value).text;
}

WrittenCoordinate writeCoordinate(double value) {
    // Most coordinates written are ends the reader rounded to four decimals: the double nearest a
    // whole number n of ten-thousandths, |n| < 10^15. Such a value rounds to n's digits at fifteen
    // significant digits (its error is far below half a unit of the fifteenth), so they are
    // written straight away; read back, n's digits (fewer than sixteen) divided by a power of ten
    // round once, to the double nearest n / 10^4, which is the value.
    if (std::fabs(value) < kLargestPlainTenThousandths) {
        const double scaled = std::nearbyint(value * 10000);
        if (scaled / 10000 == value) {
            return {tenThousandths(static_cast<std::int64_t>(scaled)), value + 0.0};
        }
    }
    return {DecimalDigits::fromDouble(value).toPlain(), std::nullopt};
}

}  // namespace lintrel
