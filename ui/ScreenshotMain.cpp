// lintrel_screenshot [--about | --preview] OUT.png [DRAWING.dxf...]: renders frmMain with its
// default options and the given drawings listed (or, with --about, frmAbout; with --preview, the
// preview of the first drawing) into a PNG. Run it with
// QT_QPA_PLATFORM=offscreen, and with QT_SCALE_FACTOR=2 for the high-dpi rendering.
#include <QApplication>
#include <QPixmap>
#include <QTextStream>

#include "Application.h"
#include "FrmAbout.h"
#include "FrmMain.h"
#include "PreviewWindow.h"

namespace {

bool save(QWidget& window, const QString& output) {
    window.show();
    QApplication::processEvents();
    if (!window.grab().save(output)) {
        QTextStream(stderr) << "cannot write " << output << '\n';
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    lintrel::setUpApplication();
    QStringList arguments = QApplication::arguments().mid(1);
    bool isAbout = !arguments.isEmpty() && arguments.front() == QStringLiteral("--about");
    bool isPreview = !arguments.isEmpty() && arguments.front() == QStringLiteral("--preview");
    if (isAbout || isPreview) {
        arguments.removeFirst();
    }
    if (arguments.isEmpty()) {
        QTextStream(stderr) << "usage: lintrel_screenshot [--about | --preview] OUT.png [DRAWING.dxf...]\n";
        return 2;
    }
    QString output = arguments.takeFirst();
    lintrel::FrmMain window;
    window.setMessageHook([](const QString& prompt) { QTextStream(stderr) << prompt << '\n'; });
    if (isAbout) {
        return save(*new lintrel::FrmAbout(&window), output) ? 0 : 1;
    }
    window.openFiles(arguments);
    if (isPreview) {
        lintrel::PreviewWindow* preview = window.openPreview(1);
        while (preview != nullptr && preview->isRunning()) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        return preview != nullptr && save(*preview, output) ? 0 : 1;
    }
    return save(window, output) ? 0 : 1;
}
