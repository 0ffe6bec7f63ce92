#pragma once

#include <QLabel>

namespace lintrel {

// A caption label that reports a click (a left press and release on it), so that clicking the
// caption beside a check box can toggle the box.
class ClickableLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_isPressed = false;
};

}  // namespace lintrel
