#include "NumericKeys.h"

#include <algorithm>
#include <cassert>

#include "Controls.h"

namespace lintrel {
namespace {

constexpr char32_t kBackspace = 8;
constexpr char32_t kEnter = 13;
constexpr char32_t kPoint = U'.';

}  // namespace

KeyVerdict numericKeyVerdict(char32_t code, std::string_view text) {
    if (code == kEnter) {
        return KeyVerdict::NextBox;
    }
    if (code == kPoint) {
        return text.find('.') == std::string_view::npos ? KeyVerdict::Accept : KeyVerdict::Discard;
    }
    if (code == kBackspace || (code >= U'0' && code <= U'9')) {
        return KeyVerdict::Accept;
    }
    return KeyVerdict::Discard;
}

std::string_view nextInEnterCycle(std::string_view box) {
    const auto& cycle = control::kTextBoxes;
    auto it = std::find(cycle.begin(), cycle.end(), box);
    assert(it != cycle.end() && "only the eight option text boxes take part in the Enter cycle");
    ++it;
    return it == cycle.end() ? cycle.front() : *it;
}

}  // namespace lintrel
