#include "ListEvents.h"

#include <array>
#include <optional>

#include "Admission.h"
#include "Controls.h"

namespace lintrel {
namespace {

// A result label as LISTClear leaves it: a new caption, or none, and whether it is hidden.
struct LabelReset {
    ControlName label;
    std::optional<std::string_view> caption;
    bool isHidden;
};

// In the order the labels are reset.
constexpr std::array<LabelReset, 16> kLabelResets = {{
    {control::Label1, "0", false},
    {control::Label2, "0", false},
    {control::Label3, "0", false},
    {control::Label4, "0", false},
    {control::Label5, "0", false},
    {control::Label6, "0", false},
    {control::Label12, "0", false},
    {control::Label18, "0", false},
    {control::Label22, "0", false},
    {control::Label25, "0", false},
    {control::Label46, "0", false},
    {control::Label47, "0", true},
    {control::Label54, "0", false},
    {control::Label32, "", false},
    {control::Label52, "0.00", false},
    {control::Label55, std::nullopt, true},
}};

void rebuildList1(const InputList& list, WindowOps& window) {
    window.listClear();
    for (int k = 1; k <= list.dwgCount(); ++k) {
        window.listAppend(list.dwgDisplay(k));
    }
}

}  // namespace

std::string dataCountCaption(int count) {
    auto digits = std::to_string(count);
    return " " + std::string(digits.size() < 3 ? 3 - digits.size() : 0, '0') + digits;
}

void List1_OLEDragDrop(InputList& list, WindowOps& window, const DropPayload& payload) {
    // List1 is rebuilt only when it can be seen: before a message box and after the drop. Once
    // per file made adding many files quadratic in rows.
    bool isList1Behind = false;
    if (payload.hasFileList) {
        for (const auto& path : payload.paths) {
            const std::string_view refusal = admitPath(list, path);
            if (refusal.empty()) {
                isList1Behind = true;
                continue;
            }
            if (isList1Behind) {
                rebuildList1(list, window);
                isList1Behind = false;
            }
            window.showMessage(path + std::string(refusal));
        }
    }
    if (isList1Behind) {
        rebuildList1(list, window);
    }
    window.setCaption(control::DATACount, dataCountCaption(list.dwgCount()));
}

void LISTClear_Click(InputList& list, WindowOps& window) {
    list.clear();
    window.listClear();
    window.setCaption(control::DATACount, "");
    for (const auto& reset : kLabelResets) {
        if (reset.caption) {
            window.setCaption(reset.label, *reset.caption);
        }
        if (reset.isHidden) {
            window.setVisible(reset.label, false);
        }
    }
}

}  // namespace lintrel
