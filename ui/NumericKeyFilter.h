#pragma once

#include <QObject>

namespace lintrel {

// Watches the eight option text boxes (Text1_KeyPress and its siblings): every typed character
// goes through numericKeyVerdict, and Enter moves the focus to the next box of the cycle.
class NumericKeyFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace lintrel
