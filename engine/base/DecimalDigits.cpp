#include "DecimalDigits.h"

#include <array>
#include <charconv>
#include <cstdint>

namespace lintrel {
namespace {

constexpr int kMaxExponent = 100000;  // far beyond any double; keeps the arithmetic in range

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Parses [sign] digits [. digits] [exponent] from `pos`; leaves `pos` after what it took.
std::optional<DecimalDigits> parseNumber(std::string_view text, std::size_t& pos) {
    DecimalDigits number;
    std::size_t i = pos;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        number.negative = text[i] == '-';
        ++i;
    }
    bool sawDigit = false;
    auto takeDigit = [&](char c, bool isFraction) {
        sawDigit = true;
        if (!(number.digits.empty() && c == '0')) {
            number.digits.push_back(c);
        }
        if (isFraction) {
            --number.exponent;
        }
    };
    for (; i < text.size() && isDigit(text[i]); ++i) {
        takeDigit(text[i], false);
    }
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && isDigit(text[i]); ++i) {
            takeDigit(text[i], true);
        }
    }
    if (!sawDigit) {
        return std::nullopt;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool negativeExponent = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            negativeExponent = text[j] == '-';
            ++j;
        }
        if (j < text.size() && isDigit(text[j])) {
            int value = 0;
            for (; j < text.size() && isDigit(text[j]); ++j) {
                value = std::min(kMaxExponent, value * 10 + (text[j] - '0'));
            }
            number.exponent += negativeExponent ? -value : value;
            i = j;
        }
    }
    pos = i;
    number.trimZeros();
    return number;
}

}  // namespace

std::optional<DecimalDigits> DecimalDigits::fromText(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && isBlank(text[pos])) {
        ++pos;
    }
    auto number = parseNumber(text, pos);
    while (pos < text.size() && isBlank(text[pos])) {
        ++pos;
    }
    if (!number || pos != text.size()) {
        return std::nullopt;
    }
    return number;
}

std::optional<DecimalDigits> DecimalDigits::fromTextPrefix(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && isBlank(text[pos])) {
        ++pos;
    }
    return parseNumber(text, pos);
}

DecimalDigits DecimalDigits::fromDouble(double value) {
    std::array<char, 40> buffer{};
    auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                std::chars_format::scientific, 14);
    return *fromText(std::string_view(buffer.data(), result.ptr));
}

void DecimalDigits::roundToSignificant(int count) {
    int excess = static_cast<int>(digits.size()) - count;
    if (excess > 0) {
        dropDigits(excess);
    }
    trimZeros();
}

void DecimalDigits::roundToDecimals(int decimals) {
    if (exponent < -decimals) {
        dropDigits(-decimals - exponent);
    }
    trimZeros();
}

void DecimalDigits::dropDigits(int count) {
    int size = static_cast<int>(digits.size());
    exponent += count;
    if (count > size) {
        digits.clear();
        return;
    }
    bool roundsUp = digits[static_cast<std::size_t>(size - count)] >= '5';
    digits.resize(static_cast<std::size_t>(size - count));
    if (!roundsUp) {
        return;
    }
    // Iterators, not std::views::reverse: clang 14 (the fuzz build) cannot build libstdc++ 12's.
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {  // NOLINT(modernize-loop-convert)
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

void DecimalDigits::trimZeros() {
    std::size_t zeros = 0;
    while (zeros < digits.size() && digits[digits.size() - 1 - zeros] == '0') {
        ++zeros;
    }
    digits.resize(digits.size() - zeros);
    exponent += static_cast<int>(zeros);
    if (digits.empty()) {
        exponent = 0;
        negative = false;
    }
}

std::string DecimalDigits::toFixed(int decimals) const {
    std::string text = toPlain();
    std::size_t point = text.find('.');
    std::size_t have = point == std::string::npos ? 0 : text.size() - point - 1;
    if (decimals > 0 && point == std::string::npos) {
        text.push_back('.');
    }
    text.append(static_cast<std::size_t>(decimals) - std::min<std::size_t>(have, decimals), '0');
    return text;
}

std::string DecimalDigits::toPlain() const {
    if (digits.empty()) {
        return "0";
    }
    std::string text = negative ? "-" : "";
    int size = static_cast<int>(digits.size());
    int pointPos = size + exponent;  // digits before the point
    if (pointPos <= 0) {
        text += "0.";
        text.append(static_cast<std::size_t>(-pointPos), '0');
        text += digits;
    } else if (pointPos >= size) {
        text += digits;
        text.append(static_cast<std::size_t>(pointPos - size), '0');
    } else {
        text.append(digits, 0, static_cast<std::size_t>(pointPos));
        text.push_back('.');
        text.append(digits, static_cast<std::size_t>(pointPos));
    }
    return text;
}

std::optional<double> DecimalDigits::toDouble() const {
    if (digits.empty()) {
        return 0.0;
    }
    // Both factors exact in a double, so one division or product rounds correctly.
    static constexpr std::array<double, 23> kPowers = {
        1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    int size = static_cast<int>(digits.size());
    if (size <= 15 && exponent >= -22 && exponent <= 22 && size + exponent <= 15) {
        std::int64_t mantissa = 0;
        for (char c : digits) {
            mantissa = mantissa * 10 + (c - '0');
        }
        auto scale = kPowers[static_cast<std::size_t>(exponent < 0 ? -exponent : exponent)];
        double value = exponent < 0 ? static_cast<double>(mantissa) / scale
                                    : static_cast<double>(mantissa) * scale;
        return negative ? -value : value;
    }
    std::string text = (negative ? "-" : "") + digits + "e" + std::to_string(exponent);
    double value = 0;
    auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace lintrel
