// Listing 10,000 files: the input list's sorted insertion and a whole drop on a window, against
// sorting the same names once with std::sort in the same run.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "InputList.h"
#include "ListEvents.h"
#include "WindowOps.h"

namespace {

constexpr int kFiles = 10000;

// Names as a folder of drawings holds them: one folder, numbered names, some in capitals.
std::vector<std::string> names(const std::string& folder) {
    std::vector<std::string> paths;
    for (int k = 0; k < kFiles; ++k) {
        paths.push_back(folder + "/" + (k % 7 == 0 ? "PLAN-" : "plan-") + std::to_string(k) +
                        (k % 5 == 0 ? ".DXF" : ".dxf"));
    }
    std::shuffle(paths.begin(), paths.end(), std::mt19937(7));
    return paths;
}

std::string lowerAscii(std::string text) {
    for (char& c : text) {
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return text;
}

// The baseline: the same names sorted once by the same key.
void sortedOnce(benchmark::State& state) {
    const auto paths = names("/drawings");
    for (auto _ : state) {
        auto sorted = paths;
        std::sort(sorted.begin(), sorted.end(), [](const std::string& a, const std::string& b) {
            return lowerAscii(a) < lowerAscii(b);
        });
        benchmark::DoNotOptimize(sorted.data());
    }
}

void listedOneByOne(benchmark::State& state) {
    const auto paths = names("/drawings");
    for (auto _ : state) {
        lintrel::InputList list;
        for (const auto& path : paths) {
            if (!list.contains(path)) {
                list.accept(path);
            }
        }
        benchmark::DoNotOptimize(list.dwgCount());
    }
}

// A window that only keeps List1's rows.
class RowsOnly : public lintrel::WindowOps {
public:
    int listCount() const override { return static_cast<int>(rows.size()); }
    std::string listPath(int) const override { return {}; }
    std::string listDisplay(int) const override { return {}; }
    void listClear() override { rows.clear(); }
    void listAppend(std::string_view row) override { rows.emplace_back(row); }
    bool isTicked(lintrel::ControlName) const override { return false; }
    std::string text(lintrel::ControlName) const override { return {}; }
    void setText(lintrel::ControlName, std::string_view) override {}
    void setCaption(lintrel::ControlName, std::string_view) override {}
    void setWindowCaption(std::string_view) override {}
    void setVisible(lintrel::ControlName, bool) override {}
    void setEnabled(lintrel::ControlName, bool) override {}
    void setProgress(int) override {}
    void yield() override {}
    bool interruptRequested() const override { return false; }
    void clearInterrupt() override {}
    void showMessage(std::string_view) override {}

    std::vector<std::string> rows;
};

// Every file on disk, probed as a drop probes it.
void droppedOnTheWindow(benchmark::State& state) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("lintrel-list-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const auto paths = names(folder.string());
    for (const auto& path : paths) {
        std::ofstream(path, std::ios::binary)
            << "  0\r\nSECTION\r\n  2\r\nHEADER\r\n  9\r\n$ACADVER\r\n  1\r\nAC1015\r\n";
    }
    for (auto _ : state) {
        lintrel::InputList list;
        RowsOnly window;
        List1_OLEDragDrop(list, window, {true, paths});
        benchmark::DoNotOptimize(window.rows.size());
    }
    std::filesystem::remove_all(folder);
}

}  // namespace

BENCHMARK(sortedOnce)->Unit(benchmark::kMillisecond);
BENCHMARK(listedOneByOne)->Unit(benchmark::kMillisecond);
BENCHMARK(droppedOnTheWindow)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
