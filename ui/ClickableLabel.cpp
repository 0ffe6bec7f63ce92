#include "ClickableLabel.h"

#include <QMouseEvent>

namespace lintrel {

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
    m_isPressed = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    // Like a button, a press that is dragged off the caption before release is no click.
    bool isClick = m_isPressed && event->button() == Qt::LeftButton &&
                   rect().contains(event->position().toPoint());
    m_isPressed = false;
    QLabel::mouseReleaseEvent(event);
    if (isClick) {
        emit clicked();
    }
}

}  // namespace lintrel
