#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <utility>

#include "DecimalDigits.h"
#include "Numbers.h"

namespace lintrel {
namespace {

struct RoundedCase {
    const char* name;
    const char* text;
    std::optional<double> expected;
};

TEST(RoundedNumber, RoundsToFourDecimalsHalvesAwayFromZero) {
    const RoundedCase cases[] = {
        {"more decimals round up", "2.71828", 2.7183},
        {"a digit below five rounds down", "1.23454", 1.2345},
        {"a written half rounds up although its double lies below", "1.23455", 1.2346},
        {"a negative half rounds away from zero", "-0.00005", -0.0001},
        {"a positive half rounds up", "0.00005", 0.0001},
        {"below half gives zero", "0.00004", 0.0},
        {"trailing zeros are dropped", "7.50", 7.5},
        {"a whole number stays whole", "100", 100.0},
        {"leading and trailing blanks are allowed", "  12.5 ", 12.5},
        {"an exponent is read", "1.5E+02", 150.0},
        {"a tiny exponent value gives zero", "1e-16", 0.0},
        {"a carry runs through nines", "9.99995", 10.0},
        {"a point without integer digits", ".5", 0.5},
        {"an explicit plus sign", "+3", 3.0},
        {"text is not a number", "abc", std::nullopt},
        {"an empty value is not a number", "", std::nullopt},
        {"a comma is not a decimal point", "1,5", std::nullopt},
        {"two points are not a number", "1.2.3", std::nullopt},
        {"a lone point is not a number", ".", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(roundedNumber(c.text), c.expected) << c.name;
    }
}

TEST(RoundedNumber, GivesTheSameDoubleAsReadingTheRoundedText) {
    // A rounded value must be the double that its four-decimal text reads as, or two drawings
    // holding the same written number would compare unequal.
    for (int i = -20000; i <= 20000; i += 7) {
        // Every four-decimal value from -2 to 2 in steps of 0.0007, leading zeros included.
        std::array<char, 16> buffer{};
        std::snprintf(buffer.data(), buffer.size(), "%s%d.%04d", i < 0 ? "-" : "",
                      std::abs(i) / 10000, std::abs(i) % 10000);
        std::string text = buffer.data();
        EXPECT_EQ(*roundedNumber(text), std::stod(text)) << text;
    }
}

// What the general reading makes of a text: the reference for the quick ones.
std::optional<double> generallyRounded(const std::string& text) {
    auto number = DecimalDigits::fromText(text);
    if (!number) {
        return std::nullopt;
    }
    number->roundToSignificant(15);
    number->roundToDecimals(4);
    return number->toDouble();
}

// Signs, leading zeros, up to eleven digits each side of the point (the quick readings take up
// to fifteen significant ones), none on one side, and now and then a character that is no digit.
std::string randomPlainText(std::mt19937& random) {
    const std::string characters = "0000123456789";
    std::string text = random() % 4 == 0 ? "-" : random() % 8 == 0 ? "+" : "";
    for (auto digits = random() % 12; digits > 0; --digits) {
        text += characters[random() % characters.size()];
    }
    if (random() % 8 != 0) {
        text += '.';
        for (auto digits = random() % 12; digits > 0; --digits) {
            text += characters[random() % characters.size()];
        }
    }
    if (!text.empty() && random() % 64 == 0) {
        // Bytes next to the digits' and the point's as well ("/" and ":", "-").
        text[random() % text.size()] = "x. e/:-"[random() % 7];
    }
    return text;
}

TEST(RoundedNumber, ReadsPlainDecimalsAsTheGeneralReadingDoes) {
    // Signs, leading zeros, up to eleven digits each side of the point (the quick reading takes
    // eight), none on one side, and now and then a character that is no digit.
    // Sixteen significant digits, where rounding to fifteen first moves the fourth decimal.
    const std::pair<const char*, double> sixteenDigits[] = {
        {"12345678.12344999", 12345678.1235},
        {"-87654321.00004999", -87654321.0001},
        {"99999999.99994999", 100000000.0},
    };
    for (const auto& [text, expected] : sixteenDigits) {
        EXPECT_EQ(roundedNumber(text), expected) << text;
        EXPECT_EQ(generallyRounded(text), expected) << text;
    }
    std::mt19937 random(20261207);
    for (int k = 0; k < 200000; ++k) {
        const std::string text = randomPlainText(random);
        SCOPED_TRACE(text);
        EXPECT_EQ(roundedNumber(text), generallyRounded(text));
    }
}

// The bits of a number read, so that a zero's sign counts; nothing when it is no number.
std::optional<std::uint64_t> bitsOf(std::optional<double> value) {
    return value ? std::optional(std::bit_cast<std::uint64_t>(*value)) : std::nullopt;
}

TEST(Decimal, ReadsEveryTextToTheBitsTheGeneralReadingGives) {
    const char* const texts[] = {"-0.000",
                                 "+0",
                                 "0.1",
                                 "-1.5",
                                 "123456789012345",
                                 "1234567890123456",
                                 "0.3",
                                 "5.",
                                 ".5",
                                 "-.5",
                                 "1e5",
                                 " 12.5 ",
                                 "7.50000",
                                 "1,5",
                                 "",
                                 ".",
                                 "-",
                                 "0.000000000000000001",
                                 "2.675",
                                 "9007199254740993",
                                 "0.1234567890123456789"};
    for (const char* text : texts) {
        auto general = DecimalDigits::fromText(text);
        EXPECT_EQ(bitsOf(parseDecimal(text)), bitsOf(general ? general->toDouble() : std::nullopt))
            << text;
    }
    std::mt19937 random(20261208);
    for (int k = 0; k < 200000; ++k) {
        const std::string text = randomPlainText(random);
        auto general = DecimalDigits::fromText(text);
        ASSERT_EQ(bitsOf(parseDecimal(text)), bitsOf(general ? general->toDouble() : std::nullopt))
            << text;
    }
}

TEST(FormatFixed, PadsAndRoundsLikeTheDisplayPatterns) {
    struct Case {
        const char* name;
        double value;
        int decimals;
        const char* expected;
    };
    const Case cases[] = {
        {"percentage with two decimals", 33.333333, 2, "33.33"},
        {"whole percentage keeps its decimals", 100.0, 2, "100.00"},
        {"zero keeps its decimals", 0.0, 2, "0.00"},
        {"seconds with one decimal", 12.25, 1, "12.3"},
        {"a half rounds away from zero on the negative side", -0.25, 1, "-0.3"},
        {"a negative value rounding to zero has no sign", -0.04, 1, "0.0"},
        {"slope with four decimals", 1.0 / 3.0, 4, "0.3333"},
        {"large values are written in full", 1e20, 1, "100000000000000000000.0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatFixed(c.value, c.decimals), c.expected) << c.name;
    }
}

TEST(FormatCoordinate, WritesTheShortestTextWithoutExponent) {
    struct Case {
        const char* name;
        double value;
        const char* expected;
    };
    const Case cases[] = {
        {"a whole number has no point", 20.0, "20"},
        {"four decimals stay as written", 123.4568, "123.4568"},
        {"a negative value keeps its sign", -0.0001, "-0.0001"},
        {"negative zero is written as zero", -0.0, "0"},
        {"a small value is not written with an exponent", 0.00012, "0.00012"},
        {"a large value is not written with an exponent", 1e16, "10000000000000000"},
        {"at most fifteen significant digits", 0.1 + 0.2, "0.3"},
        {"fifteen digits of a large value with four decimals", 123456789012.3456,
         "123456789012.346"},
        {"a value between ten-thousandths", 0.00005, "0.00005"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatCoordinate(c.value), c.expected) << c.name;
    }
}

// Rounding and fixed writing take a shortcut away from ties; they must give what the
// fifteen-digit text gives.
TEST(RoundFixed, RoundsAndWritesAsTheFifteenDigitTextDoes) {
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> exponent(-6, 6);
    std::size_t differences = 0;
    for (int k = 0; k < 300'000; ++k) {
        const int decimals = static_cast<int>(random() % 5);
        double value = std::pow(10.0, exponent(random)) * (k % 2 == 0 ? 1 : -1);
        if (k % 3 == 0) {  // a tie at the last decimal kept, or a hair beside one
            const double unit = std::pow(10.0, -decimals);
            value = (std::round(value / unit) + 0.5) * unit + (static_cast<int>(k % 7) - 3) * 1e-12;
        }
        auto general = DecimalDigits::fromDouble(value);
        general.roundToDecimals(decimals);
        const double expected = general.toDouble().value_or(value);
        const std::string expectedText = general.toFixed(decimals);
        if (roundFixed(value, decimals) != expected ||
            std::signbit(roundFixed(value, decimals)) != std::signbit(expected) ||
            formatFixed(value, decimals) != expectedText) {
            ADD_FAILURE() << value << " to " << decimals << ": " << roundFixed(value, decimals)
                          << " vs " << expected << ", \"" << formatFixed(value, decimals)
                          << "\" vs \"" << expectedText << '"';
            if (++differences == 5) {
                return;
            }
        }
    }
}

// Values read with four decimals are written by a shortcut; it must give the general form's text,
// and the value it says the text reads back as must be what reading it gives, bit for bit.
TEST(FormatCoordinate, WritesFourDecimalValuesAsTheGeneralFormDoes) {
    std::mt19937_64 random(11);
    std::size_t differences = 0;
    for (int k = 0; k < 200'000; ++k) {
        const int magnitude = static_cast<int>(random() % 16);  // up to 10^15 ten-thousandths
        auto n = static_cast<std::int64_t>(random() % (std::uint64_t{10} << (3 * magnitude + 1)));
        n = magnitude == 15 ? static_cast<std::int64_t>(random() % 1'000'000'000'000'000) : n;
        const double value = (k % 2 == 0 ? n : -n) / 10000.0;
        const std::string general = DecimalDigits::fromDouble(value).toPlain();
        const WrittenCoordinate written = writeCoordinate(value);
        const std::optional<double> read = roundedNumber(written.text);
        if (written.text != general || !written.readBack || !read ||
            std::bit_cast<std::uint64_t>(*written.readBack) !=
                std::bit_cast<std::uint64_t>(*read)) {
            ADD_FAILURE() << value << ": " << written.text << " vs " << general << ", read back as "
                          << written.readBack.value_or(-1) << " vs " << read.value_or(-1);
            if (++differences == 5) {
                return;
            }
        }
    }
    // A negative zero is written "0", which reads back as a positive one.
    const WrittenCoordinate zero = writeCoordinate(-0.0);
    EXPECT_EQ(zero.text, "0");
    ASSERT_TRUE(zero.readBack.has_value());
    EXPECT_FALSE(std::signbit(*zero.readBack));
}

TEST(OptionNumbers, SinglePrecisionAndLeadingNumbers) {
    EXPECT_EQ(*parseSingle("0.1"), 0.1f);
    EXPECT_GT(static_cast<double>(*parseSingle("0.1")), 0.1);
    EXPECT_LT(static_cast<double>(*parseSingle("0.7")), 0.7);
    EXPECT_EQ(parseSingle("x"), std::nullopt);
    EXPECT_EQ(leadingDecimal("12abc"), 12.0);
    EXPECT_EQ(leadingDecimal("abc"), 0.0);
    EXPECT_EQ(leadingDecimal(" 2.5.1"), 2.5);
    EXPECT_EQ(roundFixed(0.33335, 4), 0.3334);
    EXPECT_EQ(roundFixed(-12.25, 1), -12.3);
}

}  // namespace
}  // namespace lintrel
