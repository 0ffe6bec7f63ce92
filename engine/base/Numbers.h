#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lintrel {

// Numbers as the drawings and the option boxes write them. Rounding works on a number's decimal
// form with at most 15 significant digits, halves away from zero, so a value written 1.23455
// rounds up to 1.2346 as a reader of the file expects (its binary double lies just below).

// A decimal number: optional blanks, sign, digits with one optional point, optional exponent,
// optional blanks. Nothing else.
[[nodiscard]] std::optional<double> parseDecimal(std::string_view text);

// Whether a text is such a number, however large or small.
[[nodiscard]] bool isDecimal(std::string_view text);

// The same text parsed straight to single precision (no double rounding on the way).
[[nodiscard]] std::optional<float> parseSingle(std::string_view text);

// The leading decimal number of a text, 0 when it does not begin with one ("12abc" gives 12).
[[nodiscard]] double leadingDecimal(std::string_view text);

// The value of a value line rounded to four decimals; false when it is not a number.
[[nodiscard]] bool readRoundedNumber(std::string_view text, double& value);

// The same, nullopt when not a number. Inline: an optional handed back from a call costs a stall
// in the caller, and the line pass reads millions of numbers.
[[nodiscard]] inline std::optional<double> roundedNumber(std::string_view text) {
    double value = 0;
    return readRoundedNumber(text, value) ? std::optional<double>(value) : std::nullopt;
}

// The value written with a fixed number of decimals ("0.00" for 2), halves away from zero.
[[nodiscard]] std::string formatFixed(double value, int decimals);

// The value written with a fixed number of decimals and read back ("0.0000" then a read).
[[nodiscard]] double roundFixed(double value, int decimals);

// A coordinate written into a drawing: the shortest text that reads back to the same value,
// at most 15 significant digits, no exponent, no blanks.
[[nodiscard]] std::string formatCoordinate(double value);

// The same text, with what roundedNumber() reads it back as when that is known without reading
// it: a value the reader rounded to four decimals reads back as itself (a zero as +0).
struct WrittenCoordinate {
    std::string text;
    std::optional<double> readBack;
};
[[nodiscard]] WrittenCoordinate writeCoordinate(double value);

}  // namespace lintrel
