#pragma once

#include <string_view>

namespace lintrel {

// What the key filter of the eight option text boxes does with one typed character.
enum class KeyVerdict {
    Accept,   // the box takes the character
    Discard,  // the character is thrown away
    NextBox,  // Enter: the focus moves on along the Enter cycle
};

// Text1_KeyPress and its seven siblings: digits, backspace and one point get through, Enter moves
// on, everything else is discarded. A point is refused while the text holds one anywhere, even
// when that point is selected and the typing would replace it.
[[nodiscard]] KeyVerdict numericKeyVerdict(char32_t code, std::string_view text);

// The box after this one in the Enter cycle Text9, Text8, Text5, Text6, Text1, Text4, Text2,
// Text3, back to Text9.
[[nodiscard]] std::string_view nextInEnterCycle(std::string_view box);

}  // namespace lintrel
