#include "OptionWidgets.h"

#include <array>

#include "Controls.h"
#include "WidgetWindowOps.h"

namespace lintrel {
namespace {

constexpr std::array<ControlName, 2> kOptionButtons = {control::Option1_0, control::Option1_1};

}  // namespace

OptionSet readOptions(const WidgetWindowOps& window) {
    OptionSet options;
    for (auto box : control::kCheckBoxes) {
        options.setTicked(box, window.isTicked(box));
    }
    for (auto button : kOptionButtons) {
        options.setTicked(button, window.isTicked(button));
    }
    for (auto box : control::kTextBoxes) {
        options.setText(box, window.text(box));
    }
    return options;
}

void showOptions(const OptionSet& options, WidgetWindowOps& window) {
    for (auto box : control::kCheckBoxes) {
        window.setTicked(box, options.ticked(box).value_or(false));
    }
    for (auto button : kOptionButtons) {
        window.setTicked(button, options.ticked(button).value_or(false));
    }
    for (auto box : control::kTextBoxes) {
        window.setText(box, options.text(box).value_or(""));
    }
}

}  // namespace lintrel
