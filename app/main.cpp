// lintrel: the desktop program. One copy runs per user; a later copy hands its files to it.
#include <QApplication>
#include <QByteArrayList>
#include <QStandardPaths>
#include <QTimer>
#include <csignal>
#include <filesystem>
#include <iostream>

#include "Application.h"
#include "EndingSignals.h"
#include "FrmMain.h"
#include "ProgramInfo.h"
#include "SingleInstance.h"

namespace {

// Files named on the command line, made absolute (the running copy may have another folder),
// as the bytes given: QApplication::arguments() would replace bytes that are not UTF-8.
QByteArrayList filesFromArguments(int argc, char* argv[]) {
    QByteArrayList files;
    for (int k = 1; k < argc; ++k) {
        files.append(QByteArray::fromStdString(std::filesystem::absolute(argv[k]).string()));
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
    const QByteArrayList files = filesFromArguments(argc, argv);

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
                     [&window](const QByteArrayList& handed) {
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
