#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <thread>

#include "OutputFile.h"
#include "PartPlace.h"
#include "TempDir.h"

namespace lintrel {
namespace {

using testing::TempDir;

// `size` bytes that tell where each lies, so that a byte copied to the wrong place shows.
std::string pattern(char tag, std::size_t size) {
    std::string bytes(size, tag);
    for (std::size_t k = 0; k < size; k += 7) {
        bytes[k] = static_cast<char>('0' + k / 7 % 10);
    }
    return bytes;
}

struct PlacementCase {
    const char* name;
    std::size_t whole;   // written by the whole before the part is placed
    std::size_t before;  // written by the part before it is placed
    std::size_t after;   // written by the part once placed
};

// Beyond the file's buffer of 256 KiB, a part writes through before it is flushed.
const PlacementCase kPlacements[] = {
    {"a part placed before it wrote anything", 1000, 0, 300000},
    {"a part placed once it wrote everything", 1000, 700000, 0},
    {"a part placed halfway", 50000, 600000, 400000},
    {"a part placed at the very start of the copy", 0, 300000, 300000},
    {"short stretches on either side", 10, 20, 30},
};

class PlacedPart : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(PlacedPart, EndsUpBetweenWhatTheWholeWroteBeforeAndAfterIt) {
    const PlacementCase& c = GetParam();
    TempDir dir;
    const std::string target = (dir.path() / "a-Cut.dxf").string();
    const std::string head = pattern('h', c.whole);
    const std::string first = pattern('b', c.before);
    const std::string second = pattern('a', c.after);
    {
        OutputFile whole(target);
        PartPlace place;
        OutputFile part(target, place);
        whole.write(head);
        part.write(first);
        const std::uint64_t partStart = whole.flushedSize();
        static_cast<void>(part.flushedSize());  // what it wrote so far lies in its own file
        whole.place(place, partStart);
        part.write(second);
        const std::uint64_t partEnd = partStart + part.flushedSize();
        whole.copyPlaced(place);
        whole.resumeAt(partEnd);
        whole.writeLine("EOF");
        whole.commit();
    }
    EXPECT_TRUE(testing::readBytes(target) == head + first + second + "EOF\r\n");
}

INSTANTIATE_TEST_SUITE_P(OutputFile, PlacedPart, ::testing::ValuesIn(kPlacements),
                         [](const auto& row) {
                             std::string name = row.param.name;
                             for (char& c : name) {
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

// The part's thread goes on writing while the whole's places it and copies what it wrote before,
// as the streamed copy does.
TEST(PlacedPart, IsPlacedWhileItsThreadWrites) {
    TempDir dir;
    const std::string target = (dir.path() / "a-Cut.dxf").string();
    std::mt19937 random(3);
    std::string written;
    for (int k = 0; k < 300; ++k) {
        written += pattern(static_cast<char>('a' + k % 26), 1 + random() % 20000);
    }
    {
        OutputFile whole(target);
        whole.write("head\r\n");
        PartPlace place;
        OutputFile part(target, place);
        std::thread writing([&] {
            for (std::size_t at = 0; at < written.size(); at += 4096) {
                part.write(std::string_view(written).substr(at, 4096));
            }
        });
        while (place.ownBytes.load() < written.size() / 3) {
            std::this_thread::yield();
        }
        const std::uint64_t partStart = whole.flushedSize();
        whole.place(place, partStart);
        whole.copyPlaced(place);
        writing.join();
        const std::uint64_t partEnd = partStart + part.flushedSize();
        whole.copyPlaced(place);
        whole.resumeAt(partEnd);
        whole.commit();
    }
    EXPECT_TRUE(testing::readBytes(target) == "head\r\n" + written);
}

}  // namespace
}  // namespace lintrel
