#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lintrel {

// A decimal number as its digits: value = (negative ? -1 : 1) * digits * 10^exponent, where
// digits is an integer without leading zeros ("" for zero). Rounding on this form is exact.
struct DecimalDigits {
    bool negative = false;
    std::string digits;
    int exponent = 0;

    // Reads a whole decimal number (blanks, sign, digits with one point, exponent, blanks).
    static std::optional<DecimalDigits> fromText(std::string_view text);
    // The longest decimal number at the start of the text after leading blanks, if any.
    static std::optional<DecimalDigits> fromTextPrefix(std::string_view text);
    // The value's decimal form with 15 significant digits, as the drawing programs print it.
    static DecimalDigits fromDouble(double value);

    // Keeps at most 15 significant digits, halves away from zero.
    void roundToSignificant(int count);
    // Keeps at most `decimals` digits after the point, halves away from zero.
    void roundToDecimals(int decimals);

    // Fixed notation with exactly `decimals` digits after the point (none for 0); "-" only when
    // the value is not zero.
    std::string toFixed(int decimals) const;
    // The shortest fixed notation (no trailing zeros after the point, no point for a whole number).
    std::string toPlain() const;
    // The nearest double (nullopt when out of range).
    std::optional<double> toDouble() const;
    // Moves trailing zeros into the exponent; zero becomes the empty, positive form.
    void trimZeros();

private:
    void dropDigits(int count);
};

}  // namespace lintrel
