#pragma once

#include <QStringList>

#include "ListEvents.h"

class QMimeData;

namespace lintrel {

// What a drag from a file manager delivers: its URLs as a file list when every one of them is a
// local file; anything else (text, web links, an empty drag) is not a file list.
[[nodiscard]] DropPayload dropPayloadFrom(const QMimeData& data);

// Files chosen in a dialog or given on the command line, as a file list in their order.
[[nodiscard]] DropPayload fileListPayload(const QStringList& paths);

}  // namespace lintrel
