// lintrel: the desktop program. One copy runs per user; a later copy hands its files to it.
#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTimer>

#include "Application.h"
#include "FrmMain.h"
#include "SingleInstance.h"

namespace {

// Files named on the command line, made absolute: the running copy may have another folder.
QStringList filesFromArguments(const QStringList& arguments) {
    QStringList files;
    for (const QString& argument : arguments) {
        files.append(QDir::current().absoluteFilePath(argument));
    }
    return files;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    lintrel::setUpApplication();
    const QStringList files = filesFromArguments(QApplication::arguments().mid(1));

    lintrel::SingleInstance instance(
        QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation));
    // Without a running copy to take the files, this one shows them, whatever the lock says.
    if (!instance.becomePrimary() && instance.isPrimaryReachable()) {
        if (!files.isEmpty()) {
            instance.handOver(files);
        }
        return 0;
    }

    lintrel::FrmMain window;
    if (!window.Form_Load()) {
        return 1;
    }
    QObject::connect(&instance, &lintrel::SingleInstance::filesHandedOver, &window,
                     [&window](const QStringList& handed) {
                         window.raise();
                         window.activateWindow();
                         window.openFiles(handed);
                     });
    window.show();
    if (!files.isEmpty()) {
        // After the window is up, so that a refusal's message box has it as its owner.
        QTimer::singleShot(0, &window, [&window, files] { window.openFiles(files); });
    }
    return QApplication::exec();
}
