#include "WidgetWindowOps.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>

#include "Controls.h"
#include "MessageBox.h"
#include "QtText.h"

namespace lintrel {
WidgetWindowOps::WidgetWindowOps(QWidget& window, const InputList& list)
    : m_window(window), m_list(list) {}

void WidgetWindowOps::indexControls() {
    for (auto* widget : m_window.findChildren<QWidget*>()) {
        if (!widget->objectName().isEmpty()) {
            m_controls[widget->objectName().toStdString()] = widget;
        }
    }
}

QWidget* WidgetWindowOps::control(ControlName name) const {
    auto it = m_controls.find(name);
    if (it == m_controls.end()) {
        qFatal("frmMain has no control named %.*s", static_cast<int>(name.size()), name.data());
    }
    return it->second;
}

template <class Widget>
Widget* WidgetWindowOps::controlAs(ControlName name) const {
    auto* widget = qobject_cast<Widget*>(control(name));
    if (widget == nullptr) {
        qFatal("frmMain's control %.*s is not of the kind asked for", static_cast<int>(name.size()),
               name.data());
    }
    return widget;
}

void WidgetWindowOps::beginRun() {
    m_isRunning = true;
    m_sinceEvents.invalidate();
}

void WidgetWindowOps::endRun() {
    flush();
    m_isRunning = false;
}

void WidgetWindowOps::flush() {
    for (auto& [label, caption] : m_pendingCaptions) {
        label->setText(toQString(caption));
    }
    m_pendingCaptions.clear();
    if (m_pendingProgress) {
        controlAs<QProgressBar>(control::ProgressBar1)->setValue(*m_pendingProgress);
        m_pendingProgress.reset();
    }
}

void WidgetWindowOps::setTicked(ControlName box, bool isTicked) {
    auto* button = controlAs<QAbstractButton>(box);
    // An option button of a group cannot be cleared on its own; only a loaded record clears
    // both, so the group lets go of it for that moment.
    bool isGrouped = button->autoExclusive();
    button->setAutoExclusive(isGrouped && isTicked);
    button->setChecked(isTicked);
    button->setAutoExclusive(isGrouped);
}

int WidgetWindowOps::listCount() const {
    return controlAs<QListWidget>(control::List1)->count();
}

std::string WidgetWindowOps::listPath(int k) const {
    return m_list.dwgPath(k);
}

std::string WidgetWindowOps::listDisplay(int k) const {
    return m_list.dwgDisplay(k);
}

void WidgetWindowOps::listClear() {
    controlAs<QListWidget>(control::List1)->clear();
}

void WidgetWindowOps::listAppend(std::string_view row) {
    controlAs<QListWidget>(control::List1)->addItem(toQString(row));
}

bool WidgetWindowOps::isTicked(ControlName box) const {
    return controlAs<QAbstractButton>(box)->isChecked();
}

std::string WidgetWindowOps::text(ControlName box) const {
    return controlAs<QLineEdit>(box)->text().toStdString();
}

void WidgetWindowOps::setText(ControlName box, std::string_view text) {
    controlAs<QLineEdit>(box)->setText(toQString(text));
}

void WidgetWindowOps::setCaption(ControlName label, std::string_view caption) {
    auto* target = controlAs<QLabel>(label);
    if (m_isRunning) {
        m_pendingCaptions[target].assign(caption);
    } else {
        target->setText(toQString(caption));
    }
}

void WidgetWindowOps::setWindowCaption(std::string_view caption) {
    m_window.setWindowTitle(toQString(caption));
}

void WidgetWindowOps::setVisible(ControlName control, bool visible) {
    this->control(control)->setVisible(visible);
}

void WidgetWindowOps::setEnabled(ControlName control, bool enabled) {
    this->control(control)->setEnabled(enabled);
}

void WidgetWindowOps::setProgress(int percent) {
    if (m_isRunning) {
        m_pendingProgress = percent;
    } else {
        controlAs<QProgressBar>(control::ProgressBar1)->setValue(percent);
    }
}

void WidgetWindowOps::yield() {
    // A run yields once per line; the clock is read only every so many yields.
    constexpr unsigned kYieldsPerClockReading = 64;
    if (m_sinceEvents.isValid() && (++m_yieldsUnclocked % kYieldsPerClockReading != 0 ||
                                    m_sinceEvents.elapsed() < m_yieldInterval.count())) {
        return;
    }
    flush();
    QCoreApplication::processEvents();
    m_sinceEvents.start();
}

void WidgetWindowOps::showMessage(std::string_view prompt) {
    flush();
    if (m_messageHook) {
        m_messageHook(toQString(prompt));
    } else {
        showConfirmation(&m_window, toQString(prompt));
    }
}

}  // namespace lintrel
