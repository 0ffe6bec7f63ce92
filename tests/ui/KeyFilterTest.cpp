// The numeric key filter of the eight option text boxes and its Enter cycle, typed for real.
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "Controls.h"
#include "Drawing.h"
#include "UiTestSupport.h"

using lintrel::testing::TestWindow;
namespace control = lintrel::control;

class KeyFilterTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void onlyDigitsAndOnePointGetThrough_data();
    void onlyDigitsAndOnePointGetThrough();
    void aPointIsRefusedEvenWhenTheExistingPointIsSelected_data();
    void aPointIsRefusedEvenWhenTheExistingPointIsSelected();
    void backspaceDeletes();
    void aFullWidthDigitIsDiscarded();
    void enterMovesTheFocusAlongTheCycle_data();
    void enterMovesTheFocusAlongTheCycle();
    void pastedTextIsNotFilteredAndARunRefusesIt();

private:
    std::unique_ptr<TestWindow> m_window;
};

void KeyFilterTest::init() {
    m_window = std::make_unique<TestWindow>();
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void KeyFilterTest::onlyDigitsAndOnePointGetThrough_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("the second point of 1.5. is discarded") << "Text1"
                                                           << "1.5."
                                                           << "1.5";
    QTest::newRow("a minus sign is discarded") << "Text1"
                                               << "-"
                                               << "";
    QTest::newRow("a letter is discarded") << "Text1"
                                           << "a"
                                           << "";
    QTest::newRow("signs, commas, blanks and exponents are discarded") << "Text5"
                                                                       << "+1,2 3e4"
                                                                       << "1234";
    QTest::newRow("a leading point is taken once") << "Text3"
                                                   << "..5"
                                                   << ".5";
    QTest::newRow("every box filters alike") << "Text6"
                                             << "0.0005x"
                                             << "0.0005";
}

void KeyFilterTest::onlyDigitsAndOnePointGetThrough() {
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    auto* edit = m_window->get<QLineEdit>(box.toStdString());
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), shown);
}

void KeyFilterTest::aPointIsRefusedEvenWhenTheExistingPointIsSelected_data() {
    QTest::addColumn<int>("selectionStart");
    QTest::addColumn<int>("selectionLength");
    QTest::newRow("the whole text selected") << 0 << 3;
    QTest::newRow("only the point selected") << 1 << 1;
}

void KeyFilterTest::aPointIsRefusedEvenWhenTheExistingPointIsSelected() {
    QFETCH(int, selectionStart);
    QFETCH(int, selectionLength);
    auto* edit = m_window->get<QLineEdit>(control::Text2);
    QTest::keyClicks(edit, "1.5");
    edit->setSelection(selectionStart, selectionLength);
    QTest::keyClick(edit, '.');
    QCOMPARE(edit->text(), QStringLiteral("1.5"));
}

void KeyFilterTest::backspaceDeletes() {
    auto* edit = m_window->get<QLineEdit>(control::Text4);
    QTest::keyClicks(edit, "12.");
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, "3");
    QCOMPARE(edit->text(), QStringLiteral("123"));
}

void KeyFilterTest::aFullWidthDigitIsDiscarded() {
    // QTest types only ASCII; a Japanese keyboard's full-width digit arrives as its text.
    auto* edit = m_window->get<QLineEdit>(control::Text9);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("１"));
    QApplication::sendEvent(edit, &press);
    QTest::keyClicks(edit, "2");
    QCOMPARE(edit->text(), QStringLiteral("2"));
}

void KeyFilterTest::enterMovesTheFocusAlongTheCycle_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::newRow("Text9 goes on to Text8") << "Text9"
                                            << "Text8";
    QTest::newRow("Text8 goes on to Text5") << "Text8"
                                            << "Text5";
    QTest::newRow("Text5 goes on to Text6") << "Text5"
                                            << "Text6";
    QTest::newRow("Text6 goes on to Text1") << "Text6"
                                            << "Text1";
    QTest::newRow("Text1 goes on to Text4") << "Text1"
                                            << "Text4";
    QTest::newRow("Text4 goes on to Text2") << "Text4"
                                            << "Text2";
    QTest::newRow("Text2 goes on to Text3") << "Text2"
                                            << "Text3";
    QTest::newRow("Text3 goes back to Text9") << "Text3"
                                              << "Text9";
}

void KeyFilterTest::enterMovesTheFocusAlongTheCycle() {
    QFETCH(QString, from);
    QFETCH(QString, to);
    auto* edit = m_window->get<QLineEdit>(from.toStdString());
    edit->setFocus();
    QTest::keyClicks(edit, "7");
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), m_window->get<QLineEdit>(to.toStdString()));
    QCOMPARE(edit->text(), QStringLiteral("7"));
}

void KeyFilterTest::pastedTextIsNotFilteredAndARunRefusesIt() {
    QTemporaryDir folder;
    QString path = lintrel::testing::writeFile(folder, "plan.dxf", lintrel::testing::drawing(""));
    lintrel::testing::dropFiles(*m_window, {path});
    auto* edit = m_window->get<QLineEdit>(control::Text5);
    QApplication::clipboard()->setText(QStringLiteral("1a"));
    edit->paste();
    QCOMPARE(edit->text(), QStringLiteral("1a"));

    QTest::mouseClick(m_window->get<QPushButton>(control::Start), Qt::LeftButton);

    QCOMPARE(m_window->messages,
             QStringList{"ダブり線の削除の「線間ズレ」に数値を入力して下さい。（入力値: 1a）"});
    QVERIFY(!QFileInfo::exists(folder.filePath("plan-Cut.dxf")));
}

QTEST_MAIN(KeyFilterTest)
#include "KeyFilterTest.moc"
