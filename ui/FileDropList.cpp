#include "FileDropList.h"

#include <QDropEvent>

namespace lintrel {

FileDropList::FileDropList(QWidget* parent) : QListWidget(parent) {
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
}

// The item view would refuse drops between or onto rows; this list takes them anywhere.
void FileDropList::dragEnterEvent(QDragEnterEvent* event) {
    event->acceptProposedAction();
}

void FileDropList::dragMoveEvent(QDragMoveEvent* event) {
    event->acceptProposedAction();
}

void FileDropList::dropEvent(QDropEvent* event) {
    event->acceptProposedAction();
    emit dropped(event->mimeData());
}

}  // namespace lintrel
