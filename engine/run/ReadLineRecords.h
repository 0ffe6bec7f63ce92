#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "LineTable.h"
#include "RecordLayout.h"
#include "RunOptions.h"
#include "ThreadBudget.h"

namespace lintrel {

// Reads the LINE records of a drawing into a line table, and with a layout where its records with
// rules lie, as LineRecordReader takes them. A long drawing is read in parts by threads of their
// own while the calling thread waits: the first part starts right after the head, each later one
// at a record its thread finds near where it starts to look. What a later part's thread read
// counts only when the reader of the part before it, itself counting, meets a record starting at
// that very line; otherwise that reader reads on through it. Either way the table and the layout
// are the same.
//
// `poll` is called between items and while waiting, on the calling thread only, and may throw to
// stop the read. `laterFrom` are where the later parts' threads start to look for a record, in
// order, whatever the threads allow; by default the rest after the head is shared evenly among up
// to four parts (no more than `threads` allows), and not at all in a drawing too short to gain
// from it.
void readLineRecords(const std::string& path, const RunOptions& options, LineTable& table,
                     RecordLayout* layout, const std::function<void()>& poll,
                     const ThreadBudget& threads = {}, std::vector<std::uint64_t> laterFrom = {});

}  // namespace lintrel
