#include "AppInfo.h"

#include "Captions.h"

namespace lintrel {

AppVersion appVersion() {
    return {LINTREL_VERSION_MAJOR, LINTREL_VERSION_MINOR, LINTREL_VERSION_PATCH};
}

QString versionText(const AppVersion& version) {
    return QString::fromUtf8(caption::kVersionPrefix) +
           QStringLiteral("%1.%2.%3").arg(version.major).arg(version.minor).arg(version.revision);
}

QIcon appIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/lintrel/lintrel-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

}  // namespace lintrel
