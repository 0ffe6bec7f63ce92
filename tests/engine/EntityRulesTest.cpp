#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

#include "CleanRun.h"
#include "Controls.h"
#include "CopyNames.h"
#include "Drawing.h"
#include "FakeWindow.h"
#include "TempDir.h"

namespace lintrel {
namespace {

using testing::crlf;
using testing::drawing;
using testing::FakeWindow;
using testing::lineRecord;
using testing::record;
using testing::TempDir;

struct RuleCase {
    const char* name;
    std::vector<std::string_view> ticked;  // every other check box is clear
    std::map<std::string, std::string> texts;
    std::string entities;
    std::string kept;
    std::map<std::string, std::string> labels;  // counter labels that must read so afterwards
};

const std::string kDashedLine = lineRecord("0", "0", "10", "0", "0", "DASHED");
const std::string kPlainLine = lineRecord("0", "5", "10", "5");
const std::string kTextWith73 =
    record("TEXT", {{"100", "AcDbText"}, {"  1", "A"}, {"100", "AcDbText"}, {" 73", "2"}});
const std::string kBlankText = record("TEXT", {{"  1", "   "}});
const std::string kFullWidthBlankText = record("TEXT", {{"  1", " \x81\x40"}});
const std::string kMTextWithout44 = record("MTEXT", {{"  1", "note"}});
const std::string kEscapedBlankMText = record("MTEXT", {{"  3", "x"}, {"  1", "\\U+3000 "}});
const std::string kDimension = record("DIMENSION", {{"  1", "  0"}, {" 70", "32"}});
const std::string kXLine = record("XLINE", {{" 10", "0"}, {" 31", "0"}});
const std::string kDashedCircle = record("CIRCLE", {{"  6", "DASHED"}, {" 40", "1"}});
const std::string kContinuousArc =
    record("ARC", {{"  6", "Continuous"}, {" 40", "10"}, {" 50", "350"}, {" 51", "10"}});
const std::string kPoint = record("POINT", {{" 10", "1"}, {" 30", "0"}});
const std::string kDashedPoint = record("POINT", {{"  6", "DASHED"}, {" 30", "0"}});
const std::string kLineWithXData =
    lineRecord("0", "0", "0", "0") + crlf({"1001", "APP", "1000", "data"});

// Code lines as other writers pad them: none, leading zeros, a tab, a trailing blank.
const std::string kOddlyCodedLongLine =
    record("LINE", {{"8", "0"}, {"10", "0"}, {"020", "0"}, {"\t11", "1000"}, {" 21 ", "0"}});
const std::string kUnpaddedLongLine =
    record("LINE", {{"10", "0"}, {"20", "0"}, {"11", "0"}, {"21", "1500"}});
const std::string kShortLine = lineRecord("0", "0", "1", "0");
const std::string kTextOpenedByOneBlank = crlf({" 0", "TEXT", "  1", "note"});
const std::string kLineOpenedByNoBlank =
    crlf({"0", "LINE", " 10", "0", " 20", "9", " 11", "50", " 21", "9"});

const RuleCase kCases[] = {
    {"a LINE whose codes are padded otherwise keeps its ends and its length",
     {control::Check5},
     {{"Text1", "10"}},
     kOddlyCodedLongLine + kUnpaddedLongLine,
     kOddlyCodedLongLine + kUnpaddedLongLine,
     {{"Label5", "0"}}},
    {R"(a record opened by " 0" or "0" is a record of its own)",
     {control::Check5},
     {{"Text1", "10"}},
     kShortLine + kTextOpenedByOneBlank + kLineOpenedByNoBlank,
     kTextOpenedByOneBlank + kLineOpenedByNoBlank,
     {{"Label5", "1"}}},
    {"a CIRCLE and an ARC with unpadded codes are measured by their own radius",
     {control::Check5},
     {{"Text2", "3.48"}, {"Text3", "2"}},
     record("CIRCLE", {{"40", "10"}}) +
         record("ARC", {{"040", "10"}, {"50", "350"}, {"51\t", "10"}}),
     record("CIRCLE", {{"40", "10"}}) +
         record("ARC", {{"040", "10"}, {"50", "350"}, {"51\t", "10"}}),
     {{"Label6", "0"}}},
    {"an unpadded linetype group is the record's linetype",
     {control::Check1, control::Check2},
     {},
     record("LINE", {{"6", "DASHED"}}) + record("CIRCLE", {{"06", "DASHED"}, {" 40", "1"}}),
     "",
     {{"Label2", "1"}, {"Label3", "1"}}},
    {"a LINE with two linetype groups is of the last one's linetype",
     {control::Check1},
     {},
     record("LINE", {{"  6", "DASHED"}, {" 10", "0"}, {"  6", "Continuous"}, {" 11", "5"}}) +
         record("LINE", {{"  6", "Continuous"}, {" 10", "0"}, {"  6", "DASHED"}, {" 11", "5"}}),
     record("LINE", {{"  6", "DASHED"}, {" 10", "0"}, {"  6", "Continuous"}, {" 11", "5"}}),
     {{"Label2", "1"}}},
    {"so it is when duplicates are looked for too",
     {control::Check1, control::Check7},
     {},
     record("LINE", {{"  6", "DASHED"}, {" 10", "0"}, {"  6", "Continuous"}, {" 11", "5"}}) +
         record("LINE", {{"  6", "Continuous"}, {" 10", "9"}, {"  6", "DASHED"}, {" 11", "20"}}),
     record("LINE", {{"  6", "DASHED"}, {" 10", "0"}, {"  6", "Continuous"}, {" 11", "5"}}),
     {{"Label2", "1"}}},
    {"an unpadded text group is the text the blank rule reads",
     {control::Check13, control::Check12},
     {},
     record("TEXT", {{"1", "  "}}) + record("MTEXT", {{"1 ", ""}}),
     "",
     {{"Label1", "1"}, {"Label18", "1"}}},

    {"a deleted TEXT leaves nothing behind, its 73 group included",
     {control::TextDelete},
     {},
     kTextWith73 + kPlainLine,
     kPlainLine,
     {{"Label1", "1"}}},
    {"a kept TEXT keeps its 73 group", {control::Check6}, {}, kTextWith73, kTextWith73, {}},
    {"only blank TEXT goes, full-width blanks included",
     {control::Check13},
     {},
     kBlankText + kFullWidthBlankText + kTextWith73,
     kTextWith73,
     {{"Label1", "2"}}},
    {"an MTEXT without a 44 group does not swallow the next record",
     {control::MTextDelete},
     {},
     kMTextWithout44 + kPlainLine,
     kPlainLine,
     {{"Label18", "1"}}},
    {"only blank MTEXT goes, the escaped ideographic blank included",
     {control::Check12},
     {},
     kEscapedBlankMText + kMTextWithout44,
     kMTextWithout44,
     {{"Label18", "1"}}},
    {"a DIMENSION goes whole, up to the next record",
     {control::Check6},
     {},
     kDimension + kPlainLine,
     kPlainLine,
     {{"Label22", "1"}}},
    {"a DIMENSION stays when its box is clear",
     {control::Check8},
     {},
     kDimension,
     kDimension,
     {{"Label22", "0"}}},
    {"an XLINE goes", {control::Check8}, {}, kXLine + kPlainLine, kPlainLine, {{"Label46", "1"}}},
    {"linetype rule: named linetypes go, ByBlock, Continuous and none stay",
     {control::Check1},
     {},
     kDashedLine + lineRecord("0", "1", "9", "1", "0", "ByBlock") +
         lineRecord("0", "2", "9", "2", "0", "BYLAYER") +
         lineRecord("0", "3", "9", "3", "0", "Continuous") +
         lineRecord("0", "4", "9", "4", "0", "CONTINUOUS") + kPlainLine,
     lineRecord("0", "1", "9", "1", "0", "ByBlock") +
         lineRecord("0", "3", "9", "3", "0", "Continuous") + kPlainLine,
     {{"Label2", "3"}}},
    {"a CIRCLE deleted by its linetype is not counted again by size",
     {control::Check2, control::Check5},
     {{"Text3", "5"}},
     kDashedCircle,
     "",
     {{"Label3", "1"}, {"Label6", "0"}}},
    {"every POINT goes with all linetypes chosen",
     {control::Check4, control::Option1_0},
     {},
     kPoint + kDashedPoint,
     "",
     {{"Label4", "2"}}},
    {"only POINTs in special linetypes go with that choice",
     {control::Check4, control::Option1_1},
     {},
     kPoint + kDashedPoint,
     kPoint,
     {{"Label4", "1"}}},
    {"a zero-length LINE goes at size zero, with its extended data",
     {control::Check5},
     {{"Text1", "0"}, {"Text2", "0"}, {"Text3", "0"}, {"Text4", "0.0"}},
     kLineWithXData + kPlainLine,
     kPlainLine,
     {{"Label5", "1"}}},
    {"a straight LINE as long as its limit goes, an oblique one is judged by its own",
     {control::Check5},
     {{"Text1", "5"}, {"Text4", "4"}},
     lineRecord("2", "0", "2", "5") + lineRecord("0", "0", "3", "4"),
     lineRecord("0", "0", "3", "4"),
     {{"Label5", "1"}}},
    {"an ARC from 350 to 10 degrees sweeps 20 degrees",
     {control::Check5},
     {{"Text2", "3.49"}},
     kContinuousArc,
     "",
     {{"Label6", "1"}}},
    {"an ARC just longer than its limit stays",
     {control::Check5},
     {{"Text2", "3.48"}},
     kContinuousArc,
     kContinuousArc,
     {{"Label6", "0"}}},
    {"a CIRCLE whose diameter equals the limit goes",
     {control::Check5},
     {{"Text3", "2"}},
     record("CIRCLE", {{" 40", "1"}}),
     "",
     {{"Label6", "1"}}},
    {"a deleted DIMENSION at the end of the section leaves the section end",
     {control::Check6},
     {},
     kPlainLine + kDimension,
     kPlainLine,
     {{"Label22", "1"}}},
};

TEST(EntityRules, DecideEachRecordAndCountIt) {
    for (const auto& c : kCases) {
        TempDir dir;
        FakeWindow window;
        for (auto box : control::kCheckBoxes) {
            window.tick(box, false);
        }
        window.tick(control::Option1_0, false);
        for (auto box : c.ticked) {
            window.tick(box, true);
        }
        for (const auto& [box, text] : c.texts) {
            window.texts[box] = text;
        }
        window.addFile(dir.write("in.dxf", drawing(c.entities)));
        RunReport report = CleanRun(window).run();
        ASSERT_EQ(report.outcome, RunOutcome::Completed) << c.name;
        EXPECT_EQ(testing::readBytes(dir.path() / "in-Cut.dxf"), drawing(c.kept)) << c.name;
        for (const auto& [label, caption] : c.labels) {
            EXPECT_EQ(window.caption(label), caption) << c.name << " " << label;
        }
    }
}

TEST(EntityRules, CopiesUnknownRecordsLineByLineWithCrLf) {
    TempDir dir;
    FakeWindow window;
    window.tick(control::Check7, false);
    window.tick(control::Check9, false);
    const std::string lfOnly = "  0\nSECTION\n  2\nENTITIES\n  0\nHATCH\n  2\nSOLID\n  0\nEOF";
    window.addFile(dir.write("lf.dxf", lfOnly));
    ASSERT_EQ(CleanRun(window).run().outcome, RunOutcome::Completed);
    EXPECT_EQ(
        testing::readBytes(dir.path() / "lf-Cut.dxf"),
        crlf({"  0", "SECTION", "  2", "ENTITIES", "  0", "HATCH", "  2", "SOLID", "  0", "EOF"}));
    EXPECT_EQ(testing::readBytes(dir.path() / "lf.dxf"), lfOnly);
}

TEST(OutputPath, ReplacesTheLastFourCharacters) {
    struct Case {
        const char* name;
        const char* input;
        const char* dir;
        const char* expected;
    };
    const Case cases[] = {
        {"an upper-case extension", "/d/plan.DXF", "", "/d/plan-Cut.dxf"},
        {"a name without a dot loses a letter", "/d/plandxf", "", "/d/pla-Cut.dxf"},
        {"an output folder keeps the name", "/d/plan.dxf", "/out", "/out/plan-Cut.dxf"},
        {"leading blanks are kept", "  plan.dxf", "", "  plan-Cut.dxf"},
        {"a blank before the name stays in its folder", "/d/ a.dxf", "", "/d/ a-Cut.dxf"},
        {"a short name takes nothing from its folder", "/d/plan/dxf", "", "/d/plan/-Cut.dxf"},
        {"a name of four characters", "adxf", "", "-Cut.dxf"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(outputPathFor(c.input, c.dir), c.expected) << c.name;
    }
}

}  // namespace
}  // namespace lintrel
