// Dropping any list of names on List1 (one a line, in a folder of a few drawings): every name is
// listed or refused with a message, never twice, and List1 shows the list as it is.
#include <cstdlib>
#include <filesystem>
#include <set>

#include "FakeWindow.h"
#include "FuzzBytes.h"
#include "InputList.h"
#include "ListEvents.h"

namespace {

using namespace lintrel;

// A drawing of each kind the probe tells apart, and a folder whose name ends in dxf.
const std::string& droppingFolder() {
    static const std::string folder = [] {
        const std::string root = fuzz::scratchFolder() + "/drop";
        std::filesystem::create_directories(root + "/sub.dxf");
        auto head = [](std::string_view version) {
            return "  0\r\nSECTION\r\n  2\r\nHEADER\r\n  9\r\n$ACADVER\r\n  1\r\n" +
                   std::string(version) + "\r\n";
        };
        fuzz::writeFile(root + "/a.dxf", head("AC1015"));
        fuzz::writeFile(root + "/B.DXF", head("AC1018"));
        fuzz::writeFile(root + "/old.dxf", head("AC1009"));
        fuzz::writeFile(root + "/empty.dxf", "");
        return root;
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    DropPayload payload;
    fuzz::FuzzBytes bytes(data, size);
    payload.hasFileList = bytes.flag();
    std::string_view names = bytes.rest();
    while (!names.empty()) {
        auto end = names.find('\n');
        payload.paths.push_back(droppingFolder() + "/" + std::string(names.substr(0, end)));
        names.remove_prefix(end == std::string_view::npos ? names.size() : end + 1);
    }
    InputList list;
    testing::FakeWindow window;
    window.listRows.clear();
    List1_OLEDragDrop(list, window, payload);

    std::set<std::string> listed;
    for (int k = 1; k <= list.dwgCount(); ++k) {
        if (!listed.insert(list.dwgPath(k)).second) {
            std::abort();
        }
    }
    const std::size_t handled = payload.hasFileList ? payload.paths.size() : 0;
    if (listed.size() + window.messages.size() != handled ||
        window.listRows.size() != listed.size() ||
        window.caption("DATACount") != dataCountCaption(list.dwgCount())) {
        std::abort();
    }
    for (int k = 1; k <= list.dwgCount(); ++k) {
        if (window.listRows[static_cast<std::size_t>(k - 1)] != list.dwgDisplay(k)) {
            std::abort();
        }
    }
    return 0;
}
