#pragma once

#include <QString>

class QWidget;

namespace lintrel {

// The program's one kind of message: modal, titled "確認", with a single OK button.
void showConfirmation(QWidget* parent, const QString& prompt);

}  // namespace lintrel
