#include "PreviewOutput.h"

#include <QString>
#include <filesystem>

#include "DxfError.h"
#include "PictureFile.h"
#include "PreviewRun.h"

namespace lintrel {
namespace {

preview::PictureFormat formatNamed(const std::string& format) {
    if (format == "png") {
        return preview::PictureFormat::Png;
    }
    return format == "pdf" ? preview::PictureFormat::Pdf : preview::PictureFormat::Svg;
}

}  // namespace

std::string picturePathFor(const std::string& input, const std::string& dir,
                           const std::string& format) {
    const std::filesystem::path name = std::filesystem::path(input).stem();
    return (std::filesystem::path(dir) / (name.string() + "-preview." + format)).string();
}

std::vector<FileCutLength> PreviewOutput::finish(const RunReport& report, std::string& failure) {
    std::vector<FileCutLength> cuts;
    for (const FileReport& file : report.files) {
        const preview::Preview shown =
            preview::previewAfterRun(file.path, m_decisions, file.counters);
        cuts.push_back({shown.cut, shown.model.insUnits});
        if (m_dir.empty()) {
            continue;
        }
        try {
            const QString title =
                QString::fromStdString(std::filesystem::path(file.path).filename().string());
            preview::writePicture(shown, title, picturePathFor(file.path, m_dir, m_format),
                                  formatNamed(m_format));
        } catch (const DxfError& error) {
            failure = error.what();
        }
    }
    return cuts;
}

}  // namespace lintrel
