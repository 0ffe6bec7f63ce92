#include "OptionSet.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace lintrel {
namespace {

// Check boxes first, in control::kCheckBoxes order, then the option-button group.
constexpr std::size_t kOption1_0Index = control::kCheckBoxes.size();
constexpr std::size_t kOption1_1Index = kOption1_0Index + 1;

// Each "空白文字のみ削除" box excludes the delete-every box above it, and the two Option1
// elements exclude each other; in both cases ticking one clears the other and nothing more.
constexpr std::array<std::pair<std::string_view, std::string_view>, 3> kExclusivePairs = {{
    {control::Check12, control::MTextDelete},
    {control::Check13, control::TextDelete},
    {control::Option1_0, control::Option1_1},
}};

std::optional<std::size_t> tickedIndex(std::string_view name) {
    if (name == control::Option1_0) {
        return kOption1_0Index;
    }
    if (name == control::Option1_1) {
        return kOption1_1Index;
    }
    auto found = std::find(control::kCheckBoxes.begin(), control::kCheckBoxes.end(), name);
    if (found == control::kCheckBoxes.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - control::kCheckBoxes.begin());
}

std::optional<std::size_t> textIndex(std::string_view name) {
    auto found = std::find(control::kTextBoxes.begin(), control::kTextBoxes.end(), name);
    if (found == control::kTextBoxes.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - control::kTextBoxes.begin());
}

std::optional<std::string_view> partnerOf(std::string_view name) {
    for (const auto& [first, second] : kExclusivePairs) {
        if (name == first) {
            return second;
        }
        if (name == second) {
            return first;
        }
    }
    return std::nullopt;
}

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// Every option's name, for the refusal of an unknown one.
std::string knownNames() {
    std::string names;
    auto add = [&names](std::string_view name) {
        names += names.empty() ? "" : ", ";
        names += name;
    };
    std::for_each(control::kCheckBoxes.begin(), control::kCheckBoxes.end(), add);
    add(control::Option1_0);
    add(control::Option1_1);
    std::for_each(control::kTextBoxes.begin(), control::kTextBoxes.end(), add);
    return names;
}

}  // namespace

OptionSet::OptionSet() {
    for (auto box : control::kCheckBoxes) {
        m_ticked[*tickedIndex(box)] = box != control::Check12 && box != control::Check13;
    }
    m_ticked[kOption1_0Index] = true;
    m_ticked[kOption1_1Index] = false;
}

std::optional<bool> OptionSet::ticked(std::string_view name) const {
    auto index = tickedIndex(name);
    if (!index) {
        return std::nullopt;
    }
    return m_ticked[*index];
}

bool OptionSet::setTicked(std::string_view name, bool on) {
    auto index = tickedIndex(name);
    if (!index) {
        return false;
    }
    m_ticked[*index] = on;
    if (auto partner = partnerOf(name); on && partner) {
        m_ticked[*tickedIndex(*partner)] = false;
    }
    return true;
}

std::optional<std::string> OptionSet::text(std::string_view name) const {
    auto index = textIndex(name);
    if (!index) {
        return std::nullopt;
    }
    return m_texts[*index];
}

bool OptionSet::setText(std::string_view name, std::string_view text) {
    auto index = textIndex(name);
    if (!index) {
        return false;
    }
    m_texts[*index] = std::string(text);
    return true;
}

std::optional<std::string> assignOption(OptionSet& options, std::string_view assignment) {
    auto equals = assignment.find('=');
    if (equals == std::string_view::npos) {
        return "expected NAME=VALUE, got " + quoted(assignment);
    }
    auto name = assignment.substr(0, equals);
    auto value = assignment.substr(equals + 1);
    if (options.ticked(name)) {
        if (value != "0" && value != "1") {
            return "option " + quoted(name) + " takes 0 or 1, not " + quoted(value);
        }
        options.setTicked(name, value == "1");
        return std::nullopt;
    }
    if (options.setText(name, value)) {
        return std::nullopt;
    }
    return "unknown option " + quoted(name) + "; the options are " + knownNames();
}

}  // namespace lintrel
