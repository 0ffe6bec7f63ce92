#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "DxfError.h"
#include "FakeWindow.h"
#include "LinePass.h"
#include "LineTables.h"
#include "TempDir.h"

namespace lintrel {
namespace {

struct CorpusRules {
    const char* name;
    LineRules rules;
};

std::vector<CorpusRules> corpusRules() {
    LineRules everything = testing::joinsAndDuplicates(0.1F, 0.5F, 0.1F);
    everything.sameLayerOnly = true;
    everything.sameLineTypeOnly = true;
    everything.LineCorrection = 0.01;
    LineRules wide = testing::joinsAndDuplicates(1, 5, 1);
    wide.LineCorrection = 0.1;
    return {{"every rule with small tolerances", everything},
            {"no filters and wide tolerances", wide}};
}

struct PassResult {
    LineTable table;
    RunCounters counters;
    bool isReadable = true;
};

PassResult runLinePass(const std::filesystem::path& drawing, const LineRules& rules,
                       bool referenceAnalysis) {
    testing::FakeWindow window;
    RunOptions options;
    options.lines = rules;
    PassResult result;
    try {
        result.counters = LinePass(window, options, result.table, RunCounters{}, referenceAnalysis)
                              .run(drawing.string());
    } catch (const DxfError&) {
        result.isReadable = false;
    }
    return result;
}

TEST(FastAnalysis, AgreesWithTheReferenceOnTheRealDrawings) {
    const auto corpus = testing::corpusDir();
    if (corpus.empty()) {
        GTEST_SKIP() << "no folder of real drawings";
    }
    std::vector<std::filesystem::path> drawings;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        if (entry.path().extension() == ".dxf") {
            drawings.push_back(entry.path());
        }
    }
    std::sort(drawings.begin(), drawings.end());
    int analysed = 0;
    for (const auto& drawing : drawings) {
        for (const auto& [name, rules] : corpusRules()) {
            SCOPED_TRACE(drawing.filename().string() + ", " + name);
            const PassResult expected = runLinePass(drawing, rules, true);
            const PassResult actual = runLinePass(drawing, rules, false);
            ASSERT_EQ(actual.isReadable, expected.isReadable);
            EXPECT_EQ(testing::firstDifference(expected.table, actual.table), "");
            EXPECT_EQ(actual.counters.DuplicateCount, expected.counters.DuplicateCount);
            EXPECT_EQ(actual.counters.JoinCount, expected.counters.JoinCount);
            analysed += expected.table.size() > 0 ? 1 : 0;
        }
    }
    EXPECT_GT(analysed, 0) << "no drawing of the folder held a LINE";
}

}  // namespace
}  // namespace lintrel
