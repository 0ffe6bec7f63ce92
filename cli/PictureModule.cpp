#include "PictureModule.h"

#include <QGuiApplication>
#include <cstdlib>

#include "DxfError.h"
#include "PictureFile.h"

namespace {

using lintrel::preview::PictureFormat;

PictureFormat formatNamed(const std::string& format) {
    if (format == "png") {
        return PictureFormat::Png;
    }
    return format == "pdf" ? PictureFormat::Pdf : PictureFormat::Svg;
}

// Pictures are painted with the fonts of a GUI application; without a display, offscreen. It is
// started with the first picture and ends with the program.
void startPainting() {
    static int argc = 1;
    static char name[] = "lintrel-cli";
    static char* argv[] = {name, nullptr};
    if (QGuiApplication::instance() != nullptr) {
        return;
    }
    if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    }
    static QGuiApplication painting(argc, argv);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) bool lintrelWritePicture(
    const lintrel::preview::Preview& shown, const std::string& title, const std::string& path,
    const std::string& format, std::string& failure) {
    static_assert(std::is_same_v<decltype(&lintrelWritePicture), lintrel::WritePicture>);
    startPainting();
    try {
        lintrel::preview::writePicture(shown, QString::fromStdString(title), path,
                                       formatNamed(format));
    } catch (const lintrel::DxfError& error) {
        failure = error.what();
        return false;
    }
    return true;
}
