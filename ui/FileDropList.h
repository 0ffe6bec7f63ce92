#pragma once

#include <QListWidget>
#include <QMimeData>

namespace lintrel {

// List1: the list box of the files to clean. It takes every drop, whatever it carries, and hands
// the payload on; what is done with it is the file list's business.
class FileDropList : public QListWidget {
    Q_OBJECT

public:
    explicit FileDropList(QWidget* parent);

signals:
    void dropped(const QMimeData* data);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

}  // namespace lintrel
