#include "NumericKeyFilter.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <optional>

#include "NumericKeys.h"
#include "QtText.h"

namespace lintrel {
namespace {

// The character code a key types, or nothing for keys that only move or edit (arrows, Home,
// Delete, Tab): those never reach a KeyPress handler and stay with the box.
std::optional<char32_t> typedCode(const QKeyEvent& key) {
    switch (key.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return U'\r';
        case Qt::Key_Backspace:
            return U'\b';
        case Qt::Key_Delete:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Escape:
            return std::nullopt;
        default:
            break;
    }
    auto codes = key.text().toUcs4();
    if (codes.isEmpty()) {
        return std::nullopt;
    }
    return codes.front();
}

void focusNextBox(QLineEdit& box) {
    auto next = nextInEnterCycle(box.objectName().toStdString());
    if (auto* target = box.window()->findChild<QLineEdit*>(toQString(next))) {
        target->setFocus(Qt::TabFocusReason);
    }
}

}  // namespace

bool NumericKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box == nullptr || event->type() != QEvent::KeyPress) {
        return false;
    }
    auto code = typedCode(*static_cast<QKeyEvent*>(event));
    if (!code) {
        return false;
    }
    switch (numericKeyVerdict(*code, box->text().toStdString())) {
        case KeyVerdict::Accept:
            return false;
        case KeyVerdict::Discard:
            return true;
        case KeyVerdict::NextBox:
            focusNextBox(*box);
            // Enter is not discarded; a single-line box inserts nothing for it.
            return false;
    }
    return false;
}

}  // namespace lintrel
