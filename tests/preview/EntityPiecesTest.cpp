#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
// too, which changes what a piece holds), a LINE read over it is the LINE read afresh, and it
// read over a LINE is itself read afresh.
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
    ASSERT_TRUE(afresh.pieces.empty());
    ASSERT_TRUE(afresh.lineEnds.has_value());
    EXPECT_EQ(afresh.lineEnds->back().y, 4);
    for (const std::string& earlier : before) {
        ParsedEntity reused;
        parse(earlier, reused);
        parse(line, reused);
        EXPECT_EQ(reused.pieces, afresh.pieces) << earlier;
        EXPECT_EQ(reused.lineEnds, afresh.lineEnds) << earlier;
        ParsedEntity other;
        parse(earlier, other);
        parse(earlier, reused);
        EXPECT_EQ(reused.pieces, other.pieces) << earlier;
        EXPECT_EQ(reused.lineEnds, other.lineEnds) << earlier;
    }
}

struct FieldCase {
    int code;
    std::optional<std::string_view> value;  // none: the record holds no group of the code
};

// A record's value of a code is its first group of the code, wherever the code falls among the
// ways codes are looked up.
TEST(Fields, GiveTheFirstGroupOfEachCode) {
    const std::vector<Group> groups = {
        {10, "first x"},       {330, "owner"},   {8, "layer"},        {10, "second x"},
        {330, "second owner"}, {-1, "negative"}, {79, "last listed"}, {80, "first unlisted"},
        {1000, "data"},        {0, "zero"}};
    // 269 is absent but shares its bit with 330, so the groups are looked through for it.
    const FieldCase cases[] = {
        {10, "first x"},     {330, "owner"},         {8, "layer"},        {-1, "negative"},
        {79, "last listed"}, {80, "first unlisted"}, {1000, "data"},      {0, "zero"},
        {11, std::nullopt},  {269, std::nullopt},    {420, std::nullopt}, {-2, std::nullopt},
    };
    const Fields fields(groups);
    for (const FieldCase& c : cases) {
        EXPECT_EQ(fields.has(c.code), c.value.has_value()) << c.code;
        EXPECT_EQ(fields.text(c.code), c.value.value_or("")) << c.code;
    }
}

}  // namespace
}  // namespace lintrel::preview
