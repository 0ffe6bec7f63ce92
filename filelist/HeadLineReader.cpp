#include "HeadLineReader.h"

namespace lintrel {

bool HeadLineReader::next(std::string& line) {
    // libstdc++'s file buffer throws when a read fails (a folder, a disk error); that is the end
    // of what can be read.
    try {
        return readLine(line);
    } catch (const std::ios_base::failure&) {
        line.clear();
        return false;
    }
}

bool HeadLineReader::readLine(std::string& line) {
    line.clear();
    auto* buffer = m_in.rdbuf();
    if (buffer == nullptr) {
        return false;
    }
    using Traits = std::istream::traits_type;
    bool isEmptyRead = true;
    for (auto c = buffer->sbumpc(); !Traits::eq_int_type(c, Traits::eof()); c = buffer->sbumpc()) {
        isEmptyRead = false;
        if (c == '\n') {
            return true;
        }
        if (c == '\r') {
            if (Traits::eq_int_type(buffer->sgetc(), '\n')) {
                buffer->sbumpc();
            }
            return true;
        }
        if (line.size() < kLongestKept) {
            line.push_back(Traits::to_char_type(c));
        }
    }
    return !isEmptyRead;
}

}  // namespace lintrel
