#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "LineTable.h"
#include "RecordLayout.h"
#include "RunOptions.h"

namespace lintrel {

// Reads the LINE records of a drawing into a line table, and with a layout where its records with
// rules lie, as LineRecordReader takes them. A long drawing is read by two threads: the second
// starts at a record it finds about halfway, and what it read counts only when the first, reading
// up to there, meets a record starting at that very line; otherwise the first reads on alone.
// Either way the table and the layout are the same.
//
// `poll` is called between items and while waiting, on the calling thread only, and may throw to
// stop the read. `laterFrom` is where the second thread starts to look for a record; by default
// halfway along what follows the head, and nowhere in a drawing too short to gain from it.
void readLineRecords(const std::string& path, const RunOptions& options, LineTable& table,
                     RecordLayout* layout, const std::function<void()>& poll,
                     std::optional<std::uint64_t> laterFrom = std::nullopt);

}  // namespace lintrel
