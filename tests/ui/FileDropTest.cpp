// Drops on List1 as a file manager makes them: files listed, refused with their messages and
// kept sorted; anything that is not a file list only refreshes the count.
#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "Controls.h"
#include "Drawing.h"
#include "UiTestSupport.h"

using lintrel::testing::drop;
using lintrel::testing::dropFiles;
using lintrel::testing::TestWindow;
using lintrel::testing::writeFile;
namespace control = lintrel::control;

namespace {

std::string headerOf(std::string_view version) {
    return lintrel::testing::crlf({"  0", "SECTION", "  2", "HEADER", "  9", "$ACADVER", "  1",
                                   version, "  0", "ENDSEC", "  0", "EOF"});
}

// Everything a drop could change but the list: each label's caption and visibility.
QStringList labelSnapshot(const TestWindow& window) {
    QStringList snapshot;
    for (auto* label : window.findChildren<QLabel*>()) {
        snapshot.append(label->objectName() + "=" + label->text() +
                        (label->isVisibleTo(const_cast<TestWindow*>(&window)) ? "" : " hidden"));
    }
    return snapshot;
}

}  // namespace

class FileDropTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void theListTakesDrops();
    void theListOffersToAddFilesByMenuAndCtrlO();
    void droppedFilesAreListedInLowerCasedPathOrder();
    void eachRefusedPathGetsItsOwnMessageInDropOrder();
    void aDropThatIsNotAFileListChangesOnlyDATACount_data();
    void aDropThatIsNotAFileListChangesOnlyDATACount();
    void filesOpenedByNameGoThroughTheSameTests();
    void clearEmptiesTheListAndItsCount();
    void aNameThatIsNotUtf8IsListedAndCleaned();

private:
    QStringList rows() const;
    QString dataCount() const { return m_window->get<QLabel>(control::DATACount)->text(); }

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<TestWindow> m_window;
};

void FileDropTest::init() {
    m_folder = std::make_unique<QTemporaryDir>();
    m_window = std::make_unique<TestWindow>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

// QTemporaryDir removes by Unicode names and leaves behind a file named in Shift-JIS.
void FileDropTest::cleanup() {
    m_window.reset();
    std::filesystem::remove_all(std::string(QFile::encodeName(m_folder->path())));
    m_folder.reset();
}

QStringList FileDropTest::rows() const {
    QStringList texts;
    auto* list = m_window->get<QListWidget>(control::List1);
    for (int row = 0; row < list->count(); ++row) {
        texts.append(list->item(row)->text());
    }
    return texts;
}

void FileDropTest::theListTakesDrops() {
    QVERIFY(m_window->get<QListWidget>(control::List1)->viewport()->acceptDrops());
}

void FileDropTest::theListOffersToAddFilesByMenuAndCtrlO() {
    auto* list = m_window->get<QListWidget>(control::List1);
    QCOMPARE(list->contextMenuPolicy(), Qt::ActionsContextMenu);
    QCOMPARE(list->actions().size(), 2);  // and the preview of the row under the pointer
    QCOMPARE(list->actions().front()->text(), QStringLiteral("ファイルを追加…"));
    QCOMPARE(list->actions().back()->text(), QStringLiteral("プレビュー…"));
    QCOMPARE(list->actions().front()->shortcut(), QKeySequence(QKeySequence::Open));
    QVERIFY(m_window->actions().contains(list->actions().front()));
}

void FileDropTest::droppedFilesAreListedInLowerCasedPathOrder() {
    QString z = writeFile(*m_folder, "z.dxf", headerOf("AC1015"));
    QString a = writeFile(*m_folder, "a.DXF", headerOf("AC1018"));
    QString m = writeFile(*m_folder, "M.dxf", headerOf("AC1015"));

    dropFiles(*m_window, {z, a, m});

    QCOMPARE(rows(), (QStringList{" a.DXF", " M.dxf", " z.dxf"}));
    QCOMPARE(dataCount(), QStringLiteral(" 003"));
    QCOMPARE(m_window->messages, QStringList());
}

void FileDropTest::eachRefusedPathGetsItsOwnMessageInDropOrder() {
    QString listed = writeFile(*m_folder, "plan.dxf", headerOf("AC1015"));
    QString mixedCase = writeFile(*m_folder, "c.Dxf", headerOf("AC1015"));
    QString newer = writeFile(*m_folder, "new.dxf", headerOf("AC1021"));
    QString unknown = writeFile(*m_folder, "odd.dxf", headerOf("ac1015"));
    dropFiles(*m_window, {listed});

    dropFiles(*m_window, {mixedCase, listed, newer, unknown});

    QCOMPARE(m_window->messages, (QStringList{mixedCase + " は、DXFファイルではありません。",
                                              listed + " は、すでに選択されています。",
                                              newer + " は、AutoCAD 2007/LT2007 DXFファイルです。",
                                              unknown + " は、形式不明な DXFファイルです。"}));
    QCOMPARE(rows(), QStringList{" plan.dxf"});
    QCOMPARE(dataCount(), QStringLiteral(" 001"));
}

void FileDropTest::aDropThatIsNotAFileListChangesOnlyDATACount_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("url");
    QTest::newRow("selected text") << "C:\\plans\\a.dxf"
                                   << "";
    QTest::newRow("a web link") << ""
                                << "https://example.org/a.dxf";
}

void FileDropTest::aDropThatIsNotAFileListChangesOnlyDATACount() {
    QFETCH(QString, text);
    QFETCH(QString, url);
    QMimeData data;
    if (!text.isEmpty()) {
        data.setText(text);
    }
    if (!url.isEmpty()) {
        data.setUrls({QUrl(url)});
    }
    QStringList before = labelSnapshot(*m_window);
    QStringList ticksBefore = m_window->tickStates();

    drop(*m_window, data);

    QStringList after = labelSnapshot(*m_window);
    QCOMPARE(dataCount(), QStringLiteral(" 000"));
    before.removeAll(QStringLiteral("DATACount="));
    after.removeAll(QStringLiteral("DATACount= 000"));
    QCOMPARE(after, before);
    QCOMPARE(m_window->tickStates(), ticksBefore);
    QCOMPARE(rows(), QStringList());
    QCOMPARE(m_window->messages, QStringList());
}

void FileDropTest::filesOpenedByNameGoThroughTheSameTests() {
    QString good = writeFile(*m_folder, "b.dxf", headerOf("AC1015"));
    QString text = writeFile(*m_folder, "notes.txt", "hello");

    m_window->openFiles({text, good});

    QCOMPARE(rows(), QStringList{" b.dxf"});
    QCOMPARE(m_window->messages, QStringList{text + " は、DXFファイルではありません。"});
}

void FileDropTest::clearEmptiesTheListAndItsCount() {
    dropFiles(*m_window, {writeFile(*m_folder, "a.dxf", headerOf("AC1015"))});
    QTest::mouseClick(m_window->get<QPushButton>(control::LISTClear), Qt::LeftButton);
    QCOMPARE(rows(), QStringList());
    QCOMPARE(dataCount(), QString());
}

void FileDropTest::aNameThatIsNotUtf8IsListedAndCleaned() {
    // "プラン.dxf" in Shift-JIS, as an old file server names it.
    const QByteArray name = "\x83\x76\x83\x89\x83\x93.dxf";
    const QByteArray folder = QFile::encodeName(m_folder->path());
    {
        std::ofstream(std::string(folder + "/" + name), std::ios::binary)
            << lintrel::testing::drawing("");
    }
    QMimeData data;
    data.setUrls({QUrl::fromEncoded("file://" + (folder + "/" + name).toPercentEncoding("/"))});
    drop(*m_window, data);
    QCOMPARE(m_window->messages, QStringList());
    QCOMPARE(rows().size(), 1);

    QTest::mouseClick(m_window->get<QPushButton>(control::Start), Qt::LeftButton);
    QTRY_COMPARE(m_window->messages, QStringList{QStringLiteral("完了しました。")});
    QVERIFY(std::filesystem::exists(std::string(folder + "/\x83\x76\x83\x89\x83\x93-Cut.dxf")));
}

QTEST_MAIN(FileDropTest)
#include "FileDropTest.moc"
