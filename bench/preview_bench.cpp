// preview_bench MODE DRAWING: one measurement of the preview on a drawing, run by
// bench/preview_speed.sh, which compares the modes in the same run.
//   dry      the dry run alone (the baseline); prints its seconds
//   preview  the dry run, the model and the first picture painted; prints the seconds to the
//            first picture, then at the whole drawing, 10x and 1000x zoom the median and worst
//            milliseconds of 20 renders of the view painted afresh (as after a zoom: the whole
//            scene painted again into the frame the window keeps), of 20 redraws as the window
//            repaints (the cached frame of the view drawn onto the screen's image), and of 20
//            redraws each panned by a few pixels
// Both print their peak resident memory in kB last.
#include <sys/resource.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "CleanRun.h"
#include "Controls.h"
#include "PreviewRun.h"
#include "SceneCache.h"
#include "ScenePainter.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace lintrel;

// Duplicates removed and lines joined, as the window's defaults do.
preview::OptionSnapshot lineOptions() {
    preview::OptionSnapshot options;
    for (ControlName box : control::kCheckBoxes) {
        options.ticked.emplace(box, false);
    }
    options.ticked[std::string(control::Check7)] = true;
    options.ticked[std::string(control::Check9)] = true;
    options.ticked[std::string(control::Option1_0)] = true;
    options.texts[std::string(control::Text5)] = "0.01";
    options.texts[std::string(control::Text9)] = "0.5";
    return options;
}

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

long peakKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

constexpr QSize kFrame(1600, 1000);

void printTimes(const char* what, double zoom, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    std::printf("%s %gx median %.1f ms worst %.1f ms\n", what, zoom, times[times.size() / 2],
                times.back());
}

void redraws(const preview::Preview& shown, double zoom, preview::SceneCache& cache,
             QImage& screen) {
    const QRectF area(QPointF(0, 0), kFrame);
    preview::Viewport viewport = preview::Viewport::fitting(shown.model.extents, area);
    if (zoom != 1) {
        viewport.zoomAt(area.center(), zoom);
    }
    // The redraws first: the first of them at a new zoom paints the whole scene, as the window's
    // first redraw after a zoom does.
    const preview::Viewport zoomed = viewport;
    std::vector<double> repaints;
    for (int frame = 0; frame < 20; ++frame) {
        const auto start = Clock::now();
        QPainter painter(&screen);
        painter.drawImage(QPointF(0, 0), cache.frame(shown.model, viewport, {}, kFrame));
        painter.end();
        repaints.push_back(secondsSince(start) * 1000);
    }
    std::vector<double> pans;
    for (int frame = 0; frame < 20; ++frame) {
        viewport.panBy({7, 3});
        const auto start = Clock::now();
        QPainter painter(&screen);
        painter.drawImage(QPointF(0, 0), cache.frame(shown.model, viewport, {}, kFrame));
        painter.end();
        pans.push_back(secondsSince(start) * 1000);
    }
    std::vector<double> renders;
    for (int frame = 0; frame < 20; ++frame) {
        cache.clear();
        const auto start = Clock::now();
        cache.frame(shown.model, zoomed, {}, kFrame);
        renders.push_back(secondsSince(start) * 1000);
    }
    printTimes("render", zoom, renders);
    printTimes("redraw", zoom, repaints);
    printTimes("pan", zoom, pans);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: preview_bench dry|preview DRAWING\n");
        return 2;
    }
    const std::string mode = argv[1];
    const std::string path = argv[2];
    if (mode == "dry") {
        preview::DryRunWindow window(lineOptions(), path, {});
        RunTarget target;
        target.dryRun = true;
        const auto start = Clock::now();
        const RunReport report = CleanRun(window, target).run();
        std::printf("dry run %.3f s (%d duplicates, %d joins)\n", secondsSince(start),
                    report.counters.DuplicateCount, report.counters.JoinCount);
    } else {
        QGuiApplication app(argc, argv);
        const auto start = Clock::now();
        preview::Preview shown = preview::previewOf(lineOptions(), path);
        // As the window does: the index for views of a part is built while the whole drawing is
        // painted.
        preview::PathsIndexed indexed;
        std::thread indexing([&] { indexed = preview::indexPathsOf(shown.model); });
        QImage screen(kFrame, QImage::Format_RGB32);
        preview::SceneCache cache;
        {
            QPainter painter(&screen);
            painter.drawImage(QPointF(0, 0),
                              cache.frame(shown.model,
                                          preview::Viewport::fitting(shown.model.extents,
                                                                     QRectF(QPointF(0, 0), kFrame)),
                                          {}, kFrame));
        }
        std::printf("first picture %.3f s\n", secondsSince(start));
        indexing.join();
        shown.model.useIndex(std::move(indexed));
        for (double zoom : {1.0, 10.0, 1000.0}) {
            redraws(shown, zoom, cache, screen);
        }
    }
    std::printf("peak %ld kB\n", peakKb());
    return 0;
}
