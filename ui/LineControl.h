#pragma once

#include <QColor>
#include <QLine>
#include <QWidget>

namespace lintrel {

// One straight line drawn on the window between two points, in one colour and pen width; the
// etched rules and the little gap, offset and overlap pictures are made of these.
class LineControl : public QWidget {
public:
    // The line is given in the parent's pixels; the control covers just its bounding box.
    LineControl(QWidget* parent, QLine line, QColor colour, int width);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLine m_line;  // in the control's own pixels
    QColor m_colour;
    int m_width;
};

}  // namespace lintrel
