#pragma once

#include <string>
#include <string_view>

namespace lintrel {

// Names and messages are bytes; JSON strings are Unicode. A byte that is not part of valid UTF-8
// is written as the escape \udcXX (XX its value, the lone surrogate of Python's surrogateescape),
// so that a script gets every byte back: json.loads, then os.fsencode.

// The bytes as a string that nlohmann::json takes, each such byte marked: a NUL, then the byte's
// two hex digits (a NUL byte is marked too, as NUL "00", so every NUL is a mark).
[[nodiscard]] std::string markInvalidUtf8(std::string_view bytes);

// A dumped JSON text whose marks, written by the dump as \u0000 and two hex digits, become
// \udcXX, or \u0000 again for a NUL byte.
[[nodiscard]] std::string escapeMarks(std::string_view json);

}  // namespace lintrel
