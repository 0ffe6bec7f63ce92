#pragma once

#include <QWidget>

namespace lintrel {

// A frame around a group of controls: an etched rectangle whose caption sits on its top edge,
// so the controls inside may start right under the caption.
class FrameControl : public QWidget {
public:
    FrameControl(QString caption, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_caption;
};

}  // namespace lintrel
