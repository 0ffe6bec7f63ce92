#pragma once

#include <QByteArrayList>
#include <QStringList>

#include "ListEvents.h"

class QMimeData;

namespace lintrel {

// What a drag from a file manager delivers: its URLs as a file list when every one of them is a
// local file; anything else (text, web links, an empty drag) is not a file list. Each path keeps
// the bytes of its name, UTF-8 or not (a Shift-JIS name from an old file server).
[[nodiscard]] DropPayload dropPayloadFrom(const QMimeData& data);

// Files given by their paths' bytes (the command line, another copy), as a file list in order.
[[nodiscard]] DropPayload fileListPayload(const QByteArrayList& paths);

// Paths as Qt names them (a file dialog), as the bytes the file system knows them by.
[[nodiscard]] QByteArrayList pathBytes(const QStringList& paths);

}  // namespace lintrel
