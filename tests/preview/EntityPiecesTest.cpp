#include <gtest/gtest.h>

#include <string>

#include "Drawing.h"
#include "EntityPieces.h"

namespace lintrel::preview {
namespace {

using testing::record;

// The first record of `text` read into `entity`.
void parse(const std::string& text, ParsedEntity& entity) {
    RecordReader reader(text);
    Record read;
    ASSERT_TRUE(reader.next(read));
    parseEntity(read, {}, TextDecoding("ANSI_1252", false), entity);
}

// Entities are read over the room of those read before them: whatever that was (seen from below
// too, which changes what a piece holds), a LINE read over it is the LINE read afresh.
TEST(EntityPieces, ReadsALineOverAnyEntityAsIfAfresh) {
    const std::string line =
        record("LINE", {{"  8", "0"}, {" 10", "1"}, {" 20", "2"}, {" 11", "3"}, {" 21", "4"}});
    const std::string before[] = {
        record("LWPOLYLINE", {{"  8", "0"},
                              {" 90", "2"},
                              {" 70", "1"},
                              {" 10", "0"},
                              {" 20", "0"},
                              {" 10", "2"},
                              {" 20", "0"},
                              {"230", "-1"}}),
        record("TEXT", {{" 10", "1"}, {" 20", "1"}, {" 40", "2"}, {" 50", "30"}, {"  1", "A"}}),
        record("TEXT", {{" 10", "1"}, {" 20", "1"}, {" 50", "30"}, {"  1", "A"}, {"230", "-1"}}),
        record("ARC", {{" 10", "1"}, {" 20", "1"}, {" 40", "2"}, {" 51", "90"}, {"230", "-1"}}),
        record("INSERT", {{"  2", "B"}, {" 10", "1"}, {" 20", "1"}, {"230", "-1"}}),
        record("SPLINE", {{" 71", "1"},
                          {" 40", "0"},
                          {" 40", "0"},
                          {" 40", "1"},
                          {" 40", "1"},
                          {" 10", "0"},
                          {" 20", "0"},
                          {" 10", "5"},
                          {" 20", "5"}}),
        record("SOLID", {{" 10", "0"},
                         {" 20", "0"},
                         {" 11", "1"},
                         {" 21", "0"},
                         {" 12", "0"},
                         {" 22", "1"},
                         {" 13", "1"},
                         {" 23", "1"},
                         {"230", "-1"}}),
        line,
    };
    ParsedEntity afresh;
    parse(line, afresh);
    ASSERT_EQ(afresh.pieces.size(), 1U);
    for (const std::string& earlier : before) {
        ParsedEntity reused;
        parse(earlier, reused);
        parse(line, reused);
        EXPECT_EQ(reused.pieces, afresh.pieces) << earlier;
    }
}

}  // namespace
}  // namespace lintrel::preview
