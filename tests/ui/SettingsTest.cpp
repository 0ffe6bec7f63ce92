// END saves the options and ends the program; the next start-up shows them again. The close box
// saves nothing, and a settings file that cannot be used is reported by name.
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "Controls.h"
#include "FrmAbout.h"
#include "SettingsFile.h"
#include "UiTestSupport.h"

using lintrel::testing::TestWindow;
namespace control = lintrel::control;

namespace {

const QString kFailure = QStringLiteral(" は、設定ファイルとして読み書きできませんでした。");

QString settingsPath() {
    return QString::fromStdString(lintrel::SettingsFilePath().string());
}

}  // namespace

class SettingsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void endWritesTheRecordThatTheNextStartUpApplies();
    void endClosesTheAboutBoxToo();
    void theCloseBoxSavesNothing();
    void endWithATextThatIsNoNumberReportsItAndWritesNothing();
    void aSettingsFileThatCannotBeMadeIsReportedByNameAtEnd();

private:
    std::unique_ptr<QTemporaryDir> m_config;
    std::unique_ptr<TestWindow> m_window;
};

void SettingsTest::init() {
    m_config = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CONFIG_HOME", m_config->path().toUtf8());
    m_window = std::make_unique<TestWindow>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void SettingsTest::endWritesTheRecordThatTheNextStartUpApplies() {
    QTest::mouseClick(m_window->get<QLabel>("Label38"), Qt::LeftButton);
    QTest::mouseClick(m_window->get<QCheckBox>(control::Check13), Qt::LeftButton);
    QTest::mouseClick(m_window->get<QRadioButton>(control::Option1_1), Qt::LeftButton);
    QTest::keyClicks(m_window->get<QLineEdit>(control::Text5), "0.5");
    QTest::keyClicks(m_window->get<QLineEdit>(control::Text1), "12.");
    QTest::keyClicks(m_window->get<QLineEdit>(control::Text9), "0");

    QTest::mouseClick(m_window->get<QPushButton>(control::Command3), Qt::LeftButton);

    QVERIFY(!m_window->isVisible());
    QCOMPARE(QFileInfo(settingsPath()).size(), 108);
    TestWindow next;
    QVERIFY(next.Form_Load());
    QVERIFY(!next.get<QCheckBox>(control::Check1)->isChecked());
    QVERIFY(next.get<QCheckBox>(control::Check13)->isChecked());
    QVERIFY(!next.get<QCheckBox>(control::TextDelete)->isChecked());
    QVERIFY(next.get<QCheckBox>(control::MTextDelete)->isChecked());
    QVERIFY(!next.get<QRadioButton>(control::Option1_0)->isChecked());
    QVERIFY(next.get<QRadioButton>(control::Option1_1)->isChecked());
    QCOMPARE(next.get<QLineEdit>(control::Text5)->text(), QStringLiteral("0.5"));
    QCOMPARE(next.get<QLineEdit>(control::Text1)->text(), QStringLiteral("12"));
    QCOMPARE(next.get<QLineEdit>(control::Text9)->text(), QString());
    QCOMPARE(next.messages, QStringList());
}

void SettingsTest::endClosesTheAboutBoxToo() {
    QTest::mouseClick(m_window->get<QPushButton>(control::Command2), Qt::LeftButton);
    auto* about = m_window->get<lintrel::FrmAbout>("frmAbout");
    QVERIFY(about->isVisible());

    QTest::mouseClick(m_window->get<QPushButton>(control::Command3), Qt::LeftButton);

    QVERIFY(!about->isVisible());
    QVERIFY(!m_window->isVisible());
    QVERIFY(QFileInfo::exists(settingsPath()));
}

void SettingsTest::theCloseBoxSavesNothing() {
    QTest::mouseClick(m_window->get<QLabel>("Label38"), Qt::LeftButton);
    QVERIFY(m_window->close());
    QVERIFY(!QFileInfo::exists(settingsPath()));
}

void SettingsTest::endWithATextThatIsNoNumberReportsItAndWritesNothing() {
    m_window->get<QLineEdit>(control::Text3)->insert(QStringLiteral("1a"));

    QTest::mouseClick(m_window->get<QPushButton>(control::Command3), Qt::LeftButton);

    QCOMPARE(m_window->messages.size(), 1);
    QVERIFY2(m_window->messages.front().startsWith(settingsPath() + kFailure),
             qPrintable(m_window->messages.front()));
    QVERIFY(!m_window->isVisible());
    QCOMPARE(QFileInfo(settingsPath()).size(), 0);
}

// Start-up makes nothing, so a folder that cannot be made keeps the window from nothing but
// saving at END, which names the file.
void SettingsTest::aSettingsFileThatCannotBeMadeIsReportedByNameAtEnd() {
    QString blocker = m_config->filePath("not-a-folder");
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    qputenv("XDG_CONFIG_HOME", blocker.toUtf8());

    QVERIFY(m_window->Form_Load());
    QCOMPARE(m_window->messages, QStringList());
    QTest::mouseClick(m_window->get<QPushButton>(control::Command3), Qt::LeftButton);

    QCOMPARE(m_window->messages.size(), 1);
    QVERIFY2(m_window->messages.front().startsWith(settingsPath() + kFailure),
             qPrintable(m_window->messages.front()));
}

QTEST_MAIN(SettingsTest)
#include "SettingsTest.moc"
