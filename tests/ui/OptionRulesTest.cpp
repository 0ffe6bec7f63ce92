// The clickable captions, the pair rules of the text-deletion boxes and their run on a loaded
// record, on the real window.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "Controls.h"
#include "SettingsFile.h"
#include "SettingsRecord.h"
#include "UiTestSupport.h"

using lintrel::testing::TestWindow;
namespace control = lintrel::control;

class OptionRulesTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void aFreshWindowShowsTheDefaults();
    void aCaptionTogglesTheBoxBesideIt_data();
    void aCaptionTogglesTheBoxBesideIt();
    void otherCaptionsDoNotReact_data();
    void otherCaptionsDoNotReact();
    void aCaptionLeavesADisabledBoxAlone();
    void tickingABoxClearsItsPartner_data();
    void tickingABoxClearsItsPartner();
    void clearingABoxNeverTicksItsPartner();
    void label35ClearsTextDeleteThenTicksItAndClearsCheck13();
    void label36TicksMTextDeleteAndClearsCheck12();
    void aChangeMadeByTheProgramRunsThePairRule();
    void aRecordWithBothOfAPairTickedLoadsWithTheBlankOnlyBox();
    void aRecordMayLeaveBothOptionButtonsClear();

private:
    void writeRecord(const lintrel::SettingsRecord& record);

    std::unique_ptr<QTemporaryDir> m_config;
    std::unique_ptr<TestWindow> m_window;
};

void OptionRulesTest::init() {
    m_config = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CONFIG_HOME", m_config->path().toUtf8());
    m_window = std::make_unique<TestWindow>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void OptionRulesTest::writeRecord(const lintrel::SettingsRecord& record) {
    auto path = QString::fromStdString(lintrel::SettingsFilePath().string());
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(record.bytes().data()),
               static_cast<qint64>(record.bytes().size()));
}

void OptionRulesTest::aFreshWindowShowsTheDefaults() {
    for (auto box : control::kCheckBoxes) {
        bool isBlankOnly = box == control::Check12 || box == control::Check13;
        QCOMPARE(m_window->get<QCheckBox>(box)->isChecked(), !isBlankOnly);
    }
    QVERIFY(m_window->get<QRadioButton>(control::Option1_0)->isChecked());
    QVERIFY(!m_window->get<QRadioButton>(control::Option1_1)->isChecked());
    for (auto box : control::kTextBoxes) {
        QCOMPARE(m_window->get<QLineEdit>(box)->text(), QString());
    }
}

void OptionRulesTest::aCaptionTogglesTheBoxBesideIt_data() {
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("box");
    QTest::newRow("同一画素のみ toggles Check10") << "Label34"
                                                  << "Check10";
    QTest::newRow("ダイナミック文字削除 toggles TEXT文字削除") << "Label35"
                                                               << "TEXT文字削除";
    QTest::newRow("マルチTEXT文字削除 toggles MTEXT文字削除") << "Label36"
                                                              << "MTEXT文字削除";
    QTest::newRow("寸法線削除 toggles Check6") << "Label37"
                                               << "Check6";
    QTest::newRow("ＬＩＮＥ 削除 toggles Check1") << "Label38"
                                                  << "Check1";
    QTest::newRow("円 削除 toggles Check2") << "Label39"
                                            << "Check2";
    QTest::newRow("円弧 削除 toggles Check3") << "Label40"
                                              << "Check3";
    QTest::newRow("点 削除 toggles Check4") << "Label41"
                                            << "Check4";
    QTest::newRow("長さ による削除 toggles Check5") << "Label42"
                                                    << "Check5";
    QTest::newRow("ダブり線の削除 toggles Check7") << "Label43"
                                                   << "Check7";
    QTest::newRow("構築線削除 toggles Check8") << "Label44"
                                               << "Check8";
    QTest::newRow("LINE結合 toggles Check9") << "Label48"
                                             << "Check9";
    QTest::newRow("同一線種のみ toggles Check11") << "Label56"
                                                  << "Check11";
}

void OptionRulesTest::aCaptionTogglesTheBoxBesideIt() {
    QFETCH(QString, label);
    QFETCH(QString, box);
    auto* check = m_window->get<QCheckBox>(box.toStdString());
    QVERIFY(check->isChecked());
    QTest::mouseClick(m_window->get<QLabel>(label.toStdString()), Qt::LeftButton);
    QVERIFY(!check->isChecked());
    QTest::mouseClick(m_window->get<QLabel>(label.toStdString()), Qt::LeftButton);
    QVERIFY(check->isChecked());
}

void OptionRulesTest::otherCaptionsDoNotReact_data() {
    QTest::addColumn<QString>("label");
    QTest::newRow("線間間隙 is only text") << "Label59";
    QTest::newRow("ダブり線数 is only text") << "Label23";
    QTest::newRow("the TEXT counter is only text") << "Label7";
    QTest::newRow("Bylayer・ByBlock・Continuous is only text") << "Label20";
}

void OptionRulesTest::otherCaptionsDoNotReact() {
    QFETCH(QString, label);
    auto before = m_window->tickStates();
    QTest::mouseClick(m_window->get<QLabel>(label.toStdString()), Qt::LeftButton);
    QCOMPARE(m_window->tickStates(), before);
}

void OptionRulesTest::aCaptionLeavesADisabledBoxAlone() {
    m_window->get<QCheckBox>(control::Check6)->setEnabled(false);
    QTest::mouseClick(m_window->get<QLabel>("Label37"), Qt::LeftButton);
    QVERIFY(m_window->get<QCheckBox>(control::Check6)->isChecked());
}

void OptionRulesTest::tickingABoxClearsItsPartner_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("partner");
    QTest::newRow("Check13 clears TEXT文字削除") << "Check13"
                                                 << "TEXT文字削除";
    QTest::newRow("TEXT文字削除 clears Check13") << "TEXT文字削除"
                                                 << "Check13";
    QTest::newRow("Check12 clears MTEXT文字削除") << "Check12"
                                                  << "MTEXT文字削除";
    QTest::newRow("MTEXT文字削除 clears Check12") << "MTEXT文字削除"
                                                  << "Check12";
}

void OptionRulesTest::tickingABoxClearsItsPartner() {
    QFETCH(QString, box);
    QFETCH(QString, partner);
    auto* clicked = m_window->get<QCheckBox>(box.toStdString());
    auto* other = m_window->get<QCheckBox>(partner.toStdString());
    clicked->setChecked(false);
    other->setChecked(true);
    QTest::mouseClick(clicked, Qt::LeftButton);
    QVERIFY(clicked->isChecked());
    QVERIFY(!other->isChecked());
}

void OptionRulesTest::clearingABoxNeverTicksItsPartner() {
    auto* blankOnly = m_window->get<QCheckBox>(control::Check13);
    auto* all = m_window->get<QCheckBox>(control::TextDelete);
    QTest::mouseClick(blankOnly, Qt::LeftButton);
    QTest::mouseClick(blankOnly, Qt::LeftButton);
    QVERIFY(!blankOnly->isChecked());
    QVERIFY(!all->isChecked());
}

void OptionRulesTest::label35ClearsTextDeleteThenTicksItAndClearsCheck13() {
    auto* all = m_window->get<QCheckBox>(control::TextDelete);
    auto* blankOnly = m_window->get<QCheckBox>(control::Check13);
    QTest::mouseClick(m_window->get<QLabel>("Label35"), Qt::LeftButton);
    QVERIFY(!all->isChecked());
    QVERIFY(!blankOnly->isChecked());
    blankOnly->setChecked(true);
    QTest::mouseClick(m_window->get<QLabel>("Label35"), Qt::LeftButton);
    QVERIFY(all->isChecked());
    QVERIFY(!blankOnly->isChecked());
}

void OptionRulesTest::label36TicksMTextDeleteAndClearsCheck12() {
    QTest::mouseClick(m_window->get<QCheckBox>(control::Check12), Qt::LeftButton);
    QVERIFY(!m_window->get<QCheckBox>(control::MTextDelete)->isChecked());
    QTest::mouseClick(m_window->get<QLabel>("Label36"), Qt::LeftButton);
    QVERIFY(m_window->get<QCheckBox>(control::MTextDelete)->isChecked());
    QVERIFY(!m_window->get<QCheckBox>(control::Check12)->isChecked());
}

void OptionRulesTest::aChangeMadeByTheProgramRunsThePairRule() {
    m_window->get<QCheckBox>(control::Check12)->setChecked(true);
    QVERIFY(!m_window->get<QCheckBox>(control::MTextDelete)->isChecked());
}

void OptionRulesTest::aRecordWithBothOfAPairTickedLoadsWithTheBlankOnlyBox() {
    lintrel::SettingsRecord record;
    record.setByteAt(31, 1);   // TEXT文字削除
    record.setByteAt(107, 1);  // Check13
    record.setByteAt(32, 1);   // MTEXT文字削除
    record.setByteAt(39, 0xFF);
    writeRecord(record);
    QVERIFY(m_window->Form_Load());
    QVERIFY(!m_window->get<QCheckBox>(control::TextDelete)->isChecked());
    QVERIFY(m_window->get<QCheckBox>(control::Check13)->isChecked());
    QVERIFY(m_window->get<QCheckBox>(control::MTextDelete)->isChecked());
    QVERIFY(!m_window->get<QCheckBox>(control::Check12)->isChecked());
    QVERIFY(!m_window->get<QCheckBox>(control::Check1)->isChecked());
    QCOMPARE(m_window->messages, QStringList());
}

void OptionRulesTest::aRecordMayLeaveBothOptionButtonsClear() {
    writeRecord(lintrel::SettingsRecord{});
    QVERIFY(m_window->Form_Load());
    QVERIFY(!m_window->get<QRadioButton>(control::Option1_0)->isChecked());
    QVERIFY(!m_window->get<QRadioButton>(control::Option1_1)->isChecked());
    QTest::mouseClick(m_window->get<QRadioButton>(control::Option1_1), Qt::LeftButton);
    QVERIFY(m_window->get<QRadioButton>(control::Option1_1)->isChecked());
    QTest::mouseClick(m_window->get<QRadioButton>(control::Option1_0), Qt::LeftButton);
    QVERIFY(!m_window->get<QRadioButton>(control::Option1_1)->isChecked());
}

QTEST_MAIN(OptionRulesTest)
#include "OptionRulesTest.moc"
