#include <gtest/gtest.h>

#include <string>

#include "AciColours.h"
#include "Drawing.h"
#include "DrawingReader.h"
#include "PreviewDrawings.h"
#include "TextDecoding.h"

namespace lintrel::preview {
namespace {

struct DecodingCase {
    const char* name;
    const char* codePage;
    bool isUtf8;
    std::string bytes;
    std::string text;
};

const DecodingCase kDecoding[] = {
    {"Shift-JIS of ANSI_932 becomes UTF-8", "ANSI_932", false, "\x93\xFA\x96\x7B", "日本"},
    {"a Shift-JIS second byte that is a backslash starts no escape", "ANSI_932", false,
     "\x95\x5CU+0041", "表U+0041"},
    {"a \\U+ escape is its character", "ANSI_932", false, "A\\U+65E5B", "A日B"},
    {"a \\M+ escape is its Shift-JIS pair", "ANSI_1252", false, "\\M+193FA", "日"},
    {"a Latin-1 byte of ANSI_1252 becomes UTF-8", "ANSI_1252", false, "caf\xE9", "café"},
    {"UTF-8 of a new drawing stays", "ANSI_1252", true, "日本", "日本"},
    {"a byte that is no character is shown as a replacement", "ANSI_932", false, "A\xA0\xFD",
     "A\xEF\xBF\xBD\xEF\xBF\xBD"},
};

class Decoding : public ::testing::TestWithParam<DecodingCase> {};

TEST_P(Decoding, GivesTheText) {
    const DecodingCase& c = GetParam();
    EXPECT_EQ(TextDecoding(c.codePage, c.isUtf8).decode(c.bytes), c.text);
}

INSTANTIATE_TEST_SUITE_P(Text, Decoding, ::testing::ValuesIn(kDecoding),
                         [](const auto& row) { return testing::identifier(row.param.name); });

// A drawing's texts are decoded one after the other: none is read in the shift state the one
// before ended in (EBCDIC Japanese shifts to two-byte characters with SO, 0x0E, and back with SI).
TEST(Text, DecodesEachTextFromTheInitialShiftState) {
    const TextDecoding decoding("ANSI_930", false);
    const std::string shiftedOut = "\xC1\x0E";
    const std::string letterA = "\xC1";
    ASSERT_EQ(decoding.decode(letterA), "A");
    decoding.decode(shiftedOut);
    EXPECT_EQ(decoding.decode(letterA), "A");
}

TEST(Text, StripsMTextFormattingAndBreaksLinesAtP) {
    EXPECT_EQ(plainMText("{\\fArial|b0|i0;\\H2.5x;Hello}\\PWorld \\S1^2; \\Lunder\\l\\~end\\\\"),
              "Hello\nWorld 1/2 under end\\");
}

TEST(Text, ShowsThePercentCodesOfText) {
    EXPECT_EQ(plainText("%%c10 %%d %%p0.1 %%uunder%%u 100%%%"), "Ø10 ° ±0.1 under 100%");
}

TEST(Text, ReadsTextsOfAShiftJisDrawingAtTheirInsertionPoint) {
    const std::string header = testing::crlf({"  9", "$DWGCODEPAGE", "  3", "ANSI_932"});
    const std::string entities = testing::record("TEXT", {{"  8", "0"},
                                                          {" 10", "3"},
                                                          {" 20", "4"},
                                                          {" 40", "2.5"},
                                                          {"  1", "\x93\xFA\x96\x7B"},
                                                          {" 50", "90"}}) +
                                 testing::record("MTEXT", {{"  8", "0"},
                                                           {" 10", "1"},
                                                           {" 20", "1"},
                                                           {" 40", "1"},
                                                           {"  3", "{\\C1;AB"},
                                                           {"  1", "C}\\PD"}});
    const DrawingModel model = modelOf(testing::previewDrawing(entities, "", "", header));
    ASSERT_EQ(model.texts.size(), 2U);
    EXPECT_EQ(model.texts[0].text, "日本");
    EXPECT_DOUBLE_EQ(model.texts[0].at.x, 3);
    EXPECT_DOUBLE_EQ(model.texts[0].height, 2.5);
    EXPECT_NEAR(model.texts[0].radians, 1.5707963267948966, 1e-12);
    EXPECT_EQ(model.texts[1].text, "ABC\nD");
}

struct ColourCase {
    int index;
    Rgb rgb;
};

class AciTable : public ::testing::TestWithParam<ColourCase> {};

TEST_P(AciTable, GivesTheStandardColour) {
    EXPECT_EQ(aciColour(GetParam().index), GetParam().rgb);
}

INSTANTIATE_TEST_SUITE_P(Colours, AciTable,
                         ::testing::Values(ColourCase{1, 0xFF0000}, ColourCase{5, 0x0000FF},
                                           ColourCase{7, 0xFFFFFF}, ColourCase{8, 0x808080},
                                           ColourCase{10, 0xFF0000}, ColourCase{11, 0xFF7F7F},
                                           ColourCase{12, 0xCC0000}, ColourCase{19, 0x4C2626},
                                           ColourCase{20, 0xFF3F00}, ColourCase{21, 0xFF9F7F},
                                           ColourCase{80, 0x3FFF00}, ColourCase{170, 0x0000FF},
                                           ColourCase{250, 0x333333}, ColourCase{255, 0xFFFFFF}));

}  // namespace
}  // namespace lintrel::preview
