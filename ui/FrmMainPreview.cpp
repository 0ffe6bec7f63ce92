// frmMain's part in the preview: opening it from List1 and keeping it on the current options.
#include <QAbstractButton>
#include <QAction>
#include <QLineEdit>
#include <QListWidget>

#include "Controls.h"
#include "FrmMain.h"
#include "PreviewCaptions.h"
#include "PreviewWindow.h"
#include "QtText.h"

namespace lintrel {
namespace {

constexpr int kPreviewDelayMs = 300;

}  // namespace

void FrmMain::connectPreview() {
    auto* list = qobject_cast<QListWidget*>(m_ops.control(control::List1));
    auto* open = new QAction(QString::fromUtf8(caption::kPreviewAction), this);
    open->setObjectName("PreviewAction");
    connect(open, &QAction::triggered, this, [this, list] {
        if (list->currentRow() >= 0) {
            openPreview(list->currentRow() + 1);
        }
    });
    list->addAction(open);
    connect(list, &QListWidget::itemDoubleClicked, this,
            [this, list](QListWidgetItem* item) { openPreview(list->row(item) + 1); });

    m_previewDelay.setSingleShot(true);
    m_previewDelay.setInterval(kPreviewDelayMs);
    connect(&m_previewDelay, &QTimer::timeout, this, &FrmMain::updatePreviews);
    auto later = [this] { m_previewDelay.start(); };
    for (ControlName name : control::kCheckBoxes) {
        connect(qobject_cast<QAbstractButton*>(m_ops.control(name)), &QAbstractButton::toggled,
                this, later);
    }
    for (ControlName name : {control::Option1_0, control::Option1_1}) {
        connect(qobject_cast<QAbstractButton*>(m_ops.control(name)), &QAbstractButton::toggled,
                this, later);
    }
    for (ControlName name : control::kTextBoxes) {
        connect(qobject_cast<QLineEdit*>(m_ops.control(name)), &QLineEdit::textChanged, this,
                later);
    }
}

PreviewWindow* FrmMain::openPreview(int k) {
    if (k < 1 || k > m_list.dwgCount()) {
        return nullptr;
    }
    auto* window = new PreviewWindow(QString::fromStdString(m_list.dwgPath(k)),
                                     preview::OptionSnapshot::of(m_ops), this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    m_previews.append(window);
    window->show();
    return window;
}

void FrmMain::updatePreviews() {
    m_previews.removeAll(nullptr);
    for (const auto& window : m_previews) {
        window->rerun(preview::OptionSnapshot::of(m_ops));
    }
}

}  // namespace lintrel
