#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace lintrel::preview {

// Turns the bytes of a drawing's texts into UTF-8: from its code page (Shift-JIS for ANSI_932,
// UTF-8 for drawings of AutoCAD 2007 and later), with the \U+ and \M+ escapes understood.
class TextDecoding {
public:
    // `codePage` as $DWGCODEPAGE names it; `isUtf8` for AutoCAD 2007 and later.
    TextDecoding(std::string_view codePage, bool isUtf8);

    // Not for two threads at once: they would share the converter.
    std::string decode(std::string_view bytes) const;

private:
    // From the drawing's charset to UTF-8, none for UTF-8. Opened once for the drawing, not once
    // per text: opening one costs more than most texts.
    std::shared_ptr<void> m_converter;
};

// The text an MTEXT shows: formatting codes removed, \P as a line break.
std::string plainMText(std::string_view text);

// The text a TEXT shows: the %% codes for diameter, degree and plus-minus as their signs.
std::string plainText(std::string_view text);

}  // namespace lintrel::preview
