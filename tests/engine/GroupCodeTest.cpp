#include <gtest/gtest.h>

#include <optional>
#include <string_view>
#include <vector>

#include "GroupCode.h"

namespace lintrel {
namespace {

struct CodeLine {
    const char* name;
    std::string_view line;
    std::optional<int> code;
};

TEST(GroupCode, IsTheIntegerTheLineHoldsWithBlanksAndTabsAroundIt) {
    const std::vector<CodeLine> cases = {
        {"a standard one-digit code", "  0", 0},
        {"a standard two-digit code", " 10", 10},
        {"a standard three-digit code", "100", 100},
        {"a code without its padding", "10", 10},
        {"a record start with one blank", " 0", 0},
        {"a record start without blanks", "0", 0},
        {"leading zeros", "010", 10},
        {"leading zeros filling the columns", "000", 0},
        {"a trailing blank", "  8 ", 8},
        {"a tab before", "\t20", 20},
        {"a tab after", " 21\t", 21},
        {"a four-digit code", "1071", 1071},
        {"many leading zeros", "0000000010", 10},
        {"the largest int", "2147483647", 2147483647},
        {"a negative code", "  -1", -1},
        {"beyond an int", "2147483648", std::nullopt},
        {"a plus sign", "+5", std::nullopt},
        {"a letter after the digits", "10x", std::nullopt},
        {"a blank inside", "1 0", std::nullopt},
        {"a word", "x", std::nullopt},
        {"a decimal", "1.5", std::nullopt},
        {"blanks only", "   ", std::nullopt},
        {"an empty line", "", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(groupCode(c.line), c.code) << c.name;
        EXPECT_EQ(isGroupCode(c.line, 0), c.code == 0) << c.name;
    }
}

}  // namespace
}  // namespace lintrel
