#pragma once

#include <QDialog>

namespace lintrel {

// frmAbout: which program and which version is running. Never modal; it is discarded when
// closed, so each opening fills it afresh.
class FrmAbout : public QDialog {
    Q_OBJECT

public:
    explicit FrmAbout(QWidget* parent);

private:
    void createControls();
    void Form_Load();
    void cmdOK_Click();
};

}  // namespace lintrel
