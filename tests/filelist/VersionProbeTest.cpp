#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "TempDir.h"
#include "VersionProbe.h"

namespace lintrel {
namespace {

using Lines = std::vector<std::string>;

const std::string kUnknown = " は、形式不明な DXFファイルです。";

std::string joined(const Lines& lines, const std::string& lineEnd = "\r\n") {
    std::string bytes;
    for (const auto& line : lines) {
        bytes += line + lineEnd;
    }
    return bytes;
}

// The seven lines before the version line.
const Lines kOpening = {"  0", "SECTION", "  2", "HEADER", "  9", "$ACADVER", "  1"};

// A header with $ACADVER first: its opening, the version line and a little more.
Lines headerWith(const std::string& version) {
    Lines lines = kOpening;
    lines.insert(lines.end(), {version, "  9", "$ACADMAINTVER", " 70", "     6"});
    return lines;
}

// How a binary DXF file begins.
constexpr char kBinaryStart[] = "AutoCAD Binary DXF\r\n\x1a\0\0\0SECTION\0\x02\0HEADER\0";

std::string verdictOf(const std::string& bytes) {
    std::istringstream in(bytes);
    auto verdict = checkAcadVer(in);
    return verdict.isAccepted() ? "accepted" : std::string(verdict.rejection);
}

TEST(CheckAcadVer, AcceptsOnly2000And2004AndNamesTheOthers) {
    struct Case {
        const char* name;
        const char* version;
        std::string verdict;
    };
    const Case cases[] = {
        {"the 2004 format is accepted", "AC1018", "accepted"},
        {"the 2000 format is accepted", "AC1015", "accepted"},
        {"the 2007 format is named", "AC1021", " は、AutoCAD 2007/LT2007 DXFファイルです。"},
        {"R14 is named", "AC1014", " は、AutoCAD R14/LT98/LT97 DXFファイルです。"},
        {"R13 is named", "AC1012", " は、AutoCAD R13/LT95 DXFファイルです。"},
        {"R12 is named", "AC1009", " は、AutoCAD R12/LT2 DXFファイルです。"},
        {"R10 is named", "AC1006", " は、AutoCAD R10 DXFファイルです。"},
        {"the 2010 format is outside the table", "AC1024", kUnknown},
        {"the 2018 format is outside the table", "AC1032", kUnknown},
        {"a lower-case version is unknown", "ac1015", kUnknown},
        {"a version with a trailing blank is unknown", "AC1015 ", kUnknown},
        {"a version with a leading blank is unknown", " AC1018", kUnknown},
        {"an empty version line is unknown", "", kUnknown},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(verdictOf(joined(headerWith(c.version))), c.verdict) << c.name;
    }
}

TEST(CheckAcadVer, ComparesTheHeaderLinesExactly) {
    struct Case {
        const char* name;
        std::size_t line;  // from 0
        const char* text;
    };
    const Case cases[] = {
        {"a first line 0 without its blanks", 0, "0"},
        {"a first line with a trailing blank", 0, "  0 "},
        {"a lower-case SECTION", 1, "section"},
        {"a code 2 padded with one blank", 2, " 2"},
        {"another section than HEADER", 3, "CLASSES"},
        {"a code 9 padded with three blanks", 4, "   9"},
        {"another first variable than $ACADVER", 5, "$DWGCODEPAGE"},
        {"a lower-case $acadver", 5, "$acadver"},
        {"a version code 1 without blanks", 6, "1"},
    };
    for (const auto& c : cases) {
        auto lines = headerWith("AC1015");
        lines[c.line] = c.text;
        EXPECT_EQ(verdictOf(joined(lines)), kUnknown) << c.name;
    }
}

TEST(CheckAcadVer, ReadsHeadersOfEveryShape) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string verdict;
    };
    const Lines comment = {"999", "dxflib 3.17.0.0"};
    auto withComments = [](Lines before, const Lines& header) {
        before.insert(before.end(), header.begin(), header.end());
        return before;
    };
    const Case cases[] = {
        {"an LF-only file is read", joined(headerWith("AC1015"), "\n"), "accepted"},
        {"a CR-only file is read", joined(headerWith("AC1018"), "\r"), "accepted"},
        {"an LF-only 2007 file is named", joined(headerWith("AC1021"), "\n"),
         " は、AutoCAD 2007/LT2007 DXFファイルです。"},
        {"a version line without a line end is read", joined(kOpening) + "AC1015", "accepted"},
        {"seven lines are too few", joined(kOpening), kUnknown},
        {"an empty file is unknown", "", kUnknown},
        {"a comment group before the header is skipped",
         joined(withComments(comment, headerWith("AC1015"))), "accepted"},
        {"several comment groups are skipped",
         joined(withComments({"999", "one", "999", "two", "999", ""}, headerWith("AC1018")), "\n"),
         "accepted"},
        {"a comment whose text reads 999 is skipped as text",
         joined(withComments({"999", "999"}, headerWith("AC1015"))), "accepted"},
        {"comments do not hide a refused version",
         joined(withComments(comment, headerWith("AC1009"))),
         " は、AutoCAD R12/LT2 DXFファイルです。"},
        {"a comment code written with blanks is no comment",
         joined(withComments({" 999", "x"}, headerWith("AC1015"))), kUnknown},
        {"a comment inside the header is no comment",
         joined(
             {"  0", "SECTION", "999", "x", "  2", "HEADER", "  9", "$ACADVER", "  1", "AC1015"}),
         kUnknown},
        {"a comment with nothing after it is unknown", joined(comment), kUnknown},
        {"a binary drawing is unknown", std::string(kBinaryStart, sizeof kBinaryStart - 1),
         kUnknown},
        {"a header variable before $ACADVER hides a valid version",
         joined({"  0", "SECTION", "  2", "HEADER", "  9", "$DWGCODEPAGE", "  3", "ANSI_932", "  9",
                 "$ACADVER", "  1", "AC1015"}),
         kUnknown},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(verdictOf(c.bytes), c.verdict) << c.name;
    }
}

TEST(CheckAcadVer, ProbesFilesByTheirPath) {
    testing::TempDir dir;
    std::filesystem::create_directory(dir.path() / "x.dxf");
    struct Case {
        const char* name;
        std::string path;
        std::string verdict;
    };
    const Case cases[] = {
        {"a 2000 drawing on disk is accepted", dir.write("a.dxf", joined(headerWith("AC1015"))),
         "accepted"},
        {"an R14 drawing on disk is named", dir.write("b.dxf", joined(headerWith("AC1014"))),
         " は、AutoCAD R14/LT98/LT97 DXFファイルです。"},
        {"a folder named x.dxf is unknown", (dir.path() / "x.dxf").string(), kUnknown},
        {"a missing file is unknown", (dir.path() / "missing.dxf").string(), kUnknown},
    };
    for (const auto& c : cases) {
        auto verdict = checkAcadVer(c.path);
        EXPECT_EQ(verdict.isAccepted() ? "accepted" : std::string(verdict.rejection), c.verdict)
            << c.name;
    }
}

}  // namespace
}  // namespace lintrel
