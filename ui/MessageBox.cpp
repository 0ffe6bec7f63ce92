#include "MessageBox.h"

#include <QMessageBox>

#include "Captions.h"

namespace lintrel {

void showConfirmation(QWidget* parent, const QString& prompt) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(caption::kMessageTitle), prompt,
                    QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace lintrel
