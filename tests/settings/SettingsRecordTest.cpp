#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "OptionSet.h"
#include "SettingsRecord.h"

namespace lintrel {
namespace {

using Bytes = std::vector<std::pair<std::size_t, std::uint8_t>>;

// The Doubles of the tests, little-endian, as a hex dump of a stored record shows them.
constexpr std::array<std::uint8_t, 8> kBytesOf1234_5678 = {0xAD, 0xFA, 0x5C, 0x6D,
                                                           0x45, 0x4A, 0x93, 0x40};
constexpr std::array<std::uint8_t, 8> kBytesOfHalf = {0, 0, 0, 0, 0, 0, 0xE0, 0x3F};
constexpr std::array<std::uint8_t, 8> kBytesOf12 = {0, 0, 0, 0, 0, 0, 0x28, 0x40};
constexpr std::array<std::uint8_t, 8> kBytesOf1_1 = {0x9A, 0x99, 0x99, 0x99,
                                                     0x99, 0x99, 0xF1, 0x3F};
constexpr std::array<std::uint8_t, 8> kBytesOfNaN = {0, 0, 0, 0, 0, 0, 0xF8, 0x7F};

// The record of a fresh window, written out by hand: Check9 to Check4 at 27..38, Option1(0)
// selected at 39, Check5 at 41, every Double 0, Check12 and Check13 clear.
RecordBytes defaultBytes() {
    RecordBytes bytes{};
    for (std::size_t offset = 27; offset <= 38; ++offset) {
        bytes[offset] = 1;
    }
    bytes[39] = 0xFF;
    bytes[41] = 1;
    return bytes;
}

void put(RecordBytes& bytes, std::size_t offset, const std::array<std::uint8_t, 8>& number) {
    for (std::size_t i = 0; i < number.size(); ++i) {
        bytes[offset + i] = number[i];
    }
}

RecordBytes stored(const OptionSet& options, RecordBytes start = {}) {
    SettingsRecord record(start);
    EXPECT_EQ(storeOptions(options, record).has_value(), false);
    return record.bytes();
}

TEST(StoreOptions, WritesAFreshWindowAsItsDefaultBytes) {
    EXPECT_EQ(stored(OptionSet()), defaultBytes());
}

TEST(StoreOptions, PutsEachBoxAtItsOwnByte) {
    struct Case {
        const char* name;
        const char* control;
        bool on;
        Bytes changes;
    };
    const Case cases[] = {
        {"Check9 is byte 27", "Check9", false, {{27, 0}}},
        {"Check7 is byte 28", "Check7", false, {{28, 0}}},
        {"Check10 is byte 29", "Check10", false, {{29, 0}}},
        {"Check11 is byte 30", "Check11", false, {{30, 0}}},
        {"TEXT文字削除 is byte 31", "TEXT文字削除", false, {{31, 0}}},
        {"MTEXT文字削除 is byte 32", "MTEXT文字削除", false, {{32, 0}}},
        {"Check6 is byte 33", "Check6", false, {{33, 0}}},
        {"Check8 is byte 34", "Check8", false, {{34, 0}}},
        {"Check1 is byte 35", "Check1", false, {{35, 0}}},
        {"Check2 is byte 36", "Check2", false, {{36, 0}}},
        {"Check3 is byte 37", "Check3", false, {{37, 0}}},
        {"Check4 is byte 38", "Check4", false, {{38, 0}}},
        {"a cleared Option1(0) is 0x00 at 39", "Option1(0)", false, {{39, 0x00}}},
        {"a selected Option1(1) is 0xFF at 40", "Option1(1)", true, {{39, 0x00}, {40, 0xFF}}},
        {"Check5 is byte 41", "Check5", false, {{41, 0}}},
        {"Check12 is byte 106", "Check12", true, {{32, 0}, {106, 1}}},
        {"Check13 is byte 107", "Check13", true, {{31, 0}, {107, 1}}},
    };
    for (const auto& c : cases) {
        OptionSet options;
        options.setTicked(c.control, c.on);
        auto expected = defaultBytes();
        for (auto [offset, value] : c.changes) {
            expected[offset] = value;
        }
        EXPECT_EQ(stored(options), expected) << c.name;
    }
}

TEST(StoreOptions, PutsEachTextAsALittleEndianDoubleAtItsOffset) {
    struct Case {
        const char* name;
        const char* control;
        std::size_t offset;
    };
    const Case cases[] = {
        {"Text1 is the Double at 42", "Text1", 42}, {"Text2 is the Double at 50", "Text2", 50},
        {"Text3 is the Double at 58", "Text3", 58}, {"Text4 is the Double at 66", "Text4", 66},
        {"Text5 is the Double at 74", "Text5", 74}, {"Text6 is the Double at 82", "Text6", 82},
        {"Text8 is the Double at 90", "Text8", 90}, {"Text9 is the Double at 98", "Text9", 98},
    };
    for (const auto& c : cases) {
        OptionSet options;
        options.setText(c.control, "1234.5678");
        auto expected = defaultBytes();
        put(expected, c.offset, kBytesOf1234_5678);
        EXPECT_EQ(stored(options), expected) << c.name;
    }
}

TEST(StoreOptions, StoresEmptyAndPointAndZeroAsZero) {
    struct Case {
        const char* name;
        const char* text;
        std::array<std::uint8_t, 8> bytes;
    };
    const Case cases[] = {
        {"an empty box stores 0", "", {}},
        {"a lone point stores 0", ".", {}},
        {"a typed 0 stores 0", "0", {}},
        {"one half stores 0.5", "0.5", kBytesOfHalf},
        {"12 with a point stores 12", "12.", kBytesOf12},
        {"1.1 stores its nearest Double", "1.1", kBytesOf1_1},
    };
    for (const auto& c : cases) {
        OptionSet options;
        options.setText("Text5", c.text);
        auto expected = defaultBytes();
        put(expected, 74, c.bytes);
        EXPECT_EQ(stored(options), expected) << c.name;
    }
}

TEST(StoreOptions, KeepsTheReservedBytes) {
    RecordBytes start{};
    for (std::size_t offset = 0; offset < 27; ++offset) {
        start[offset] = static_cast<std::uint8_t>(0xA0 + offset);
    }
    start[27] = 0x55;  // owned by Check9, so overwritten
    auto expected = defaultBytes();
    std::copy_n(start.begin(), 27, expected.begin());
    EXPECT_EQ(stored(OptionSet(), start), expected);
}

TEST(StoreOptions, LeavesTheRecordAloneWhenATextIsNoNumber) {
    OptionSet options;
    options.setTicked("Check1", false);
    options.setText("Text4", "1,5");
    RecordBytes start{};
    start[3] = 7;
    SettingsRecord record(start);
    auto failure = storeOptions(options, record);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->control, "Text4");
    EXPECT_EQ(failure->text, "1,5");
    EXPECT_EQ(record.bytes(), start);
}

TEST(ApplySettings, SetsTheOptionsFromHandMadeBytes) {
    struct Case {
        const char* name;
        Bytes bytes;                         // over the default record
        std::map<std::string, bool> ticked;  // expected, checked by name
        std::map<std::string, std::string> texts;
    };
    const Case cases[] = {
        {"the default record gives the defaults",
         {},
         {{"Check9", true}, {"Check12", false}, {"Option1(0)", true}, {"Option1(1)", false}},
         {{"Text1", ""}, {"Text9", ""}}},
        {"a zero byte clears its box",
         {{28, 0}, {41, 0}},
         {{"Check7", false}, {"Check5", false}, {"Check9", true}},
         {}},
        {"a byte other than 0 and 1 reads as ticked",
         {{28, 0x02}, {30, 0xFF}},
         {{"Check7", true}, {"Check11", true}},
         {}},
        {"both option bytes 0 leave neither button selected",
         {{39, 0}, {40, 0}},
         {{"Option1(0)", false}, {"Option1(1)", false}},
         {}},
        {"Option1(1) alone is selected",
         {{39, 0}, {40, 0xFF}},
         {{"Option1(0)", false}, {"Option1(1)", true}},
         {}},
        {"both option bytes set leave the later one selected",
         {{39, 0xFF}, {40, 0xFF}},
         {{"Option1(0)", false}, {"Option1(1)", true}},
         {}},
        {"both TEXT boxes ticked load as Check13 alone",
         {{31, 1}, {107, 1}},
         {{"TEXT文字削除", false}, {"Check13", true}},
         {}},
        {"both MTEXT boxes ticked load as Check12 alone",
         {{32, 1}, {106, 1}},
         {{"MTEXT文字削除", false}, {"Check12", true}},
         {}},
        {"a cleared delete-every box leaves its alternative clear",
         {{31, 0}, {32, 0}},
         {{"TEXT文字削除", false},
          {"Check13", false},
          {"MTEXT文字削除", false},
          {"Check12", false}},
         {}},
    };
    for (const auto& c : cases) {
        auto bytes = defaultBytes();
        for (auto [offset, value] : c.bytes) {
            bytes[offset] = value;
        }
        OptionSet options;
        ApplySettings(SettingsRecord(bytes), options);
        for (const auto& [name, on] : c.ticked) {
            EXPECT_EQ(options.ticked(name), std::optional<bool>(on)) << c.name << ": " << name;
        }
        for (const auto& [name, text] : c.texts) {
            EXPECT_EQ(options.text(name), std::optional<std::string>(text))
                << c.name << ": " << name;
        }
    }
}

TEST(ApplySettings, ShowsEachStoredDoubleInItsBoxAndLeavesZerosAlone) {
    auto bytes = defaultBytes();
    put(bytes, 42, kBytesOfHalf);       // Text1
    put(bytes, 58, kBytesOf12);         // Text3
    put(bytes, 90, kBytesOf1234_5678);  // Text8
    put(bytes, 98, kBytesOfNaN);        // Text9
    OptionSet options;
    options.setText("Text2", "7");  // stored 0: the box keeps its text
    options.setText("Text9", "3");  // no box could have stored NaN: kept too
    ApplySettings(SettingsRecord(bytes), options);
    const std::map<std::string, std::string> expected = {
        {"Text1", "0.5"}, {"Text2", "7"}, {"Text3", "12"},        {"Text4", ""},
        {"Text5", ""},    {"Text6", ""},  {"Text8", "1234.5678"}, {"Text9", "3"}};
    for (const auto& [name, text] : expected) {
        EXPECT_EQ(options.text(name), std::optional<std::string>(text)) << name;
    }
}

TEST(SettingsRecord, RoundTripsOptionsThroughItsBytes) {
    OptionSet options;
    options.setTicked("Check13", true);
    options.setTicked("Option1(1)", true);
    options.setTicked("Check10", false);
    options.setText("Text1", "0.5");
    options.setText("Text4", "12.");
    options.setText("Text6", ".");
    options.setText("Text8", "0");
    options.setText("Text9", "250");
    SettingsRecord record;
    ASSERT_FALSE(storeOptions(options, record).has_value());

    OptionSet loaded;
    ApplySettings(record, loaded);
    OptionSet expected = options;
    expected.setText("Text4", "12");
    expected.setText("Text6", "");
    expected.setText("Text8", "");
    EXPECT_EQ(loaded, expected);
}

TEST(SettingsRecord, ReadsAndWritesDoublesAtUnalignedOffsets) {
    SettingsRecord record;
    record.setNumberAt(43, -2.25);
    RecordBytes expected{};
    expected[49] = 0x02;
    expected[50] = 0xC0;
    EXPECT_EQ(record.bytes(), expected);
    EXPECT_EQ(record.numberAt(43), -2.25);
}

TEST(TextToStored, ReadsEmptyAndPointAsZeroAndOtherTextsAsNumbers) {
    struct Case {
        const char* name;
        const char* text;
        std::optional<double> expected;
    };
    const Case cases[] = {
        {"an empty text is 0", "", 0.0},
        {"a lone point is 0", ".", 0.0},
        {"a plain number", "0.5", 0.5},
        {"a trailing point", "12.", 12.0},
        {"a leading point", ".25", 0.25},
        {"a comma is no decimal point", "1,5", std::nullopt},
        {"letters are no number", "abc", std::nullopt},
        {"a lone blank is no number", " ", std::nullopt},
        {"two points are no number", "1.2.", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TextToStored(c.text), c.expected) << c.name;
    }
}

TEST(StoredToText, WritesShortDecimalsAndNothingForZero) {
    struct Case {
        const char* name;
        double value;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"zero shows nothing", 0.0, std::nullopt},
        {"negative zero shows nothing", -0.0, std::nullopt},
        {"one half", 0.5, "0.5"},
        {"ten has no point", 10.0, "10"},
        {"no trailing zeros", 2.25, "2.25"},
        {"the nearest Double of 1.1 shows as 1.1", 1.1, "1.1"},
        {"infinity shows nothing", std::numeric_limits<double>::infinity(), std::nullopt},
        {"NaN shows nothing", std::numeric_limits<double>::quiet_NaN(), std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StoredToText(c.value), c.expected) << c.name;
    }
}

}  // namespace
}  // namespace lintrel
