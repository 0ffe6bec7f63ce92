#pragma once

#include <stdexcept>
#include <string>

namespace lintrel {

// Why a file of a run could not be processed; carries the file and line for logs.
class DxfError : public std::runtime_error {
public:
    enum class Kind {
        Open,     // the input cannot be opened or read
        Damaged,  // the input ends early or holds a value that is not a number
        Write,    // the output cannot be created or written
    };

    DxfError(Kind kind, const std::string& path, long line, const std::string& reason,
             int systemError = 0)
        : std::runtime_error(describe(path, line, reason)),
          m_kind(kind),
          m_line(line),
          m_reason(reason),
          m_systemError(systemError) {}

    Kind kind() const { return m_kind; }
    long line() const { return m_line; }  // 0 when no line is named
    const std::string& reason() const { return m_reason; }
    int systemError() const { return m_systemError; }  // the errno behind it, 0 when none

private:
    static std::string describe(const std::string& path, long line, const std::string& reason) {
        return line > 0 ? path + ":" + std::to_string(line) + ": " + reason : path + ": " + reason;
    }

    Kind m_kind;
    long m_line;
    std::string m_reason;
    int m_systemError;
};

}  // namespace lintrel
