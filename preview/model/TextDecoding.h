#pragma once

#include <string>
#include <string_view>

namespace lintrel::preview {

// Turns the bytes of a drawing's texts into UTF-8: from its code page (Shift-JIS for ANSI_932,
// UTF-8 for drawings of AutoCAD 2007 and later), with the \U+ and \M+ escapes understood.
class TextDecoding {
public:
    // `codePage` as $DWGCODEPAGE names it; `isUtf8` for AutoCAD 2007 and later.
    TextDecoding(std::string_view codePage, bool isUtf8);

    std::string decode(std::string_view bytes) const;

private:
    std::string m_charset;  // iconv's name for the drawing's bytes; empty for UTF-8
};

// The text an MTEXT shows: formatting codes removed, \P as a line break.
std::string plainMText(std::string_view text);

// The text a TEXT shows: the %% codes for diameter, degree and plus-minus as their signs.
std::string plainText(std::string_view text);

}  // namespace lintrel::preview
