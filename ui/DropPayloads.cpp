#include "DropPayloads.h"

#include <QFile>
#include <QMimeData>
#include <QUrl>

namespace lintrel {

DropPayload dropPayloadFrom(const QMimeData& data) {
    QByteArrayList paths;
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile()) {
            return {};
        }
        // Decoded here rather than by toLocalFile(), which would replace bytes that are not
        // UTF-8 and so name another file.
        paths.append(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
    }
    return fileListPayload(paths);
}

DropPayload fileListPayload(const QByteArrayList& paths) {
    DropPayload payload;
    payload.hasFileList = !paths.isEmpty();
    for (const QByteArray& path : paths) {
        payload.paths.push_back(path.toStdString());
    }
    return payload;
}

QByteArrayList pathBytes(const QStringList& paths) {
    QByteArrayList bytes;
    for (const QString& path : paths) {
        bytes.append(QFile::encodeName(path));
    }
    return bytes;
}

}  // namespace lintrel
