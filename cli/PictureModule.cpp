#include "PictureModule.h"

#include <QGuiApplication>
#include <array>
#include <cstdlib>
#include <memory>
#include <utility>

#include "DxfError.h"
#include "PictureFile.h"
#include "RuntimeFolder.h"

namespace {

using lintrel::preview::PictureFormat;

PictureFormat formatNamed(const std::string& format) {
    if (format == "png") {
        return PictureFormat::Png;
    }
    return format == "pdf" ? PictureFormat::Pdf : PictureFormat::Svg;
}

// Pictures are painted with the fonts of a GUI application, offscreen. It is started before the
// first picture and ended once the last is written, before the program ends: ended with the
// program, it would leave the font library's memory behind.
class Painting {
public:
    // A PNG picture's canvas is made with the application; other formats paint on no image.
    explicit Painting(bool isPng) : m_application(m_argc, m_argv.data()) {
        m_runtime.remove();
        if (isPng) {
            m_canvas = lintrel::preview::pictureCanvas();
        }
    }

    // The canvas made with the application, for the first picture; none for the later ones.
    QImage takeCanvas() { return std::exchange(m_canvas, {}); }

private:
    static inline int m_argc = 1;
    static inline char m_name[] = "lintrel-cli";
    std::array<char*, 2> m_argv{m_name, nullptr};
    lintrel::RuntimeFolder m_runtime;  // made before the application, removed once it started
    QGuiApplication m_application;
    QImage m_canvas;
};

std::unique_ptr<Painting>& painting() {
    static std::unique_ptr<Painting> started;
    return started;
}

void startPainting(const std::string& format) {
    if (painting() != nullptr) {
        return;
    }
    // Pictures go to files: no display is needed, and one named but out of reach (a stale
    // DISPLAY over ssh) would end the program. A platform the user names is kept.
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform == nullptr || *platform == '\0') {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    painting() = std::make_unique<Painting>(formatNamed(format) == PictureFormat::Png);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void lintrelStartPainting(
    const std::string& format) {
    static_assert(std::is_same_v<decltype(&lintrelStartPainting), lintrel::StartPainting>);
    startPainting(format);
}

extern "C" __attribute__((visibility("default"))) bool lintrelWritePicture(
    const lintrel::preview::Preview& shown, const std::string& title, const std::string& path,
    const std::string& format, std::string& failure) {
    static_assert(std::is_same_v<decltype(&lintrelWritePicture), lintrel::WritePicture>);
    startPainting(format);
    try {
        lintrel::preview::writePicture(shown, QString::fromStdString(title), path,
                                       formatNamed(format), painting()->takeCanvas());
    } catch (const lintrel::DxfError& error) {
        failure = error.what();
        return false;
    }
    return true;
}

extern "C" __attribute__((visibility("default"))) void lintrelEndPainting() {
    static_assert(std::is_same_v<decltype(&lintrelEndPainting), lintrel::EndPainting>);
    painting().reset();
}
