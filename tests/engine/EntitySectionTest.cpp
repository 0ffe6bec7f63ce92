#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "Drawing.h"
#include "DxfError.h"
#include "EntitySection.h"
#include "TempDir.h"

namespace lintrel {
namespace {

using testing::crlf;
using testing::TempDir;

// The head lines, then one token per item: "pair:CODE=VALUE", "line:X", "head:TYPE" or
// "record:TYPE/pairs".
std::vector<std::string> walk(const std::string& bytes, RecordTypes types = {}) {
    TempDir dir;
    DxfLineReader reader(dir.write("walk.dxf", bytes));
    EntitySection section(reader, types);
    std::vector<std::string> items;
    int head = 0;
    section.readHead([&](std::string_view) { ++head; });
    items.push_back("head lines " + std::to_string(head));
    while (section.hasMore()) {
        switch (section.next()) {
            case EntitySection::Item::Pair:
                items.push_back("pair:" + std::string(section.code()) + "=" +
                                std::string(section.value()));
                break;
            case EntitySection::Item::Line:
                items.push_back("line:" + std::string(section.line()));
                break;
            case EntitySection::Item::OtherRecordHead:
                items.push_back("head:" + section.typeName());
                break;
            case EntitySection::Item::Record:
                items.push_back("record:" + section.typeName() + "/" +
                                std::to_string(section.record().size()));
                break;
        }
    }
    return items;
}

TEST(EntitySection, StartsAtTheSectionNamedEntitiesOnly) {
    // A block or table entry named ENTITIES sits in a "  2" pair but not right after SECTION.
    auto bytes = crlf({"  0", "BLOCK", "  2", "ENTITIES", "  0", "SECTION", "  2", "ENTITIES",
                       "  0", "POINT", " 10", "1", "  0", "EOF"});
    EXPECT_EQ(walk(bytes),
              (std::vector<std::string>{"head lines 8", "head:POINT", "pair: 10=1", "head:EOF"}));
}

TEST(EntitySection, ReadsRecordsOfRuledTypesUpToTheNextRecord) {
    auto bytes = crlf({"  0", "SECTION", "  2", "ENTITIES", "  0", "TEXT", "  1", "  0", "  0",
                       "HATCH", "  1", "  0", "  0", "LINE", " 73", "1", "  0", "EOF"});
    // A value "  0" is a value, inside a record with rules or not: lines are read in pairs.
    EXPECT_EQ(walk(bytes), (std::vector<std::string>{"head lines 4", "record:TEXT/1", "head:HATCH",
                                                     "pair:  1=  0", "record:LINE/1", "head:EOF"}));
}

TEST(EntitySection, ReadsDimensionsXlinesAndPointsAsRecordsOnlyWhenTheyAreDeleted) {
    auto bytes =
        crlf({"  0", "SECTION", "  2", "ENTITIES", "  0", "POINT", " 10", "1", "  0", "EOF"});
    EXPECT_EQ(walk(bytes, {}),
              (std::vector<std::string>{"head lines 4", "head:POINT", "pair: 10=1", "head:EOF"}));
    EXPECT_EQ(walk(bytes, {false, false, true}),
              (std::vector<std::string>{"head lines 4", "record:POINT/1", "head:EOF"}));
}

// Each record as "offset TYPE:code=value,...", with the pairs it kept.
std::vector<std::string> keptRecords(const std::string& bytes, KeptPairs kept) {
    TempDir dir;
    DxfLineReader reader(dir.write("kept.dxf", bytes));
    EntitySection section(reader, {}, kept);
    section.readHead([](std::string_view) {});
    std::vector<std::string> records;
    while (section.hasMore()) {
        if (section.next() != EntitySection::Item::Record) {
            continue;
        }
        std::string text = std::to_string(section.recordOffset()) + " " + section.typeName() + ":";
        const EntityRecord& record = section.record();
        for (int i = 0; i < record.size(); ++i) {
            text += std::string(record.code(i)) + "=" + std::string(record.value(i)) + ",";
        }
        records.push_back(text);
    }
    return records;
}

TEST(EntitySection, KeepsOnlyThePairsOfTheCodesAskedForOfTheTypeAskedFor) {
    const auto bytes = crlf({"  0", "SECTION", "  2", "ENTITIES", "  0", "LINE",  "  5", "1A",
                             "  8", "Walls",   "330", "1F",       " 10", "1.5",   " 62", "3",
                             " 20", "2.5",     "  0", "TEXT",     "  8", "Notes", "  1", "Hi",
                             "  0", "LINE",    " 10", "7",        "  8", "0",     "  0", "EOF"});
    // Found where they are found keeping every pair; codes of 64 and above are never asked for.
    EXPECT_EQ(keptRecords(bytes, {"LINE", KeptPairs::codesOf({8, 10, 20})}),
              (std::vector<std::string>{"29 LINE:  8=Walls, 10=1.5, 20=2.5,",
                                        "98 TEXT:", "130 LINE: 10=7,  8=0,"}));
    EXPECT_EQ(keptRecords(bytes, {}),
              (std::vector<std::string>{"29 LINE:  5=1A,  8=Walls,330=1F, 10=1.5, 62=3, 20=2.5,",
                                        "98 TEXT:  8=Notes,  1=Hi,", "130 LINE: 10=7,  8=0,"}));
}

// Lines ending otherwise than in CR LF are written pair by pair: a record that may be written then
// keeps every pair, one that is only read still keeps the codes asked for.
TEST(EntitySection, KeepsEveryPairOutsideCrLfOnlyOfRecordsThatMayBeWritten) {
    const std::string bytes =
        "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n  5\n1A\n  8\nWalls\n"
        " 10\n1.5\n  0\nEOF\n";
    const std::uint64_t codes = KeptPairs::codesOf({8, 10});
    EXPECT_EQ(keptRecords(bytes, {"LINE", codes, true}),
              (std::vector<std::string>{"25 LINE:  5=1A,  8=Walls, 10=1.5,"}));
    EXPECT_EQ(keptRecords(bytes, {"LINE", codes, false}),
              (std::vector<std::string>{"25 LINE:  8=Walls, 10=1.5,"}));
}

TEST(EntityRecord, HandsOverItsLinesAsReadWhicheverPairsItKept) {
    // CR LF, lone LFs and lone CRs, the last line of the record ending in a lone CR.
    const std::string bytes =
        "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\nLINE\r\n  8\nWalls\r 10"
        "\r\n1.5\n 62\r\n3\r  0\r\nEOF\r\n";
    for (const KeptPairs kept : {KeptPairs{}, KeptPairs{{}, KeptPairs::codesOf({10})},
                                 KeptPairs{{}, 0}, KeptPairs{"LINE", KeptPairs::codesOf({8})}}) {
        TempDir dir;
        DxfLineReader reader(dir.write("lines.dxf", bytes));
        EntitySection section(reader, {}, kept);
        section.readHead([](std::string_view) {});
        ASSERT_EQ(section.next(), EntitySection::Item::Record);
        std::vector<std::string> lines;
        section.record().handOverLinesAsRead(
            [&](std::string_view line) { lines.emplace_back(line); });
        EXPECT_EQ(lines, (std::vector<std::string>{"  8", "Walls", " 10", "1.5", " 62", "3"}));
    }
}

TEST(EntitySection, KeepsTheRecordThatEndsTheFile) {
    // A file that stops right after the "  0" pair ending a record still hands that pair over.
    auto bytes =
        crlf({"  0", "SECTION", "  2", "ENTITIES", "  0", "ARC", " 51", "10", "  0", "EOF"});
    EXPECT_EQ(walk(bytes), (std::vector<std::string>{"head lines 4", "record:ARC/1", "head:EOF"}));
}

TEST(EntitySection, KeepsARecordWholeWhileItsLinesCrossBufferFills) {
    // Pairs on both sides of several buffer fills must still read back as they were written.
    std::string longText(700000, 'w');
    auto bytes = crlf({"  0", "SECTION", "  2", "ENTITIES", "  0", "MTEXT", "  3", longText, "  1",
                       "end", " 10", "2.5", "  0", "EOF"});
    TempDir dir;
    DxfLineReader reader(dir.write("long.dxf", bytes));
    EntitySection section(reader, {});
    section.readHead([](std::string_view) {});
    ASSERT_EQ(section.next(), EntitySection::Item::Record);
    const EntityRecord& record = section.record();
    ASSERT_EQ(record.size(), 3);
    EXPECT_EQ(record.code(0), "  3");
    EXPECT_EQ(record.value(0), longText);
    EXPECT_EQ(record.value(1), "end");
    EXPECT_EQ(record.code(2), " 10");
    EXPECT_EQ(record.value(2), "2.5");
    EXPECT_EQ(section.next(), EntitySection::Item::OtherRecordHead);
    EXPECT_EQ(section.typeName(), "EOF");
}

TEST(EntitySection, FailsWithoutEntitiesOrInsideARecord) {
    EXPECT_THROW(walk(crlf({"  0", "SECTION", "  2", "HEADER"})), DxfError);
    EXPECT_THROW(walk(crlf({"  0", "SECTION", "  2", "ENTITIES", "  0", "LINE", " 10", "1"})),
                 DxfError);
    EXPECT_THROW(walk(crlf({"  0", "SECTION", "  2", "ENTITIES", "  0"})), DxfError);
}

TEST(EntitySection, ReadsCodeLinesByTheIntegerTheyHold) {
    auto bytes = crlf({"  0", "SECTION", " 2", "ENTITIES", " 0", "LINE", "010", "1", "\t20", "2",
                       "0", "HATCH", "  8 ", "x", "00", "EOF"});
    EXPECT_EQ(walk(bytes), (std::vector<std::string>{"head lines 4", "record:LINE/2", "head:HATCH",
                                                     "pair:  8 =x", "head:EOF"}));
}

TEST(EntitySection, HandsTheLinesAfterTheEofGroupOverAsTheyStand) {
    auto bytes = crlf({"  0", "SECTION", "  2", "ENTITIES", "  0", "EOF", "", "  0"});
    EXPECT_EQ(walk(bytes),
              (std::vector<std::string>{"head lines 4", "head:EOF", "line:", "line:  0"}));
}

TEST(EntitySection, CallsAFileCutShortDamagedWhereverItIsCut) {
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"without its EOF group", crlf({"  0", "SECTION", "  2", "ENTITIES", "  0", "ENDSEC"})},
        {"inside a record of another type",
         crlf({"  0", "SECTION", "  2", "ENTITIES", "  0", "LWPOLYLINE", " 10", "1"})},
        {"inside a record with rules",
         crlf({"  0", "SECTION", "  2", "ENTITIES", "  0", "LINE", " 10", "1"})},
        {"inside the OBJECTS section",
         crlf({"  0", "SECTION", "  2", "ENTITIES", "  0", "ENDSEC", "  0", "SECTION", "  2",
               "OBJECTS", "  0", "DICTIONARY"})},
        {"between a code and its value", crlf({"  0", "SECTION", "  2", "ENTITIES", " 10"})},
        {"right after the section starts", crlf({"  0", "SECTION", "  2", "ENTITIES"})},
    };
    for (const auto& c : cases) {
        EXPECT_THROW(walk(c.bytes), DxfError) << c.name;
    }
}

// A record's lines taken again from a CR LF drawing: pairs split at CR LF alone, so a lone CR or
// LF stays within its line, and lines that are not whole pairs, or that start another record, are
// refused.
TEST(EntityRecord, TakesPairsFromLinesEndingInCrLf) {
    const struct {
        const char* name;
        std::string lines;
        bool isTaken;
        std::vector<std::string> pairs;  // "code=value"
    } cases[] = {
        {"nothing", "", true, {}},
        {"two pairs", crlf({"  8", "0", " 10", "1.5"}), true, {"  8=0", " 10=1.5"}},
        {"empty values and codes", crlf({"  1", "", "", "x"}), true, {"  1=", "=x"}},
        {"a lone LF within a value", "  1\r\nA\nB\r\n 10\r\n2\r\n", true, {"  1=A\nB", " 10=2"}},
        {"a lone CR within a value", "  1\r\nA\rB\r\n", true, {"  1=A\rB"}},
        {"a value of a CR alone", "  1\r\n\r\r\n", true, {"  1=\r"}},
        {"a lone LF at a line's start", "  1\r\n\nB\r\n", true, {"  1=\nB"}},
        {"a code without its value", crlf({"  8", "0", " 10"}), false, {}},
        {"a last line without its CR LF", "  8\r\n0", false, {}},
        {"a last line ending in LF alone", "  8\r\n0\n", false, {}},
        {"another record starting", crlf({"  8", "0", "  0", "LINE"}), false, {}},
    };
    for (const auto& c : cases) {
        EntityRecord record;
        ASSERT_EQ(record.assign(c.lines), c.isTaken) << c.name;
        if (!c.isTaken) {
            continue;
        }
        std::vector<std::string> pairs;
        for (int i = 0; i < record.size(); ++i) {
            pairs.push_back(std::string(record.code(i)) + "=" + std::string(record.value(i)));
        }
        EXPECT_EQ(pairs, c.pairs) << c.name;
        EXPECT_EQ(record.linesAsRead(), std::optional<std::string_view>(c.lines)) << c.name;
    }
}

// A record with new values is handed over as read around them: the same text as its pairs
// written line by line, whichever values are new.
TEST(EntityRecord, HandsOverNewValuesAmongTheLinesAsRead) {
    const std::string lines = crlf({"  5", "1F", "  8", "0", " 10", "1.5", " 20", "", " 11", "3"});
    const std::vector<std::vector<int>> replacedSets = {{},    {0}, {4}, {2, 3}, {0, 1, 2, 3, 4},
                                                        {1, 3}};
    for (const auto& replaced : replacedSets) {
        EntityRecord record;
        ASSERT_TRUE(record.assign(lines));
        for (const int i : replaced) {
            record.setValue(i, "new" + std::to_string(i));
        }
        std::string expected;
        for (int i = 0; i < record.size(); ++i) {
            expected +=
                std::string(record.code(i)) + "\r\n" + std::string(record.value(i)) + "\r\n";
        }
        std::string handed;
        ASSERT_TRUE(record.handOverInCrLf([&](std::string_view bytes) { handed += bytes; },
                                          [&](std::string_view line) {
                                              handed += line;
                                              handed += "\r\n";
                                          }));
        EXPECT_EQ(handed, expected) << replaced.size() << " values new";
    }
}

}  // namespace
}  // namespace lintrel
