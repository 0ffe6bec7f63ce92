#include "ModelReadAhead.h"

#include "DrawingReader.h"

namespace lintrel::preview {

void ModelReadAhead::start(const std::string& path) {
    if (m_reader != nullptr) {
        return;
    }
    m_path = path;
    m_isAwaited = false;
    m_reader = std::make_unique<HelperThread>([this, path](const std::stop_token& stop) {
        m_read = readDrawing(path, stop, &m_isAwaited);
    });
}

std::variant<DrawingModel, std::string> ModelReadAhead::take(const std::string& path,
                                                             const std::stop_token& stop) {
    if (m_reader == nullptr || m_path != path) {
        m_reader.reset();
        return readDrawing(path, stop);
    }
    m_isAwaited = true;
    m_reader->wait([&stop] { throwIfStopped(stop); });
    m_reader.reset();
    return std::move(m_read);
}

}  // namespace lintrel::preview
