#include "UiTestSupport.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDropEvent>
#include <QFile>
#include <QListWidget>
#include <QMimeData>
#include <chrono>

#include "Controls.h"
#include "Drawing.h"

namespace lintrel::testing {

TestWindow::TestWindow() {
    setMessageHook([this](const QString& prompt) { messages.append(prompt); });
    setYieldInterval(std::chrono::milliseconds(0));
}

QStringList TestWindow::tickStates() const {
    QStringList states;
    auto note = [&](std::string_view name) {
        bool isTicked = get<QAbstractButton>(name)->isChecked();
        states.append(lintrel::toQString(name) + (isTicked ? "=1" : "=0"));
    };
    for (auto box : control::kCheckBoxes) {
        note(box);
    }
    note(control::Option1_0);
    note(control::Option1_1);
    return states;
}

void drop(TestWindow& window, const QMimeData& data) {
    // A drag enters before it drops; Qt delivers no drop to a widget the drag never entered.
    QWidget* target = window.get<QListWidget>(control::List1)->viewport();
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
}

void dropFiles(TestWindow& window, const QStringList& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths) {
        urls.append(QUrl::fromLocalFile(path));
    }
    data.setUrls(urls);
    drop(window, data);
}

QString writeFile(const QTemporaryDir& folder, const QString& name, const std::string& bytes) {
    QString path = folder.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size())) {
        qFatal("cannot write the test drawing %s", qPrintable(path));
    }
    return path;
}

std::string manyLines(int count) {
    std::string entities;
    for (int i = 0; i < count; ++i) {
        std::string y = std::to_string(i * 10);
        entities += lineRecord("0.0", y, "100.0", y);
    }
    return drawing(entities);
}

}  // namespace lintrel::testing
