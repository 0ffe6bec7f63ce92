#include <gtest/gtest.h>

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

}  // namespace
}  // namespace lintrel
