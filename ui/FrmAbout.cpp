#include "FrmAbout.h"

#include <QLabel>
#include <QPushButton>

#include "AppInfo.h"
#include "Captions.h"
#include "ControlBuilder.h"
#include "Fonts.h"

namespace lintrel {
namespace {

constexpr TwipsRect kClientArea = {0, 0, 5775, 2580};
constexpr int kIconPixels = 32;
const QColor kRuleGrey(128, 128, 128);
const QColor kRuleWhite(255, 255, 255);

}  // namespace

FrmAbout::FrmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(fonts::standard());
    setFixedSize(toPixels(kClientArea).size());
    createControls();
    Form_Load();
}

void FrmAbout::createControls() {
    ControlBuilder builder(this);
    QLabel* icon = builder.label("picIcon", "", {240, 240, 540, 540});
    icon->setAlignment(Qt::AlignCenter);
    // The fallback faces run taller than the Windows one; the title and version rectangles
    // grow upwards so that the text stays above its rule.
    builder.label("lblTitle", "", {960, 135, 2925, 345})
        ->setFont(fonts::gothic(12, fonts::Style::BoldItalic));
    builder.label("lblVersion", "", {1530, 525, 2685, 315})
        ->setFont(fonts::gothic(11.25, fonts::Style::BoldItalic));
    builder.line("Line1(0)", {960, 490, 3205, 490}, kRuleGrey);
    builder.line("Line1(1)", {960, 482, 3195, 482}, kRuleWhite, 2);
    builder.line("Line1(2)", {1440, 858, 2652, 858}, kRuleGrey);
    builder.line("Line1(3)", {1440, 840, 2640, 840}, kRuleWhite, 2);
    QPushButton* ok = builder.button("cmdOK", caption::kCmdOK, {4320, 72, 1380, 345});
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &FrmAbout::cmdOK_Click);
}

void FrmAbout::Form_Load() {
    QString title = QString::fromUtf8(caption::kApplicationTitle);
    setWindowTitle(title + QString::fromUtf8(caption::kAboutSuffix));
    setWindowIcon(appIcon());
    findChild<QLabel*>(QStringLiteral("picIcon"))
        ->setPixmap(appIcon().pixmap(kIconPixels, kIconPixels));
    findChild<QLabel*>(QStringLiteral("lblVersion"))->setText(versionText(appVersion()));
    findChild<QLabel*>(QStringLiteral("lblTitle"))->setText(title);
}

void FrmAbout::cmdOK_Click() {
    close();
}

}  // namespace lintrel
