#pragma once

#include <QString>
#include <string_view>

namespace lintrel {

// The engine speaks UTF-8 through string views; Qt wants QString.
inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace lintrel
