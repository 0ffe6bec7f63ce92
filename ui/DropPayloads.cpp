#include "DropPayloads.h"

#include <QMimeData>
#include <QUrl>

namespace lintrel {

DropPayload dropPayloadFrom(const QMimeData& data) {
    QStringList paths;
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile()) {
            return {};
        }
        paths.append(url.toLocalFile());
    }
    return fileListPayload(paths);
}

DropPayload fileListPayload(const QStringList& paths) {
    DropPayload payload;
    payload.hasFileList = !paths.isEmpty();
    for (const QString& path : paths) {
        payload.paths.push_back(path.toStdString());
    }
    return payload;
}

}  // namespace lintrel
