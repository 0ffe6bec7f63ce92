// lintrel: the desktop program. One copy runs per user; a later copy hands its files to it.
#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTimer>
#include <csignal>
#include <iostream>

#include "Application.h"
#include "EndingSignals.h"
#include "FrmMain.h"
#include "ProgramInfo.h"
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
    if (auto code = lintrel::answerProgramInfo({argv, static_cast<std::size_t>(argc)}, std::cout)) {
        return *code;
    }
    // A file-size limit then fails the write that exceeds it, which the run reports, instead of
    // ending the program without a word.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    lintrel::setUpApplication();
    // The window closes on them as by its close box: a run stops and removes its partial copy,
    // and the lock goes when main returns. Heard from before the lock is taken.
    lintrel::EndingSignals endingSignals;
    const QStringList files = filesFromArguments(QApplication::arguments().mid(1));

    lintrel::SingleInstance instance(
        QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation));
    if (!instance.becomePrimary()) {
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
    QObject::connect(&endingSignals, &lintrel::EndingSignals::received, &window, &QWidget::close);
    window.show();
    if (!files.isEmpty()) {
        // After the window is up, so that a refusal's message box has it as its owner.
        QTimer::singleShot(0, &window, [&window, files] { window.openFiles(files); });
    }
    return QApplication::exec();
}
