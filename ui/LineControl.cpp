#include "LineControl.h"

#include <QPainter>
#include <QPen>

namespace lintrel {

LineControl::LineControl(QWidget* parent, QLine line, QColor colour, int width)
    : QWidget(parent), m_colour(colour), m_width(width) {
    // A margin of the pen's width on every side keeps a wide pen whole.
    QRect box = QRect(line.p1(), line.p2()).normalized().adjusted(-width, -width, width, width);
    setGeometry(box);
    m_line = line.translated(-box.topLeft());
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(m_colour, m_width, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(m_line);
}

}  // namespace lintrel
