// Start on the real window: the controls a run locks and gives back after completion, interrupt
// and failure, the interrupt removing the partial output, and what stays quiet during a run.
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <chrono>
#include <csignal>
#include <functional>

#include "Controls.h"
#include "Drawing.h"
#include "EndingSignals.h"
#include "UiTestSupport.h"

using lintrel::testing::TestWindow;
namespace control = lintrel::control;

namespace {

// Everything a run disables; Command2 (Ver) and Command4 (HELP) stay usable.
const QStringList kLockedControls = {
    "Command3", "List1",   "LISTClear", "TEXT文字削除", "MTEXT文字削除", "Check1",     "Check2",
    "Check3",   "Check4",  "Check5",    "Check6",       "Check7",        "Check8",     "Check9",
    "Check10",  "Check11", "Check12",   "Check13",      "Option1(0)",    "Option1(1)", "Text1",
    "Text2",    "Text3",   "Text4",     "Text5",        "Text6",         "Text8",      "Text9"};

const QStringList kCaptionLabels = {"Label34", "Label35", "Label36", "Label37", "Label38",
                                    "Label39", "Label40", "Label41", "Label42", "Label43",
                                    "Label44", "Label48", "Label56"};

// A drawing whose run takes many steps, with one TEXT entity that the defaults delete.
std::string busyDrawing() {
    using namespace lintrel::testing;
    std::string entities = record(
        "TEXT", {{"  8", "0"}, {" 10", "0.0"}, {" 20", "0.0"}, {" 40", "2.5"}, {"  1", "NOTE"}});
    for (int i = 0; i < 300; ++i) {
        std::string y = std::to_string(i * 10);
        entities += lineRecord("0.0", y, "100.0", y);
    }
    return drawing(entities);
}

}  // namespace

class RunTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void startLocksTheControlsAndCompletionGivesThemBack();
    void theFinalCountsReachTheLabelsWithTheDefaultThrottling();
    void captionClicksChangeNothingDuringARun();
    void anInterruptRemovesThePartialOutputAndGivesTheControlsBack();
    void escapeInterruptsLikeCommand1();
    void aDamagedFileStopsTheRunAndGivesTheControlsBack();
    void theCloseBoxDuringARunStopsItBeforeClosing();
    void endingSignalsStopTheRunAndCloseTheWindow_data();
    void endingSignalsStopTheRunAndCloseTheWindow();
    void filesHandedOverDuringARunAreListedAfterIt();

private:
    QString addDrawing(const QString& name, const std::string& bytes);
    // Runs fn once, the first time the progress bar of the named file reaches half-way.
    void atHalfWay(const QString& name, const std::function<void()>& fn);
    void start();
    void verifyIdle();
    QStringList lockedStates() const;
    QStringList folderEntries() const;

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<TestWindow> m_window;
};

void RunTest::init() {
    m_folder = std::make_unique<QTemporaryDir>();
    m_window = std::make_unique<TestWindow>();
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

QString RunTest::addDrawing(const QString& name, const std::string& bytes) {
    QString path = lintrel::testing::writeFile(*m_folder, name, bytes);
    lintrel::testing::dropFiles(*m_window, {path});
    return path;
}

void RunTest::atHalfWay(const QString& name, const std::function<void()>& fn) {
    auto* progress = m_window->get<QProgressBar>(control::ProgressBar1);
    auto isDone = std::make_shared<bool>(false);
    connect(progress, &QProgressBar::valueChanged, this, [this, name, fn, isDone](int value) {
        if (!*isDone && value >= 50 && m_window->windowTitle().contains(name)) {
            *isDone = true;
            fn();
        }
    });
}

void RunTest::start() {
    QTest::mouseClick(m_window->get<QPushButton>(control::Start), Qt::LeftButton);
}

QStringList RunTest::lockedStates() const {
    QStringList states;
    for (const QString& name : kLockedControls) {
        states.append(name +
                      (m_window->get<QWidget>(name.toStdString())->isEnabled() ? "=on" : "=off"));
    }
    return states;
}

QStringList RunTest::folderEntries() const {
    return QDir(m_folder->path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

void RunTest::verifyIdle() {
    for (const QString& state : lockedStates()) {
        QVERIFY2(state.endsWith("=on"), qPrintable(state));
    }
    QVERIFY(m_window->get<QPushButton>(control::Start)->isVisible());
    QVERIFY(!m_window->get<QPushButton>(control::Command1)->isVisible());
    QCOMPARE(m_window->windowTitle(), QStringLiteral("   Lintrel"));
}

void RunTest::startLocksTheControlsAndCompletionGivesThemBack() {
    addDrawing("a.dxf", busyDrawing());
    addDrawing("b.dxf", busyDrawing());
    QStringList during;
    bool isStartShown = true;
    bool isInterruptShown = false;
    bool areVerAndHelpUsable = false;
    atHalfWay("b.dxf", [&] {
        during = lockedStates();
        isStartShown = m_window->get<QPushButton>(control::Start)->isVisible();
        isInterruptShown = m_window->get<QPushButton>(control::Command1)->isVisible();
        areVerAndHelpUsable = m_window->get<QPushButton>(control::Command2)->isEnabled() &&
                              m_window->get<QPushButton>(control::Command4)->isEnabled();
    });

    start();

    QCOMPARE(during.size(), kLockedControls.size());
    for (const QString& state : during) {
        QVERIFY2(state.endsWith("=off"), qPrintable(state));
    }
    QVERIFY(!isStartShown);
    QVERIFY(isInterruptShown);
    QVERIFY(areVerAndHelpUsable);
    verifyIdle();
    QCOMPARE(m_window->messages, QStringList{"完了しました。"});
    QCOMPARE(folderEntries(), (QStringList{"a-Cut.dxf", "a.dxf", "b-Cut.dxf", "b.dxf"}));
}

void RunTest::theFinalCountsReachTheLabelsWithTheDefaultThrottling() {
    m_window->setYieldInterval(std::chrono::milliseconds(20));
    addDrawing("a.dxf", busyDrawing());
    addDrawing("b.dxf", busyDrawing());

    start();

    QCOMPARE(m_window->messages, QStringList{"完了しました。"});
    QCOMPARE(m_window->get<QLabel>(control::Label1)->text(), QStringLiteral("2"));
    QCOMPARE(m_window->get<QLabel>(control::Label12)->text(), QStringLiteral("2"));
    QCOMPARE(m_window->get<QLabel>(control::Label47)->text(), QStringLiteral("300"));
    QVERIFY(QRegularExpression("^\\d+\\.\\d Sec$")
                .match(m_window->get<QLabel>(control::Label32)->text())
                .hasMatch());
}

void RunTest::captionClicksChangeNothingDuringARun() {
    addDrawing("a.dxf", busyDrawing());
    QStringList before;
    QStringList after;
    atHalfWay("a.dxf", [&] {
        before = m_window->tickStates();
        for (const QString& label : kCaptionLabels) {
            QTest::mouseClick(m_window->get<QLabel>(label.toStdString()), Qt::LeftButton);
        }
        after = m_window->tickStates();
    });

    start();

    QVERIFY(!before.isEmpty());
    QCOMPARE(after, before);
}

void RunTest::anInterruptRemovesThePartialOutputAndGivesTheControlsBack() {
    addDrawing("a.dxf", busyDrawing());
    addDrawing("b.dxf", busyDrawing());
    addDrawing("c.dxf", busyDrawing());
    atHalfWay("b.dxf", [&] {
        QTest::mouseClick(m_window->get<QPushButton>(control::Command1), Qt::LeftButton);
    });

    start();

    QCOMPARE(folderEntries(), (QStringList{"a-Cut.dxf", "a.dxf", "b.dxf", "c.dxf"}));
    verifyIdle();
    QVERIFY(!m_window->get<QProgressBar>(control::ProgressBar1)->isVisible());
    QCOMPARE(m_window->get<QLabel>(control::Label52)->text(), QStringLiteral("0.00"));
    QCOMPARE(m_window->messages, QStringList());
}

void RunTest::escapeInterruptsLikeCommand1() {
    addDrawing("a.dxf", busyDrawing());
    atHalfWay("a.dxf", [&] { QTest::keyClick(m_window.get(), Qt::Key_Escape); });

    start();

    QCOMPARE(folderEntries(), QStringList{"a.dxf"});
    verifyIdle();
    QCOMPARE(m_window->messages, QStringList());
}

void RunTest::aDamagedFileStopsTheRunAndGivesTheControlsBack() {
    using lintrel::testing::crlf;
    addDrawing("damaged.dxf", crlf({"  0", "SECTION", "  2", "HEADER", "  9", "$ACADVER", "  1",
                                    "AC1015", "  0", "ENDSEC", "  0", "EOF"}));

    start();

    QCOMPARE(m_window->messages, QStringList{" damaged.dxfは壊れている可能性があります。　"});
    verifyIdle();
}

void RunTest::theCloseBoxDuringARunStopsItBeforeClosing() {
    addDrawing("a.dxf", busyDrawing());
    bool wasOpenAfterClose = false;
    atHalfWay("a.dxf", [&] {
        m_window->close();
        wasOpenAfterClose = m_window->isVisible();
    });

    start();

    QVERIFY(wasOpenAfterClose);
    QVERIFY(!m_window->isVisible());
    QCOMPARE(folderEntries(), QStringList{"a.dxf"});
    QCOMPARE(m_window->messages, QStringList());
}

void RunTest::endingSignalsStopTheRunAndCloseTheWindow_data() {
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM, as at a logout or shutdown") << SIGTERM;
    QTest::newRow("SIGHUP, as when its terminal closes") << SIGHUP;
}

void RunTest::endingSignalsStopTheRunAndCloseTheWindow() {
    QFETCH(int, signal);
    lintrel::EndingSignals endingSignals;
    connect(&endingSignals, &lintrel::EndingSignals::received, m_window.get(), &QWidget::close);
    addDrawing("a.dxf", busyDrawing());
    addDrawing("b.dxf", busyDrawing());
    bool wasOpenAfterSignal = false;
    atHalfWay("b.dxf", [&] {
        ::raise(signal);
        wasOpenAfterSignal = m_window->isVisible();
    });

    start();

    QVERIFY(wasOpenAfterSignal);
    QVERIFY(!m_window->isVisible());
    // The finished copy stays; the one being written is gone, and nothing else is left.
    QCOMPARE(folderEntries(), (QStringList{"a-Cut.dxf", "a.dxf", "b.dxf"}));
    QCOMPARE(m_window->messages, QStringList());
}

void RunTest::filesHandedOverDuringARunAreListedAfterIt() {
    addDrawing("a.dxf", busyDrawing());
    QString later = lintrel::testing::writeFile(*m_folder, "b.dxf", busyDrawing());
    int rowsDuringRun = -1;
    atHalfWay("a.dxf", [&] {
        m_window->openFiles({later});
        rowsDuringRun = m_window->get<QListWidget>(control::List1)->count();
    });

    start();

    QCOMPARE(rowsDuringRun, 1);
    QCOMPARE(m_window->get<QListWidget>(control::List1)->count(), 2);
    QVERIFY(!QFileInfo::exists(m_folder->filePath("b-Cut.dxf")));
}

QTEST_MAIN(RunTest)
#include "RunTest.moc"
