// Ver opens one About box that never blocks the window; HELP hands the manual to the desktop.
#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "AppInfo.h"
#include "Controls.h"
#include "FrmAbout.h"
#include "ManualPath.h"
#include "UiTestSupport.h"

using lintrel::testing::TestWindow;
namespace control = lintrel::control;

class AboutHelpTest : public QObject {
    Q_OBJECT

public slots:
    void recordOpenedUrl(const QUrl& url) { m_openedUrls.append(url); }

private slots:
    void init();
    void cleanup();
    void verTwiceLeavesOneAboutBox();
    void theAboutBoxShowsTitleVersionAndIcon();
    void afterOkVerShowsAFreshBoxWithTheSameTexts();
    void theAboutBoxDoesNotBlockTheWindow();
    void theVersionIsPlainDecimalNumbers();
    void helpOpensTheManualOfTheSourceTreeWhenRunInPlace();
    void anInstalledProgramFindsTheInstalledManual();
    void aMovedInstallationFindsItsOwnManual();

private:
    QList<lintrel::FrmAbout*> aboutBoxes() const {
        return m_window->findChildren<lintrel::FrmAbout*>();
    }
    void clickVer() {
        QTest::mouseClick(m_window->get<QPushButton>(control::Command2), Qt::LeftButton);
    }

    std::unique_ptr<TestWindow> m_window;
    QList<QUrl> m_openedUrls;
};

void AboutHelpTest::init() {
    m_window = std::make_unique<TestWindow>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_openedUrls.clear();
    QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "recordOpenedUrl");
}

void AboutHelpTest::cleanup() {
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
}

void AboutHelpTest::verTwiceLeavesOneAboutBox() {
    clickVer();
    clickVer();
    QCOMPARE(aboutBoxes().size(), 1);
    QVERIFY(aboutBoxes().front()->isVisible());
}

void AboutHelpTest::theAboutBoxShowsTitleVersionAndIcon() {
    clickVer();
    auto* about = m_window->get<lintrel::FrmAbout>("frmAbout");
    QCOMPARE(about->windowTitle(), QStringLiteral("  Lintrelのﾊﾞｰｼﾞｮﾝ情報"));
    QCOMPARE(about->findChild<QLabel*>("lblTitle")->text(), QStringLiteral("  Lintrel"));
    QCOMPARE(about->findChild<QLabel*>("lblVersion")->text(),
             QStringLiteral("Ver " LINTREL_EXPECTED_VERSION));
    QCOMPARE(about->findChild<QPushButton*>("cmdOK")->text(), QStringLiteral("O  K"));
    QCOMPARE(about->findChild<QLabel*>("picIcon")->pixmap().size(), QSize(32, 32));
}

void AboutHelpTest::afterOkVerShowsAFreshBoxWithTheSameTexts() {
    clickVer();
    auto* first = m_window->get<lintrel::FrmAbout>("frmAbout");
    QTest::mouseClick(first->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    QVERIFY(!first->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(aboutBoxes().size(), 0);

    clickVer();

    QCOMPARE(aboutBoxes().size(), 1);
    auto* second = aboutBoxes().front();
    QVERIFY(second->isVisible());
    QCOMPARE(second->windowTitle(), QStringLiteral("  Lintrelのﾊﾞｰｼﾞｮﾝ情報"));
    QCOMPARE(second->findChild<QLabel*>("lblVersion")->text(),
             QStringLiteral("Ver " LINTREL_EXPECTED_VERSION));
}

void AboutHelpTest::theAboutBoxDoesNotBlockTheWindow() {
    clickVer();
    QVERIFY(!m_window->get<lintrel::FrmAbout>("frmAbout")->isModal());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

void AboutHelpTest::theVersionIsPlainDecimalNumbers() {
    QCOMPARE(lintrel::versionText({2, 10, 3}), QStringLiteral("Ver 2.10.3"));
    QCOMPARE(lintrel::versionText({1, 1, 0}), QStringLiteral("Ver 1.1.0"));
}

void AboutHelpTest::helpOpensTheManualOfTheSourceTreeWhenRunInPlace() {
    QTest::mouseClick(m_window->get<QPushButton>(control::Command4), Qt::LeftButton);
    QCOMPARE(m_openedUrls, QList<QUrl>{QUrl::fromLocalFile(LINTREL_SOURCE_MANUAL)});
    QCOMPARE(m_window->messages, QStringList());
}

void AboutHelpTest::anInstalledProgramFindsTheInstalledManual() {
    QCOMPARE(lintrel::manualPath(QStringLiteral(LINTREL_INSTALLED_PROGRAM_DIR)),
             QStringLiteral(LINTREL_INSTALLED_MANUAL));
}

void AboutHelpTest::aMovedInstallationFindsItsOwnManual() {
    QString moved = QStringLiteral("/opt/elsewhere");
    QString installed = QStringLiteral(LINTREL_INSTALLED_MANUAL);
    QString prefix = QStringLiteral(LINTREL_INSTALLED_PROGRAM_DIR).section('/', 0, -2);
    QCOMPARE(lintrel::manualPath(moved + "/bin"), moved + installed.mid(prefix.size()));
}

QTEST_MAIN(AboutHelpTest)
#include "AboutHelpTest.moc"
