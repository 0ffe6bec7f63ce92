#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "Controls.h"

namespace lintrel {

// OptionSet: the values of the 25 option controls, reached by control name; a fresh value holds
// the defaults of a fresh window.
class OptionSet {
public:
    OptionSet();

    // A check box's state or an option button's selection; nullopt for any other name.
    [[nodiscard]] std::optional<bool> ticked(std::string_view name) const;
    // Changes a check box or option button as a click would: ticking one box of a text-deletion
    // pair clears the other, selecting one Option1 element clears its sibling. Clearing never
    // ticks a partner. False when the name is not a check box or option button.
    bool setTicked(std::string_view name, bool on);

    // A text box's text; nullopt for any other name.
    [[nodiscard]] std::optional<std::string> text(std::string_view name) const;
    // Replaces a text box's text as pasting would: unfiltered. False for any other name.
    bool setText(std::string_view name, std::string_view text);

    bool operator==(const OptionSet&) const = default;

private:
    // In the order of control::kCheckBoxes, then Option1(0) and Option1(1).
    std::array<bool, control::kCheckBoxes.size() + 2> m_ticked{};
    // In the order of control::kTextBoxes.
    std::array<std::string, control::kTextBoxes.size()> m_texts;
};

// Sets one option from a command-line assignment "NAME=VALUE": check boxes and option buttons
// take 0 or 1, text boxes any text. Returns why the assignment was refused, or nothing.
[[nodiscard]] std::optional<std::string> assignOption(OptionSet& options,
                                                      std::string_view assignment);

}  // namespace lintrel
