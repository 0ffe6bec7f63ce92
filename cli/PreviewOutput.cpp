#include "PreviewOutput.h"

#include <dlfcn.h>

#include <filesystem>

#include "PictureModule.h"
#include "PreviewRun.h"

namespace lintrel {
namespace {

// The picture module's entries.
struct PictureEntries {
    WritePicture write = nullptr;
    EndPainting end = nullptr;
};

// The picture module, loaded once: from beside the program (a build folder), else from where it
// is installed, relative to the program. Null, with the reason in `failure`, when neither loads.
const PictureEntries* pictureModule(std::string& failure) {
    static PictureEntries entries;
    static std::string reason;
    if (entries.write != nullptr || !reason.empty()) {
        failure = reason;
        return entries.write != nullptr ? &entries : nullptr;
    }
    std::error_code ignored;
    const auto beside = std::filesystem::read_symlink("/proc/self/exe", ignored).parent_path();
    for (const auto& folder : {beside, beside / LINTREL_MODULE_DIR}) {
        const std::string path = (folder / kPictureModule).string();
        if (void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
            entries.write = reinterpret_cast<WritePicture>(::dlsym(module, kWritePictureEntry));
            entries.end = reinterpret_cast<EndPainting>(::dlsym(module, kEndPaintingEntry));
            if (entries.write != nullptr && entries.end != nullptr) {
                return &entries;
            }
            entries = {};
        }
        reason = ::dlerror();
    }
    reason = std::string(kPictureModule) + ": the pictures cannot be painted: " + reason;
    failure = reason;
    return nullptr;
}

}  // namespace

std::string picturePathFor(const std::string& input, const std::string& dir,
                           const std::string& format) {
    const std::filesystem::path name = std::filesystem::path(input).stem();
    return (std::filesystem::path(dir) / (name.string() + "-preview." + format)).string();
}

std::vector<FileCutLength> PreviewOutput::finish(const RunReport& report, std::string& failure) {
    std::vector<FileCutLength> cuts;
    const PictureEntries* painter = nullptr;
    for (std::size_t k = 0; k < report.files.size(); ++k) {
        const FileReport& file = report.files[k];
        auto read = m_readAhead.take(file.path);
        if (k + 1 < report.files.size()) {
            m_readAhead.start(report.files[k + 1].path);
        }
        const preview::Preview shown =
            preview::previewFromRead(std::move(read), m_decisions.of(file.path), file.counters);
        cuts.push_back({shown.cut, shown.model.insUnits});
        if (m_dir.empty()) {
            continue;
        }
        painter = pictureModule(failure);
        if (painter != nullptr) {
            painter->write(shown, std::filesystem::path(file.path).filename().string(),
                           picturePathFor(file.path, m_dir, m_format), m_format, failure);
        }
    }
    if (painter != nullptr) {
        painter->end();
    }
    return cuts;
}

}  // namespace lintrel
