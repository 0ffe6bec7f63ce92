#pragma once

#include <string_view>

#include "OutputFile.h"

namespace lintrel {

// Writes lines of a drawing, each followed by CR LF; without a file nothing is written (a dry
// run decides everything and writes nothing).
class DxfLineWriter {
public:
    explicit DxfLineWriter(OutputFile* file) : m_file(file) {}

    bool isWriting() const { return m_file != nullptr; }
    OutputFile* file() const { return m_file; }
    void writeLine(std::string_view text) {
        if (m_file != nullptr) {
            m_file->writeLine(text);
        }
    }
    // Bytes that already hold their line ends.
    void writeBytes(std::string_view bytes) {
        if (m_file != nullptr) {
            m_file->write(bytes);
        }
    }
    void writePair(std::string_view code, std::string_view value) {
        writeLine(code);
        writeLine(value);
    }

private:
    OutputFile* m_file;
};

}  // namespace lintrel
