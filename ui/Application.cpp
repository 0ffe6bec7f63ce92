#include "Application.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

#include "AppInfo.h"

namespace lintrel {

void setUpApplication() {
    AppVersion version = appVersion();
    QApplication::setApplicationName(QStringLiteral("lintrel"));
    QApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(version.major).arg(version.minor).arg(version.revision));
    QApplication::setWindowIcon(appIcon());
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(QApplication::style()->standardPalette());
}

}  // namespace lintrel
