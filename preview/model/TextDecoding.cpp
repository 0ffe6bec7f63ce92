#include "TextDecoding.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <memory>

namespace lintrel::preview {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// The code pages of the \M+ escapes, by their digit 1..5.
constexpr std::array<std::string_view, 5> kEscapePages = {"CP932", "CP950", "CP949", "JOHAB",
                                                          "CP936"};

void appendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// A converter from a charset to UTF-8; none when iconv knows no such charset.
std::shared_ptr<void> converterFrom(const std::string& charset) {
    iconv_t converter = iconv_open("UTF-8", charset.c_str());
    if (reinterpret_cast<std::intptr_t>(converter) == -1) {  // iconv_open's (iconv_t) -1
        return nullptr;
    }
    return {converter, [](iconv_t opened) { iconv_close(opened); }};
}

// Bytes of the converter's charset as UTF-8; a byte that is no character of it becomes U+FFFD.
std::string convertWith(iconv_t converter, std::string_view bytes) {
    iconv(converter, nullptr, nullptr, nullptr, nullptr);  // from the initial shift state
    std::string out;
    std::array<char, 256> chunk{};
    char* in = const_cast<char*>(bytes.data());  // iconv's signature, never written through
    std::size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char* to = chunk.data();
        std::size_t toLeft = chunk.size();
        const std::size_t done = iconv(converter, &in, &inLeft, &to, &toLeft);
        out.append(chunk.data(), chunk.size() - toLeft);
        if (done == static_cast<std::size_t>(-1) && errno != E2BIG) {
            out += kReplacement;
            ++in;
            --inLeft;
        }
    }
    return out;
}

// The same with a converter of its own, for the odd escape in another code page.
std::string convert(std::string_view bytes, const std::string& charset) {
    const auto converter = converterFrom(charset);
    return converter ? convertWith(converter.get(), bytes) : std::string(bytes);
}

std::uint32_t hexValue(std::string_view digits, bool& isValid) {
    std::uint32_t value = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    isValid = error == std::errc{} && end == digits.data() + digits.size();
    return value;
}

// Replaces the \U+XXXX and \M+nXXXX escapes of a UTF-8 text with their characters.
std::string unescape(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        bool isValid = false;
        if (text.substr(i, 3) == "\\U+" && i + 7 <= text.size()) {
            const std::uint32_t code = hexValue(text.substr(i + 3, 4), isValid);
            if (isValid) {
                appendUtf8(out, code);
                i += 6;
                continue;
            }
        }
        if (text.substr(i, 3) == "\\M+" && i + 8 <= text.size() && text[i + 3] >= '1' &&
            text[i + 3] <= '5') {
            const std::uint32_t code = hexValue(text.substr(i + 4, 4), isValid);
            if (isValid) {
                const std::string pair{static_cast<char>(code >> 8),
                                       static_cast<char>(code & 0xFF)};
                out += convert(
                    pair, std::string(kEscapePages[static_cast<std::size_t>(text[i + 3] - '1')]));
                i += 7;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

}  // namespace

TextDecoding::TextDecoding(std::string_view codePage, bool isUtf8) {
    if (isUtf8) {
        return;
    }
    // iconv's name for the drawing's bytes.
    std::string charset = "CP1252";
    if (codePage.starts_with("ANSI_")) {
        charset = "CP" + std::string(codePage.substr(5));
    } else if (codePage.starts_with("DOS") || codePage.starts_with("dos")) {
        charset = "CP" + std::string(codePage.substr(3));
    }
    m_converter = converterFrom(charset);
}

std::string TextDecoding::decode(std::string_view bytes) const {
    // Decoded first: a Shift-JIS character's second byte may be a backslash.
    return unescape(m_converter ? convertWith(m_converter.get(), bytes) : std::string(bytes));
}

std::string plainMText(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '{' || c == '}') {
            continue;
        }
        if (c != '\\' || i + 1 >= text.size()) {
            out += c;
            continue;
        }
        const char code = text[++i];
        switch (code) {
            case 'P':
                out += '\n';
                break;
            case '~':
                out += ' ';
                break;
            case '\\':
            case '{':
            case '}':
                out += code;
                break;
            case 'L':
            case 'l':
            case 'O':
            case 'o':
            case 'K':
            case 'k':
            case 'N':
                break;
            case 'S': {
                // A stacked fraction a^b; (or a/b; a#b;) shows as a/b.
                const std::size_t end = text.find(';', i);
                std::string stacked(text.substr(
                    i + 1, end == std::string_view::npos ? std::string_view::npos : end - i - 1));
                for (char& s : stacked) {
                    s = (s == '^' || s == '#') ? '/' : s;
                }
                out += stacked;
                i = end == std::string_view::npos ? text.size() : end;
                break;
            }
            default: {
                // Codes with a value (\A1; \C3; \fArial|b0; \H2.5x; ...) run to their semicolon.
                const std::size_t end = text.find(';', i);
                i = end == std::string_view::npos ? text.size() : end;
                break;
            }
        }
    }
    return out;
}

std::string plainText(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i, 2) != "%%" || i + 2 >= text.size()) {
            out += text[i];
            continue;
        }
        switch (text[i + 2]) {
            case 'c':
            case 'C':
                out += "\xC3\x98";  // Ø
                break;
            case 'd':
            case 'D':
                out += "\xC2\xB0";  // °
                break;
            case 'p':
            case 'P':
                out += "\xC2\xB1";  // ±
                break;
            case '%':
                out += '%';
                break;
            default:  // underline and overline switches
                break;
        }
        i += 2;
    }
    return out;
}

}  // namespace lintrel::preview
