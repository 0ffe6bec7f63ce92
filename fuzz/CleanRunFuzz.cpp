// A whole clean-up of one drawing with options taken from the fuzzer's bytes. Whatever the
// drawing, a finished run leaves its copy with whole pairs and exactly as many records fewer as
// the counters say, a failed or refused run leaves no copy, and nothing else is ever left.
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "CleanRun.h"
#include "Controls.h"
#include "CounterTable.h"
#include "DxfError.h"
#include "DxfLineReader.h"
#include "EntitySection.h"
#include "FakeWindow.h"
#include "FuzzBytes.h"

namespace {

using namespace lintrel;

// Texts a user might type, zero and the empty text among them, and one that is no number.
constexpr std::string_view kTexts[] = {"",    "0",      ".",  "0.5", "1",  "10",
                                       "100", "0.0001", "-5", "1e3", "abc"};

struct Count {
    long lines = 0;
    long records = 0;  // "  0" pairs of the entity section, as both passes see them
};

Count countOf(const std::string& path, RecordTypes types) {
    Count count;
    DxfLineReader reader(path);
    EntitySection section(reader, types);
    section.readHead([](std::string_view) {});
    while (section.hasMore()) {
        if (section.next() != EntitySection::Item::Line) {
            ++count.records;
        }
    }
    count.lines = reader.lineNumber();
    return count;
}

[[noreturn]] void fail(const char* what) {
    std::cerr << "clean-up invariant broken: " << what << '\n';
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzBytes bytes(data, size);
    testing::FakeWindow window;
    for (auto box : control::kCheckBoxes) {
        window.tick(box, bytes.flag());
    }
    bool linetypePointsOnly = bytes.flag();
    window.tick(control::Option1_0, !linetypePointsOnly);
    window.tick(control::Option1_1, linetypePointsOnly);
    for (auto box : control::kTextBoxes) {
        window.texts[std::string(box)] = kTexts[bytes.below(std::size(kTexts))];
    }

    const std::filesystem::path folder = fuzz::scratchFolder();
    const std::string input = (folder / "in.dxf").string();
    const std::string output = (folder / "in-Cut.dxf").string();
    fuzz::writeFile(input, bytes.rest());
    std::filesystem::remove(output);
    window.addFile(input);
    RunReport report = CleanRun(window).run();

    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path() != input && entry.path() != output) {
            fail("a file other than the input and its copy was left");
        }
    }
    if (report.outcome != RunOutcome::Completed) {
        if (std::filesystem::exists(output)) {
            fail("a run that did not finish left a copy");
        }
        return 0;
    }
    if (!std::filesystem::exists(output)) {
        fail("a finished run left no copy");
    }
    const RecordTypes types{window.isTicked(control::Check6), window.isTicked(control::Check8),
                            window.isTicked(control::Check4)};
    try {
        Count before = countOf(input, types);
        Count after = countOf(output, types);
        if ((before.lines - after.lines) % 2 != 0) {
            fail("the copy lost part of a pair");
        }
        if (before.records - after.records != total(report.counters)) {
            fail("the counters differ from the records missing");
        }
    } catch (const DxfError& error) {
        std::cerr << error.what() << '\n';
        fail("a finished copy cannot be walked");
    }
    return 0;
}
