#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "InputList.h"
#include "WindowOps.h"

namespace lintrel {

// What was dropped on List1: a file list (the shell's, paths in delivery order) or anything else.
struct DropPayload {
    bool hasFileList = false;
    std::vector<std::string> paths;
};

// List1_OLEDragDrop: each dropped path in order is listed or refused with its own message, List1
// shows the sorted list whenever a message is shown and after the drop, and DATACount shows the
// count.
void List1_OLEDragDrop(InputList& list, WindowOps& window, const DropPayload& payload);

// LISTClear_Click: empties the list and resets the result labels of the window.
void LISTClear_Click(InputList& list, WindowOps& window);

// The DATACount caption for a number of files: a blank and at least three digits.
[[nodiscard]] std::string dataCountCaption(int count);

}  // namespace lintrel
