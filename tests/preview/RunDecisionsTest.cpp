#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <stop_token>
#include <string>
#include <vector>

#include "CleanRun.h"
#include "Controls.h"
#include "CutLength.h"
#include "Drawing.h"
#include "DrawingReader.h"
#include "DxfRecords.h"
#include "FakeWindow.h"
#include "PreviewRun.h"
#include "RunInterrupted.h"
#include "TempDir.h"
#include "VersionProbe.h"

namespace lintrel::preview {
namespace {

using testing::FakeWindow;
using testing::TempDir;

// The example drawings and the real drawings the input list lets through.
std::vector<std::filesystem::path> drawings() {
    std::vector<std::filesystem::path> files;
    for (const auto& dir : {std::filesystem::path(LINTREL_EXAMPLES_DIR), testing::corpusDir()}) {
        if (dir.empty()) {
            continue;
        }
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            if (entry.path().extension() == ".dxf" &&
                checkAcadVer(entry.path().string()).isAccepted()) {
                files.push_back(entry.path());
            }
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Every rule on, with the sizes and offsets the engine's real-drawing test uses.
void tickEveryRule(FakeWindow& window) {
    window.texts["Text5"] = "0.01";
    window.texts["Text9"] = "0.5";
    window.texts["Text1"] = "0.5";
}

// The records of the ENTITIES section: type and groups, as they stand.
struct EntityLines {
    std::uint64_t offset = 0;
    std::string type;
    std::vector<std::pair<int, std::string>> groups;
};

std::vector<EntityLines> entityRecords(const std::string& bytes) {
    std::vector<EntityLines> records;
    RecordReader reader(bytes);
    Record record;
    bool isInEntities = false;
    while (reader.next(record)) {
        if (record.type == "SECTION") {
            isInEntities = Fields(record.groups).text(2) == "ENTITIES";
        } else if (record.type == "ENDSEC") {
            isInEntities = false;
        } else if (isInEntities) {
            EntityLines lines{record.offset, std::string(record.type), {}};
            for (const Group& group : record.groups) {
                lines.groups.emplace_back(group.code, group.value);
            }
            records.push_back(std::move(lines));
        }
    }
    return records;
}

bool isRemoved(Verdict verdict) {
    return verdict != Verdict::Kept && verdict != Verdict::Lengthened;
}

std::array<int, 13> countsOf(const RunCounters& counters) {
    std::array<int, 13> expected{};
    auto at = [&](Verdict verdict) -> int& { return expected[static_cast<std::size_t>(verdict)]; };
    at(Verdict::Text) = counters.TextDeleteCount;
    at(Verdict::MText) = counters.MTextDeleteCount;
    at(Verdict::Dimension) = counters.DimensionDeleteCount;
    at(Verdict::XLine) = counters.XLineDeleteCount;
    at(Verdict::LineTypeLine) = counters.LineTypeLineCount;
    at(Verdict::LineTypeCircleArc) = counters.LineTypeCircleArcCount;
    at(Verdict::Point) = counters.PointDeleteCount;
    at(Verdict::SizeLine) = counters.SizeLineCount;
    at(Verdict::SizeCircleArc) = counters.SizeCircleArcCount;
    at(Verdict::Duplicate) = counters.DuplicateCount;
    at(Verdict::Joined) = counters.JoinCount;
    return expected;
}

TEST(RunDecisions, MarkWhatTheRunCountedAndExactlyTheRecordsTheCopyLacks) {
    const auto files = drawings();
    ASSERT_FALSE(files.empty());
    for (const auto& file : files) {
        SCOPED_TRACE(file.string());
        TempDir out;
        FakeWindow window;
        tickEveryRule(window);
        window.addFile(file.string());
        RunDecisions decisions;
        RunTarget target;
        target.outputDir = out.path().string();
        target.observer = &decisions;
        const RunReport report = CleanRun(window, target).run();
        ASSERT_EQ(report.outcome, RunOutcome::Completed) << report.failureDetail;
        Preview preview = previewAfterRun(file.string(), decisions, report.counters);
        ASSERT_EQ(preview.failure, "");
        EXPECT_EQ(preview.model.undecided, 0);

        std::array<int, 13> counted = verdictCounts(preview.model);
        counted[static_cast<std::size_t>(Verdict::Kept)] = 0;
        counted[static_cast<std::size_t>(Verdict::Lengthened)] = 0;
        EXPECT_EQ(counted, countsOf(report.counters));

        const std::string copy = testing::readBytes(report.files.at(0).outputPath);
        const auto input = entityRecords(testing::readBytes(file));
        const auto output = entityRecords(copy);
        std::size_t next = 0;
        for (std::size_t k = 0; k < input.size(); ++k) {
            // The VERTEX, ATTRIB and SEQEND records after their owner are part of its entity.
            const Entity* entity = preview.model.entityAt(input[k].offset);
            if (entity != nullptr && isRemoved(entity->verdict)) {
                continue;
            }
            ASSERT_LT(next, output.size()) << "record " << k << " kept but missing";
            EXPECT_EQ(output[next].type, input[k].type) << "record " << k;
            if (entity == nullptr || !entity->isLengthened()) {
                EXPECT_EQ(output[next].groups, input[k].groups) << "record " << k;
            }
            ++next;
        }
        EXPECT_EQ(next, output.size());

        const DrawingModel written = modelOf(copy);
        EXPECT_NEAR(cutLengthOf(written).before, preview.cut.after,
                    1e-9 * std::max(1.0, preview.cut.after));
        double split = 0;
        for (const auto& [verdict, length] : preview.cut.byRule) {
            split += length;
        }
        EXPECT_NEAR(split, preview.cut.saved(), 1e-9 * std::max(1.0, preview.cut.before));
    }
}

}  // namespace
}  // namespace lintrel::preview

namespace lintrel::preview {
namespace {

OptionSnapshot everyRule() {
    FakeWindow window;
    tickEveryRule(window);
    return OptionSnapshot::of(window);
}

// Each decision lands on the record it names whatever order the run tells them in, and one
// that names no record is counted as undecided.
TEST(RunDecisions, LandOnTheirRecordsInAnyOrderTheyAreTold) {
    std::string entities;
    for (int k = 0; k < 300; ++k) {
        entities += testing::lineRecord(std::to_string(k), "0", std::to_string(k), "5");
    }
    const DrawingModel read = modelOf(testing::drawing(entities));
    ASSERT_EQ(read.entities.size(), 300U);
    RunDecisions::ToldList inOrder;
    for (std::size_t k = 0; k < read.entities.size(); k += 1 + k % 3) {
        inOrder.add(read.entities[k].offset, k % 2 == 0 ? Verdict::Duplicate : Verdict::Joined);
    }
    RunDecisions::ToldList shuffled = inOrder;
    std::reverse(shuffled.records.begin() + 10, shuffled.records.end());
    std::rotate(shuffled.records.begin(), shuffled.records.begin() + 40, shuffled.records.end());
    RunDecisions::ToldList strided = inOrder;
    std::stable_partition(strided.records.begin(), strided.records.end(),
                          [&](const auto& told) { return told.verdict == Verdict::Duplicate; });
    for (auto told : {inOrder, shuffled, strided}) {
        told.add(read.entities[7].offset + 1, Verdict::Duplicate);
        DrawingModel model = read;
        applyDecisions(model, told);
        EXPECT_EQ(model.undecided, 1);
        std::size_t next = 0;
        for (std::size_t k = 0; k < model.entities.size(); ++k) {
            const auto& expected = inOrder.records;
            const bool isTold =
                next < expected.size() && expected[next].offset == model.entities[k].offset;
            EXPECT_EQ(model.entities[k].verdict, isTold ? expected[next].verdict : Verdict::Kept)
                << "entity " << k;
            next += isTold ? 1 : 0;
        }
        EXPECT_EQ(next, inOrder.records.size());
    }
}

// The ends of a lengthened record are the ones told with it, also after a lengthened record
// the model has no entity for, and a later word on a record counts over the first.
TEST(RunDecisions, GiveEachLengthenedRecordItsOwnEnds) {
    const DrawingModel read = modelOf(testing::drawing(testing::lineRecord("0", "0", "1", "0") +
                                                       testing::lineRecord("2", "0", "3", "0")));
    ASSERT_EQ(read.entities.size(), 2U);
    RunDecisions::ToldList told;
    told.addLengthened(read.entities[0].offset + 1, {9, 9, 9, 9});
    told.addLengthened(read.entities[1].offset, {3, 0, 1, 0});
    told.addLengthened(read.entities[1].offset, {3, 0, -5, 0});
    told.add(read.entities[0].offset, Verdict::Duplicate);
    DrawingModel model = read;
    applyDecisions(model, told);
    EXPECT_EQ(model.undecided, 1);
    EXPECT_EQ(model.entities[0].verdict, Verdict::Duplicate);
    ASSERT_TRUE(model.entities[1].isLengthened());
    EXPECT_EQ(model.endsOf(model.entities[1]), (std::array<double, 4>{3, 0, -5, 0}));
    EXPECT_EQ(model.lengthenedEnds.size(), 1U);
}

// The ends are kept in the file order of their records, whatever order the run told them in, so
// that a frame walking the entities reads them one after the other.
TEST(RunDecisions, KeepTheEndsInFileOrder) {
    const DrawingModel read = modelOf(testing::drawing(testing::lineRecord("0", "0", "1", "0") +
                                                       testing::lineRecord("2", "0", "3", "0") +
                                                       testing::lineRecord("4", "0", "5", "0")));
    ASSERT_EQ(read.entities.size(), 3U);
    const std::vector<std::vector<std::size_t>> orders = {{0, 2}, {2, 0}, {2, 1, 0}, {1, 2, 0, 2}};
    for (const auto& order : orders) {
        RunDecisions::ToldList told;
        for (std::size_t k : order) {
            const double x = static_cast<double>(k);
            told.addLengthened(read.entities[k].offset, {x, 0, x, 7});
        }
        DrawingModel model = read;
        applyDecisions(model, told);
        std::uint32_t next = 0;
        for (std::size_t k = 0; k < model.entities.size(); ++k) {
            const Entity& entity = model.entities[k];
            if (entity.isLengthened()) {
                EXPECT_EQ(entity.lengthening, next++) << "entity " << k;
                EXPECT_EQ(model.endsOf(entity)[0], static_cast<double>(k)) << "entity " << k;
            }
        }
        EXPECT_EQ(model.lengthenedEnds.size(), next);
    }
}

TEST(DryRunPreview, CountsWhatARealRunCountsAndWritesNothing) {
    TempDir folder;
    const std::string path =
        folder.write("pair.dxf", testing::drawing(testing::lineRecord("0", "0", "10", "0") +
                                                  testing::lineRecord("0", "0", "10", "0") +
                                                  testing::lineRecord("10", "0", "20", "0")));
    const Preview preview = previewOf(everyRule(), path);
    ASSERT_EQ(preview.failure, "");
    EXPECT_EQ(preview.counters.DuplicateCount, 1);
    EXPECT_EQ(preview.counters.JoinCount, 1);
    EXPECT_DOUBLE_EQ(preview.cut.before, 30);
    EXPECT_DOUBLE_EQ(preview.cut.after, 20);
    EXPECT_DOUBLE_EQ(preview.cut.byRule.at(Verdict::Duplicate), 10);
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "pair-Cut.dxf"));
}

TEST(DryRunPreview, OfADamagedDrawingIsTheRunsMessageWithNothingToDraw) {
    TempDir folder;
    const std::string path =
        folder.write("bad.dxf", testing::drawing(testing::lineRecord("x", "0", "10", "0")));
    const Preview preview = previewOf(everyRule(), path);
    EXPECT_EQ(preview.failure, " bad.dxfは壊れている可能性があります。　");
    EXPECT_TRUE(preview.model.entities.empty());
}

TEST(DryRunPreview, StopsWhenAskedAsARunStopsAtItsInterrupt) {
    TempDir folder;
    const std::string path =
        folder.write("one.dxf", testing::drawing(testing::lineRecord("0", "0", "10", "0")));
    const Preview preview = previewOf(everyRule(), path, [] { return true; });
    EXPECT_TRUE(preview.isInterrupted);
    EXPECT_TRUE(preview.model.entities.empty());
}

TEST(DrawingReading, StopsWithinAFewThousandRecordsWhenAsked) {
    TempDir folder;
    std::string entities;
    for (int k = 0; k < 20000; ++k) {
        entities += testing::lineRecord("0", std::to_string(k), "10", std::to_string(k));
    }
    const std::string path = folder.write("long.dxf", testing::drawing(entities));
    std::stop_source stop;
    stop.request_stop();
    EXPECT_THROW(readDrawing(path, stop.get_token()), RunInterrupted);
    const auto read = readDrawing(path, std::stop_source().get_token());
    ASSERT_TRUE(std::holds_alternative<DrawingModel>(read));
    EXPECT_EQ(std::get<DrawingModel>(read).entities.size(), 20000U);
}

}  // namespace
}  // namespace lintrel::preview
