#include "BlockVector.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace lintrel {
namespace {

// 2 MiB blocks of four-byte elements hold this many.
constexpr std::size_t kBlock = std::size_t{1} << 19;

BlockVector<std::uint32_t> numbered(std::uint32_t first, std::size_t count) {
    BlockVector<std::uint32_t> vector;
    for (std::size_t i = 0; i < count; ++i) {
        vector.emplace_back() = first + static_cast<std::uint32_t>(i);
    }
    return vector;
}

struct AppendCase {
    const char* name;
    std::size_t roomBefore;  // elements the vector held before it was cleared
    std::size_t before;
    std::size_t appended;
};

class BlockVectorAppend : public ::testing::TestWithParam<AppendCase> {};

TEST_P(BlockVectorAppend, KeepsBothInOrderAndEmptiesTheOther) {
    const AppendCase& c = GetParam();
    BlockVector<std::uint32_t> vector = numbered(7, c.roomBefore);
    vector.clear();
    for (std::size_t i = 0; i < c.before; ++i) {
        vector.emplace_back() = static_cast<std::uint32_t>(i);
    }
    BlockVector<std::uint32_t> other = numbered(static_cast<std::uint32_t>(c.before), c.appended);

    vector.append(std::move(other));

    ASSERT_EQ(vector.size(), c.before + c.appended);
    // NOLINTNEXTLINE(bugprone-use-after-move): what a vector taken over is left with is the point
    EXPECT_EQ(other.size(), 0U);
    std::size_t wrong = 0;
    for (std::size_t i = 0; i < vector.size(); ++i) {
        wrong += vector[i] != i ? 1 : 0;
    }
    EXPECT_EQ(wrong, 0U);
    vector.emplace_back() = 99;  // it goes on growing after what it took over
    EXPECT_EQ(vector[vector.size() - 1], 99U);
    EXPECT_EQ(vector[vector.size() - 2], vector.size() - 2);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, BlockVectorAppend,
    ::testing::Values(AppendCase{"NothingToAppend", 0, 5, 0},
                      AppendCase{"IntoAnEmptyOne", 0, 0, kBlock + 3},
                      AppendCase{"IntoAPartBlock", 0, 3, 2 * kBlock + 1},
                      AppendCase{"IntoAFullBlock", 0, kBlock, kBlock - 1},
                      AppendCase{"AllIntoRoomLeftByClear", 2 * kBlock, 10, kBlock},
                      AppendCase{"PartlyIntoRoomLeftByClear", kBlock, kBlock - 4, kBlock + 9}),
    [](const auto& row) { return std::string(row.param.name); });

// Rows of 40 bytes, as the line table's: a block spans five huge pages, most of which begin inside
// a row, where the vector faults the page in just before the row is written.
struct Row {
    std::uint64_t fields[5];
};

TEST(BlockVectorRows, KeepEveryByteWhereHugePagesBeginInsideThem) {
    constexpr std::size_t kRowsPerBlock = std::size_t{1} << 18;
    const auto fill = [](BlockVector<Row>& rows, std::size_t from, std::size_t count) {
        for (std::size_t i = from; i < from + count; ++i) {
            Row& row = rows.emplace_back();
            for (std::uint64_t& field : row.fields) {
                field = ~std::uint64_t{i};
            }
        }
    };
    const auto wrongRows = [](const BlockVector<Row>& rows) {
        std::size_t wrong = 0;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            for (const std::uint64_t field : rows[i].fields) {
                wrong += field != ~std::uint64_t{i} ? 1 : 0;
            }
        }
        return wrong;
    };
    BlockVector<Row> rows;
    fill(rows, 0, kRowsPerBlock + 5);
    BlockVector<Row> more;
    for (std::size_t i = 0; i < 17; ++i) {
        more.emplace_back() = Row{};
    }
    more.clear();  // its block is written over again
    fill(more, rows.size(), 2 * kRowsPerBlock);
    rows.append(std::move(more));
    fill(rows, rows.size(), kRowsPerBlock / 3);  // growing on past what it took over

    EXPECT_EQ(rows.size(), 3 * kRowsPerBlock + 5 + kRowsPerBlock / 3);
    EXPECT_EQ(wrongRows(rows), 0U);
}

}  // namespace
}  // namespace lintrel
