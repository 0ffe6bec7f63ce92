#include "ManualPath.h"

#include <QDir>

namespace lintrel {
namespace {

const QString kManualName = QStringLiteral("マニュアル.htm");

bool isInside(const QString& folder, const QString& root) {
    QString cleanFolder = QDir::cleanPath(folder);
    QString cleanRoot = QDir::cleanPath(root);
    return cleanFolder == cleanRoot || cleanFolder.startsWith(cleanRoot + QLatin1Char('/'));
}

}  // namespace

QString manualPath(const QString& programFolder) {
    QString folder =
        isInside(programFolder, QStringLiteral(LINTREL_BUILD_DIR))
            ? QStringLiteral(LINTREL_SOURCE_DOC_DIR)
            : QDir(programFolder).filePath(QStringLiteral(LINTREL_MANUAL_FROM_PROGRAM));
    return QDir::cleanPath(QDir(folder).filePath(kManualName));
}

}  // namespace lintrel
