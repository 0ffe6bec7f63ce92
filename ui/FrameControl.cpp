#include "FrameControl.h"

#include <QPainter>
#include <utility>

namespace lintrel {
namespace {

const QColor kEtchedDark(0xA0, 0xA0, 0xA0);
const QColor kEtchedLight(0xFF, 0xFF, 0xFF);
constexpr int kCaptionLeft = 8;

}  // namespace

FrameControl::FrameControl(QString caption, QWidget* parent)
    : QWidget(parent), m_caption(std::move(caption)) {}

void FrameControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    // The top edge runs through the middle of the caption; without one it is the frame's top.
    const int edge = m_caption.isEmpty() ? 0 : metrics.height() / 2;
    const QRect outline(0, edge, width() - 2, height() - edge - 2);
    painter.setPen(kEtchedLight);
    painter.drawRect(outline.translated(1, 1));
    painter.setPen(kEtchedDark);
    painter.drawRect(outline);
    if (m_caption.isEmpty()) {
        return;
    }
    QRect captionBox(kCaptionLeft, 0, metrics.horizontalAdvance(m_caption), metrics.height());
    painter.fillRect(captionBox, palette().window());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(captionBox, Qt::AlignLeft | Qt::AlignVCenter, m_caption);
}

}  // namespace lintrel
