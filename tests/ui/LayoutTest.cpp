// frmMain as it opens: its size and title, the controls at their twips positions with their
// captions, fonts and colours, and no text cut off or overlapping (also run at 200%).
#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QTest>

#include "Controls.h"
#include "UiTestSupport.h"

using lintrel::testing::TestWindow;

namespace {

QRect fromTwips(int left, int top, int width, int height) {
    auto px = [](int twips) { return (2 * twips + 15) / 30; };
    return {px(left), px(top), px(width), px(height)};
}

// The widgets that make up the window's face: named, and neither lines nor frames.
QList<QWidget*> faceControls(const QWidget& window) {
    QList<QWidget*> controls;
    for (auto* widget : window.findChildren<QWidget*>()) {
        bool isText = qobject_cast<QLabel*>(widget) || qobject_cast<QAbstractButton*>(widget);
        if (isText && !widget->objectName().isEmpty()) {
            controls.append(widget);
        }
    }
    return controls;
}

QString textOf(const QWidget& widget) {
    if (auto* label = qobject_cast<const QLabel*>(&widget)) {
        return label->text();
    }
    return qobject_cast<const QAbstractButton*>(&widget)->text();
}

}  // namespace

class LayoutTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void theWindowIsATallNarrowFixedPanel();
    void controlsSitAtTheirTwipsPositions_data();
    void controlsSitAtTheirTwipsPositions();
    void captionsAreExact_data();
    void captionsAreExact();
    void onlyTheRunDisplayIsHiddenAtStart();
    void theButtonsAndTotalHaveTheirFonts();
    void countLabelsAreLightGrey();
    void tooltipsAreExact();
    void noTextIsCutOff();
    void noTwoControlsOverlap();

private:
    std::unique_ptr<TestWindow> m_window;
};

void LayoutTest::init() {
    m_window = std::make_unique<TestWindow>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void LayoutTest::theWindowIsATallNarrowFixedPanel() {
    QCOMPARE(m_window->windowTitle(), QStringLiteral("   Lintrel"));
    QCOMPARE(m_window->size(), QSize(292, 764));
    QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
    QVERIFY(!m_window->windowIcon().isNull());
}

void LayoutTest::controlsSitAtTheirTwipsPositions_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("rect");
    QTest::newRow("HELP at the top left") << "Command4" << fromTwips(15, 40, 975, 300);
    QTest::newRow("Ver beside it") << "Command2" << fromTwips(2300, 40, 975, 300);
    QTest::newRow("END at the top right") << "Command3" << fromTwips(3390, 40, 975, 300);
    QTest::newRow("the file list") << "List1" << fromTwips(120, 720, 2910, 1230);
    QTest::newRow("Start below Clear") << "Start" << fromTwips(3110, 1530, 1215, 375);
    QTest::newRow("the interrupt in Start's place")
        << "Command1" << fromTwips(3110, 1530, 1215, 375);
    QTest::newRow("the progress bar") << "ProgressBar1" << fromTwips(130, 4480, 4080, 270);
    QTest::newRow("the line options") << "Frame5" << fromTwips(120, 2190, 4125, 2595);
    QTest::newRow("the deletion counters") << "Frame1" << fromTwips(2880, 4890, 1360, 4260);
    QTest::newRow("the linetype options") << "Frame2" << fromTwips(120, 6960, 2655, 2175);
    QTest::newRow("the size options") << "Frame3" << fromTwips(120, 9240, 4125, 1695);
}

void LayoutTest::controlsSitAtTheirTwipsPositions() {
    QFETCH(QString, name);
    QFETCH(QRect, rect);
    auto* control = m_window->get<QWidget>(name.toStdString());
    QCOMPARE(control->geometry(), rect);
    QCOMPARE(control->parentWidget(), m_window->centralWidget());
}

void LayoutTest::captionsAreExact_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::newRow("HELP") << "Command4"
                          << "HELP ";
    QTest::newRow("Ver") << "Command2"
                         << "Ｖｅｒ";
    QTest::newRow("END") << "Command3"
                         << "ＥＮＤ";
    QTest::newRow("Clear") << "LISTClear"
                           << "Ｃｌｅａｒ";
    QTest::newRow("Start") << "Start"
                           << "Ｓｔａｒｔ";
    QTest::newRow("interrupt") << "Command1"
                               << "中  断";
    QTest::newRow("list caption") << "Label24"
                                  << "DXFファイル選択　（下のボックスにDrag ＆Drop）";
    QTest::newRow("files") << "Files"
                           << "Ｆｉｌｅｓ";
    QTest::newRow("file count starts empty") << "DATACount"
                                             << "";
    QTest::newRow("line total caption") << "Label55"
                                        << "処理中ファイルＬＩＮＥ総数";
    QTest::newRow("joining") << "Label48"
                             << "  LINE結合";
    QTest::newRow("duplicates") << "Label43"
                                << "  ダブり線の削除";
    QTest::newRow("same layer") << "Label34"
                                << "　同一画素のみ";
    QTest::newRow("same linetype") << "Label56"
                                   << "　同一線種のみ";
    QTest::newRow("percentage") << "Label52"
                                << "0.00";
    QTest::newRow("reading") << "Label63"
                             << "ファイル読込中";
    QTest::newRow("text") << "Label35"
                          << "ダイナミック文字削除";
    QTest::newRow("mtext") << "Label36"
                           << "マルチTEXT文字削除";
    QTest::newRow("blank text only") << "Check13"
                                     << "空白文字のみ削除";
    QTest::newRow("blank mtext only") << "Check12"
                                      << "空白文字のみ削除";
    QTest::newRow("dimensions") << "Label37"
                                << "寸法線削除";
    QTest::newRow("xlines") << "Label44"
                            << "構築線削除";
    QTest::newRow("dimension counter, spelled Labe22") << "Labe22"
                                                       << "寸法線数";
    QTest::newRow("line by linetype") << "Label38"
                                      << "ＬＩＮＥ 削除";
    QTest::newRow("circle by linetype") << "Label39"
                                        << "円 削除";
    QTest::newRow("arc by linetype") << "Label40"
                                     << "円弧 削除";
    QTest::newRow("points") << "Label41"
                            << "点 削除";
    QTest::newRow("points of every linetype") << "Option1(0)"
                                              << "全線種点";
    QTest::newRow("points of deleted linetypes") << "Option1(1)"
                                                 << "線種点";
    QTest::newRow("linetype rule") << "Label20"
                                   << "Bylayer・ByBlock・Continuous  以外の線種を削除します。";
    QTest::newRow("by size") << "Label42"
                             << "  長さ による削除  ";
    QTest::newRow("total") << "Label13"
                           << "TOTAL ";
    QTest::newRow("elapsed time starts empty") << "Label32"
                                               << "";
}

void LayoutTest::captionsAreExact() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QCOMPARE(textOf(*m_window->get<QWidget>(name.toStdString())), caption);
}

void LayoutTest::onlyTheRunDisplayIsHiddenAtStart() {
    const QStringList hidden = {"Command1", "Label55", "Label47", "Label63"};
    for (auto* widget : m_window->findChildren<QWidget*>()) {
        if (widget->objectName().isEmpty() || widget->objectName().startsWith("qt_")) {
            continue;
        }
        QCOMPARE(widget->isVisibleTo(m_window.get()), !hidden.contains(widget->objectName()));
        QVERIFY2(widget->isEnabled(), qPrintable(widget->objectName()));
    }
}

void LayoutTest::theButtonsAndTotalHaveTheirFonts() {
    for (const char* name : {"Command2", "Command3"}) {
        QFont font = m_window->get<QWidget>(name)->font();
        QCOMPARE(font.families().front(), QStringLiteral("ＭＳ Ｐ明朝"));
        QCOMPARE(font.pointSizeF(), 12.0);
        QVERIFY(font.bold() && font.italic());
    }
    QCOMPARE(m_window->get<QWidget>("Command4")->font().pointSizeF(), 11.25);
    QCOMPARE(m_window->get<QWidget>("Label13")->font().pointSizeF(), 14.25);
    QCOMPARE(m_window->font().families().front(), QStringLiteral("ＭＳ Ｐゴシック"));
}

void LayoutTest::countLabelsAreLightGrey() {
    for (const char* name :
         {"Label1", "Label2", "Label3", "Label4", "Label5", "Label6", "Label12", "Label18",
          "Label22", "Label25", "Label46", "Label47", "Label54", "DATACount"}) {
        auto* label = m_window->get<QLabel>(name);
        QVERIFY2(label->autoFillBackground(), name);
        QCOMPARE(label->palette().color(QPalette::Window), QColor(0xE0, 0xE0, 0xE0));
    }
}

void LayoutTest::tooltipsAreExact() {
    QCOMPARE(m_window->get<QWidget>("Start")->toolTip(),
             QStringLiteral("選択したファイルと同一フォルダに***-CUT.DXFファイルを作成します。"));
    QCOMPARE(m_window->get<QWidget>("Check13")->toolTip(),
             QStringLiteral("ダイナミック文字を全て削除します。"));
}

void LayoutTest::noTextIsCutOff() {
    for (QWidget* control : faceControls(*m_window)) {
        QString name = control->objectName();
        QVERIFY2(control->parentWidget()->rect().contains(control->geometry()), qPrintable(name));
        QString text = textOf(*control);
        if (text.isEmpty()) {
            continue;
        }
        QFontMetrics metrics(control->font());
        auto* label = qobject_cast<QLabel*>(control);
        if (label != nullptr && label->wordWrap()) {
            QVERIFY2(label->heightForWidth(label->width()) <= label->height(),
                     qPrintable(name + " needs " +
                                QString::number(label->heightForWidth(label->width()))));
            continue;
        }
        // A check box or option button needs room for its indicator as well; a push button
        // for its bevel.
        int room = label != nullptr ? label->contentsRect().width()
                   : qobject_cast<QPushButton*>(control) != nullptr
                       ? control->width() - 4
                       : control->width() -
                             (control->sizeHint().width() - metrics.horizontalAdvance(text));
        QVERIFY2(metrics.horizontalAdvance(text) <= room, qPrintable(name + " is too narrow"));
        QVERIFY2(metrics.tightBoundingRect(text).height() <= control->height(),
                 qPrintable(name + " is too low"));
    }
}

void LayoutTest::noTwoControlsOverlap() {
    QList<QWidget*> controls = faceControls(*m_window);
    for (QWidget* first : controls) {
        for (QWidget* second : controls) {
            // Start and the interrupt share one place; only one of them is ever shown.
            bool isSharedPlace = QSet<QString>{first->objectName(), second->objectName()} ==
                                 QSet<QString>{"Start", "Command1"};
            if (first >= second || first->parentWidget() != second->parentWidget() ||
                isSharedPlace) {
                continue;
            }
            QVERIFY2(!first->geometry().intersects(second->geometry()),
                     qPrintable(first->objectName() + " overlaps " + second->objectName()));
        }
    }
}

QTEST_MAIN(LayoutTest)
#include "LayoutTest.moc"
