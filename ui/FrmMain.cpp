#include "FrmMain.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QShortcut>
#include <QUrl>
#include <utility>

#include "AppInfo.h"
#include "Captions.h"
#include "CleanRun.h"
#include "ClickableLabel.h"
#include "Controls.h"
#include "DropPayloads.h"
#include "FileDropList.h"
#include "Fonts.h"
#include "FrmAbout.h"
#include "ListEvents.h"
#include "ManualPath.h"
#include "NumericKeyFilter.h"
#include "OptionRules.h"
#include "OptionWidgets.h"
#include "QtText.h"
#include "SettingsFile.h"
#include "Twips.h"

namespace lintrel {
namespace {

constexpr TwipsRect kClientArea = {0, 0, 4380, 11460};

QString settingsFailure(const SettingsError& error) {
    return QString::fromStdString(error.path) + QString::fromUtf8(caption::kSettingsFailure) +
           QLatin1Char('\n') + QString::fromStdString(error.reason);
}

}  // namespace

FrmMain::FrmMain() : m_ops(*this, m_list) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QString::fromUtf8(caption::kMainTitle));
    setWindowIcon(appIcon());
    setFont(fonts::standard());
    setCentralWidget(new QWidget(this));
    setFixedSize(toPixels(kClientArea).size());

    createButtonRow();
    createFileList();
    createLineCount();
    createLineOptions();
    createProgress();
    createTextOptions();
    createCounters();
    createLinetypeOptions();
    createSizeOptions();
    createTotals();
    m_ops.indexControls();

    // Every option starts at its default until a stored record says otherwise.
    showOptions(OptionSet{}, m_ops);
    connectButtons();
    connectFileList();
    connectOptionRules();
    connectPreview();
}

bool FrmMain::Form_Load() {
    LoadedSettings loaded = LoadSettings(SettingsFilePath());
    if (loaded.error) {
        m_ops.showMessage(settingsFailure(*loaded.error).toStdString());
        return false;
    }
    if (loaded.record) {
        OptionSet options = readOptions(m_ops);
        ApplySettings(*loaded.record, options);
        showOptions(options, m_ops);
    }
    return true;
}

void FrmMain::openFiles(const QByteArrayList& paths) {
    if (m_ops.isRunning()) {
        m_heldFiles.append(paths);
        return;
    }
    lintrel::List1_OLEDragDrop(m_list, m_ops, fileListPayload(paths));
}

void FrmMain::setMessageHook(WidgetWindowOps::MessageHook hook) {
    m_ops.setMessageHook(std::move(hook));
}

void FrmMain::setYieldInterval(std::chrono::milliseconds interval) {
    m_ops.setYieldInterval(interval);
}

void FrmMain::closeEvent(QCloseEvent* event) {
    if (m_ops.isRunning()) {
        // The run must not leave half a drawing behind: it is stopped first, and the window
        // closes when the run has cleaned up.
        m_isClosePending = true;
        m_ops.requestInterrupt();
        event->ignore();
        return;
    }
    if (m_about) {
        m_about->close();
    }
    event->accept();
}

void FrmMain::connectButtons() {
    auto clicks = [this](ControlName name, void (FrmMain::*slot)()) {
        connect(qobject_cast<QAbstractButton*>(m_ops.control(name)), &QAbstractButton::clicked,
                this, slot);
    };
    clicks(control::Start, &FrmMain::Start_Click);
    clicks(control::Command1, &FrmMain::Command1_Click);
    clicks(control::Command2, &FrmMain::Command2_Click);
    clicks(control::Command3, &FrmMain::Command3_Click);
    clicks(control::Command4, &FrmMain::Command4_Click);
    clicks(control::LISTClear, &FrmMain::LISTClear_Click);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &FrmMain::Command1_Click);
}

void FrmMain::connectFileList() {
    auto* list = qobject_cast<FileDropList*>(m_ops.control(control::List1));
    connect(list, &FileDropList::dropped, this, &FrmMain::List1_OLEDragDrop);
    auto* addFiles = new QAction(QString::fromUtf8(caption::kAddFiles), this);
    addFiles->setShortcut(QKeySequence::Open);
    connect(addFiles, &QAction::triggered, this, &FrmMain::AddFiles_Click);
    addAction(addFiles);
    list->addAction(addFiles);
    list->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void FrmMain::connectOptionRules() {
    for (const auto& toggle : kLabelToggles) {
        auto* label = findChild<ClickableLabel*>(toQString(toggle.label));
        connect(label, &ClickableLabel::clicked, this,
                [this, box = toggle.box] { Label_Click(box); });
    }
    for (const auto& pair : kExclusivePairs) {
        auto* box = qobject_cast<QAbstractButton*>(m_ops.control(pair.box));
        connect(box, &QAbstractButton::toggled, this,
                [this, partner = pair.partner](bool on) { ExclusiveBox_Click(partner, on); });
    }
    auto* keyFilter = new NumericKeyFilter(this);
    for (auto box : control::kTextBoxes) {
        m_ops.control(box)->installEventFilter(keyFilter);
    }
}

void FrmMain::Start_Click() {
    m_ops.beginRun();
    CleanRun(m_ops).run();
    m_ops.endRun();
    if (m_isClosePending) {
        close();
        return;
    }
    if (!m_heldFiles.isEmpty()) {
        openFiles(std::exchange(m_heldFiles, {}));
    }
}

void FrmMain::Command1_Click() {
    if (m_ops.isRunning()) {
        m_ops.requestInterrupt();
    }
}

void FrmMain::Command2_Click() {
    if (!m_about) {
        m_about = new FrmAbout(this);
    }
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

void FrmMain::Command3_Click() {
    if (auto failure = SaveSettings(SettingsFilePath(), readOptions(m_ops))) {
        m_ops.showMessage(settingsFailure(*failure).toStdString());
    }
    close();
}

void FrmMain::Command4_Click() {
    QDesktopServices::openUrl(
        QUrl::fromLocalFile(manualPath(QCoreApplication::applicationDirPath())));
}

void FrmMain::LISTClear_Click() {
    lintrel::LISTClear_Click(m_list, m_ops);
}

void FrmMain::List1_OLEDragDrop(const QMimeData* dropped) {
    lintrel::List1_OLEDragDrop(m_list, m_ops, dropPayloadFrom(*dropped));
}

void FrmMain::AddFiles_Click() {
    // Ctrl+O works wherever the focus is; the list takes no files while it is locked.
    if (!m_ops.control(control::List1)->isEnabled()) {
        return;
    }
    QStringList paths =
        QFileDialog::getOpenFileNames(this, QString::fromUtf8(caption::kAddFilesTitle), QString(),
                                      QString::fromUtf8(caption::kDxfFilter));
    if (!paths.isEmpty()) {
        openFiles(paths);
    }
}

void FrmMain::Label_Click(ControlName box) {
    // A locked box (during a run) ignores its caption.
    if (!m_ops.control(box)->isEnabled()) {
        return;
    }
    m_ops.setTicked(box, !m_ops.isTicked(box));
}

void FrmMain::ExclusiveBox_Click(ControlName partner, bool isTicked) {
    if (isTicked) {
        m_ops.setTicked(partner, false);
    }
}

}  // namespace lintrel
