#include "PreviewOutput.h"

#include <dlfcn.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <utility>

#include "HelperThread.h"
#include "PictureModule.h"
#include "PreviewRun.h"

namespace lintrel {
namespace {

// The picture module's entries.
struct PictureEntries {
    StartPainting start = nullptr;
    WritePicture write = nullptr;
    EndPainting end = nullptr;
};

// Loads the picture module from beside the program (a build folder), else from where it is
// installed, relative to the program; nothing, with the reason in `failure`, when neither loads.
std::optional<PictureEntries> loadPictureModule(std::string& failure) {
    std::string reason;
    std::error_code ignored;
    const auto beside = std::filesystem::read_symlink("/proc/self/exe", ignored).parent_path();
    for (const auto& folder : {beside, beside / LINTREL_MODULE_DIR}) {
        const std::string path = (folder / kPictureModule).string();
        if (void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
            const PictureEntries entries{
                reinterpret_cast<StartPainting>(::dlsym(module, kStartPaintingEntry)),
                reinterpret_cast<WritePicture>(::dlsym(module, kWritePictureEntry)),
                reinterpret_cast<EndPainting>(::dlsym(module, kEndPaintingEntry))};
            if (entries.start != nullptr && entries.write != nullptr && entries.end != nullptr) {
                return entries;
            }
        }
        if (const char* why = ::dlerror()) {
            reason = why;
        }
    }
    failure = std::string(kPictureModule) + ": the pictures cannot be painted: " + reason;
    return std::nullopt;
}

}  // namespace

std::string picturePathFor(const std::string& input, const std::string& dir,
                           const std::string& format) {
    const std::filesystem::path name = std::filesystem::path(input).stem();
    return (std::filesystem::path(dir) / (name.string() + "-preview." + format)).string();
}

std::vector<FileCutLength> PreviewOutput::finish(const RunReport& report, std::string& failure,
                                                 const std::function<bool()>& isStopping) {
    std::vector<FileCutLength> cuts;
    bool isMeasured = true;
    // Each file's preview (its model taken, the decisions applied, the cut length measured) is
    // made on a helper: the first while the painter starts, each next one while the picture of
    // the one before is painted.
    preview::Preview prepared;
    std::unique_ptr<HelperThread> preparing;
    const auto prepare = [&](std::size_t k) {
        preparing = std::make_unique<HelperThread>([this, &report, &prepared,
                                                    k](const std::stop_token& stop) {
            const FileReport& file = report.files[k];
            auto read = m_readAhead.take(file.path, stop);
            if (k + 1 < report.files.size()) {
                m_readAhead.start(report.files[k + 1].path);
            }
            prepared =
                preview::previewFromRead(std::move(read), m_decisions.of(file.path), file.counters);
        });
    };
    if (!report.files.empty()) {
        prepare(0);
    }
    // Loaded once, before the first picture: a failure of a picture stays told to the end.
    const auto painter = m_dir.empty() ? std::nullopt : loadPictureModule(failure);
    if (painter) {
        painter->start(m_format);
    }
    for (std::size_t k = 0; k < report.files.size() && !isStopping(); ++k) {
        const FileReport& file = report.files[k];
        // Stopping ends the wait for a preview still being made: no picture of it is begun, and
        // the helper is asked to stop as it is let go.
        try {
            preparing->wait([&isStopping] {
                if (isStopping()) {
                    throw RunInterrupted{};
                }
            });
        } catch (const RunInterrupted&) {
            break;
        }
        const preview::Preview shown = std::exchange(prepared, {});
        if (k + 1 < report.files.size()) {
            prepare(k + 1);
        }
        cuts.push_back({shown.cut, shown.model.insUnits});
        if (!shown.failure.empty()) {
            isMeasured = false;
            if (failure.empty()) {
                failure = shown.failure;
            }
        }
        if (painter) {
            painter->write(shown, std::filesystem::path(file.path).filename().string(),
                           picturePathFor(file.path, m_dir, m_format), m_format, failure);
        }
    }
    if (painter) {
        painter->end();
    }
    // A file's cut length is not known: no figures are given as if it were.
    if (!isMeasured) {
        cuts.clear();
    }
    return cuts;
}

}  // namespace lintrel
