#pragma once

#include <QByteArrayList>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <chrono>

#include "DropPayloads.h"
#include "InputList.h"
#include "WidgetWindowOps.h"

class QMimeData;

namespace lintrel {

class FrmAbout;
class PreviewWindow;

// frmMain, the program's working window: the file list, the options, the counters and the four
// buttons. It lays out its controls and wires their events to the clean-up run, the input list
// and the settings; it decides nothing itself.
class FrmMain : public QMainWindow {
    Q_OBJECT

public:
    FrmMain();

    // Start-up: the stored options, when the settings file holds a record, replace the defaults.
    // False when the settings file cannot be used; the failure has been reported then.
    [[nodiscard]] bool Form_Load();

    // Files from the command line, the file dialog or a second copy of the program, handled as
    // if they had been dropped on List1; while a run lasts they wait for its end.
    void openFiles(const QByteArrayList& paths);
    void openFiles(const QStringList& paths) { openFiles(pathBytes(paths)); }
    // Opens the preview of List1's row k (from 1) with the current options.
    PreviewWindow* openPreview(int k);

    // Message boxes go to the hook instead (for tests, which must not block on them).
    void setMessageHook(WidgetWindowOps::MessageHook hook);
    // How much work a run does between two turns of the event loop.
    void setYieldInterval(std::chrono::milliseconds interval);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createButtonRow();
    void createFileList();
    void createLineCount();
    void createLineOptions();
    void createProgress();
    void createTextOptions();
    void createCounters();
    void createLinetypeOptions();
    void createSizeOptions();
    void createTotals();
    void connectButtons();
    void connectFileList();
    void connectOptionRules();
    void connectPreview();
    void updatePreviews();

    void Start_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void LISTClear_Click();
    void List1_OLEDragDrop(const QMimeData* dropped);
    void AddFiles_Click();
    void Label_Click(ControlName box);
    void ExclusiveBox_Click(ControlName partner, bool isTicked);

    InputList m_list;
    WidgetWindowOps m_ops;
    QPointer<FrmAbout> m_about;
    QByteArrayList m_heldFiles;     // handed over during a run, opened at its end
    bool m_isClosePending = false;  // the close box was pressed during a run
    QList<QPointer<PreviewWindow>> m_previews;
    QTimer m_previewDelay;  // option changes in quick succession give one new dry run
};

}  // namespace lintrel
