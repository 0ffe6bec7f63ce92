#include "Numbers.h"

#include <charconv>

#include "DecimalDigits.h"

namespace lintrel {

std::optional<double> parseDecimal(std::string_view text) {
    auto number = DecimalDigits::fromText(text);
    return number ? number->toDouble() : std::nullopt;
}

std::optional<float> parseSingle(std::string_view text) {
    auto number = DecimalDigits::fromText(text);
    if (!number) {
        return std::nullopt;
    }
    std::string canonical = (number->negative ? "-" : "") +
                            (number->digits.empty() ? std::string("0") : number->digits) + "e" +
                            std::to_string(number->exponent);
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

std::optional<double> roundedNumber(std::string_view text) {
    auto number = DecimalDigits::fromText(text);
    if (!number) {
        return std::nullopt;
    }
    number->roundToSignificant(15);
    number->roundToDecimals(4);
    return number->toDouble();
}

std::string formatFixed(double value, int decimals) {
    auto number = DecimalDigits::fromDouble(value);
    number.roundToDecimals(decimals);
    return number.toFixed(decimals);
}

double roundFixed(double value, int decimals) {
    auto number = DecimalDigits::fromDouble(value);
    number.roundToDecimals(decimals);
    return number.toDouble().value_or(value);
}

std::string formatCoordinate(double value) { return DecimalDigits::fromDouble(value).toPlain(); }

}  // namespace lintrel
