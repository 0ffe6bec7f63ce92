// The preview window on real widgets: opened from List1, its views and legend rows, zoom and
// fit, a new dry run when an option changes, and closing during a dry run.
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTest>
#include <QWheelEvent>

#include "Controls.h"
#include "PreviewCanvas.h"
#include "PreviewWindow.h"
#include "UiTestSupport.h"

using lintrel::PreviewWindow;
using lintrel::testing::TestWindow;

namespace {

const QString kDuplicates = QStringLiteral(LINTREL_EXAMPLES_DIR "/duplicates.dxf");

QString legendText(PreviewWindow& window, const char* caption) {
    return window.findChild<QCheckBox*>(QString::fromUtf8(caption))->text();
}

PreviewWindow* openDuplicates(TestWindow& main) {
    lintrel::testing::dropFiles(main, {kDuplicates});
    PreviewWindow* preview = main.openPreview(1);
    const bool isShown = QTest::qWaitFor([&] { return preview->shown() != nullptr; }, 20000);
    return isShown ? preview : nullptr;
}

}  // namespace

class PreviewTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void showsTheDryRunsCountsAndCutLengths();
    void opensOnADoubleClickAndFromTheContextMenu();
    void aHiddenLegendRowIsNotDrawnAndViewsDrawDifferently();
    void theWheelZoomsAroundTheCursorAndHomeFits();
    void anOptionChangeRunsTheDrawingAgain();
    void eachPreviewGetsItsIndexOnceShown();
    void closingDuringTheDryRunStopsIt();
    void theBackgroundIsRemembered();
};

void PreviewTest::showsTheDryRunsCountsAndCutLengths() {
    TestWindow main;
    PreviewWindow* preview = openDuplicates(main);
    QVERIFY(preview != nullptr);
    QCOMPARE(legendText(*preview, "ダブり線"), QString::fromUtf8("ダブり線 6件"));
    QCOMPARE(legendText(*preview, "結合で消える線"), QString::fromUtf8("結合で消える線 1件"));
    const QString status = preview->findChild<QLabel*>("PreviewStatus")->text();
    QVERIFY2(status.contains(QString::fromUtf8(
                 "切断長 前 1686.109 mm  後 1303.682 mm  削減 382.426 mm (22.68%)")),
             qPrintable(status));
}

void PreviewTest::opensOnADoubleClickAndFromTheContextMenu() {
    TestWindow main;
    lintrel::testing::dropFiles(main, {kDuplicates});
    auto* list = main.get<QListWidget>(lintrel::control::List1);
    list->setCurrentRow(0);
    QAction* action = nullptr;
    for (QAction* candidate : list->actions()) {
        if (candidate->text() == QString::fromUtf8("プレビュー…")) {
            action = candidate;
        }
    }
    QVERIFY(action != nullptr);
    action->trigger();
    QCOMPARE(main.findChildren<PreviewWindow*>().size(), 1);
    emit list->itemDoubleClicked(list->item(0));
    QCOMPARE(main.findChildren<PreviewWindow*>().size(), 2);
}

void PreviewTest::aHiddenLegendRowIsNotDrawnAndViewsDrawDifferently() {
    TestWindow main;
    PreviewWindow* preview = openDuplicates(main);
    QVERIFY(preview != nullptr);
    preview->show();
    const QImage changes = preview->canvas()->grab().toImage();
    preview->findChild<QCheckBox*>(QString::fromUtf8("ダブり線"))->setChecked(false);
    const QImage hidden = preview->canvas()->grab().toImage();
    QVERIFY(changes != hidden);
    preview->findChild<QCheckBox*>(QString::fromUtf8("ダブり線"))->setChecked(true);
    QCOMPARE(preview->canvas()->grab().toImage(), changes);
    preview->findChild<QRadioButton*>(QString::fromUtf8("元図"))->click();
    const QImage before = preview->canvas()->grab().toImage();
    QVERIFY(before != changes);
    // The result leaves out what the run removes, so hiding duplicates there changes nothing.
    preview->findChild<QRadioButton*>(QString::fromUtf8("結果"))->click();
    const QImage after = preview->canvas()->grab().toImage();
    preview->findChild<QCheckBox*>(QString::fromUtf8("ダブり線"))->setChecked(false);
    QCOMPARE(preview->canvas()->grab().toImage(), after);
    preview->findChild<QCheckBox*>(QString::fromUtf8("残る図形"))->setChecked(false);
    QVERIFY(preview->canvas()->grab().toImage() != after);
}

void PreviewTest::theWheelZoomsAroundTheCursorAndHomeFits() {
    TestWindow main;
    PreviewWindow* preview = openDuplicates(main);
    QVERIFY(preview != nullptr);
    preview->show();
    lintrel::PreviewCanvas* canvas = preview->canvas();
    const double fitted = canvas->viewport().scale();
    const QPointF cursor(100, 80);
    const lintrel::preview::Point under = canvas->viewport().toDrawing(cursor);
    QWheelEvent wheel(cursor, canvas->mapToGlobal(cursor), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(canvas, &wheel);
    QCOMPARE(canvas->viewport().scale(), fitted * 1.25);
    const lintrel::preview::Point still = canvas->viewport().toDrawing(cursor);
    QVERIFY(std::abs(still.x - under.x) < 1e-9 && std::abs(still.y - under.y) < 1e-9);
    QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(100, 80));
    QTest::mouseMove(canvas, QPoint(140, 100));
    QTest::keyClick(canvas, Qt::Key_Home);
    QCOMPARE(canvas->viewport().scale(), fitted);
}

void PreviewTest::anOptionChangeRunsTheDrawingAgain() {
    TestWindow main;
    PreviewWindow* preview = openDuplicates(main);
    QVERIFY(preview != nullptr);
    main.get<QCheckBox>(lintrel::control::Check7)->setChecked(false);
    QTRY_COMPARE_WITH_TIMEOUT(legendText(*preview, "ダブり線"), QString::fromUtf8("ダブり線 0件"),
                              20000);
}

// The whole drawing is shown before the index for views of a part is built; each preview shown,
// the first and one run again, then gets its own.
void PreviewTest::eachPreviewGetsItsIndexOnceShown() {
    TestWindow main;
    PreviewWindow* preview = openDuplicates(main);
    QVERIFY(preview != nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(!preview->shown()->model.index.isEmpty(), 20000);
    const lintrel::preview::Preview* first = preview->shown();
    main.get<QCheckBox>(lintrel::control::Check7)->setChecked(false);
    QTRY_VERIFY_WITH_TIMEOUT(preview->shown() != first, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(!preview->shown()->model.index.isEmpty(), 20000);
}

void PreviewTest::closingDuringTheDryRunStopsIt() {
    TestWindow main;
    QTemporaryDir folder;
    const QString path =
        lintrel::testing::writeFile(folder, "long.dxf", lintrel::testing::manyLines(50000));
    lintrel::testing::dropFiles(main, {path});
    QPointer<PreviewWindow> preview = main.openPreview(1);
    QVERIFY(preview->isRunning());
    preview->close();
    QTRY_VERIFY(preview.isNull());
}

void PreviewTest::theBackgroundIsRemembered() {
    TestWindow main;
    lintrel::testing::dropFiles(main, {kDuplicates});
    PreviewWindow* first = main.openPreview(1);
    auto* light = first->findChild<QCheckBox*>("LightBackground");
    light->setChecked(!light->isChecked());
    PreviewWindow* second = main.openPreview(1);
    QCOMPARE(second->findChild<QCheckBox*>("LightBackground")->isChecked(), light->isChecked());
}

QTEST_MAIN(PreviewTest)
#include "PreviewTest.moc"
