#include "JsonText.h"

#include <array>

namespace lintrel {
namespace {

constexpr std::array<char, 16> kHexDigits = {'0', '1', '2', '3', '4', '5', '6', '7',
                                             '8', '9', 'a', 'b', 'c', 'd', 'e', 'f'};
constexpr std::string_view kMarkEscape = "\\u0000";

bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence at the start of `bytes`, 0 when there is none.
std::size_t validSequence(std::string_view bytes) {
    const auto at = [&bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = at(0);
    std::size_t length = 0;
    unsigned char low = 0x80;   // the bounds of the second byte, which exclude overlong forms,
    unsigned char high = 0xBF;  // surrogates and code points beyond U+10FFFF
    if (lead < 0x80) {
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (bytes.size() < length || at(1) < low || at(1) > high) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if (!isContinuation(at(i))) {
            return 0;
        }
    }
    return length;
}

void appendMark(std::string& out, unsigned char byte) {
    out += '\0';
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0xF];
}

}  // namespace

std::string markInvalidUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    while (!bytes.empty()) {
        const std::size_t length = validSequence(bytes);
        if (length == 0 || bytes.front() == '\0') {
            appendMark(out, static_cast<unsigned char>(bytes.front()));
            bytes.remove_prefix(1);
        } else {
            out.append(bytes.substr(0, length));
            bytes.remove_prefix(length);
        }
    }
    return out;
}

std::string escapeMarks(std::string_view json) {
    std::string out;
    out.reserve(json.size());
    for (std::size_t at = 0; at < json.size();) {
        if (json[at] != '\\') {
            out += json[at++];
            continue;
        }
        if (json.substr(at, kMarkEscape.size()) == kMarkEscape &&
            at + kMarkEscape.size() + 2 <= json.size()) {
            const std::string_view hex = json.substr(at + kMarkEscape.size(), 2);
            out += hex == "00" ? "\\u0000" : "\\udc" + std::string(hex);
            at += kMarkEscape.size() + 2;
            continue;
        }
        // Any other escape is copied whole, so that an escaped backslash is never read as one.
        const std::size_t length = json.substr(at + 1, 1) == "u" ? 6 : 2;
        out.append(json.substr(at, length));
        at += length;
    }
    return out;
}

}  // namespace lintrel
