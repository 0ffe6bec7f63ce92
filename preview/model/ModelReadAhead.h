#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <variant>

#include "DrawingModel.h"
#include "HelperThread.h"

namespace lintrel::preview {

// The model of one drawing read on a helper thread while this one does other work: the run that
// decides the drawing, or the picture of the drawing before it. The reading takes one core until
// the model is taken.
class ModelReadAhead {
public:
    // Starts reading `path`, unless a read is going on or waiting already.
    void start(const std::string& path);
    // The model of `path`, or why it could not be read: the read started ahead when it was of
    // this path, else read now. A read ahead of another path is stopped and dropped. Asking
    // `stop` ends the wait (or the reading now) with RunInterrupted; a read ahead goes on.
    std::variant<DrawingModel, std::string> take(const std::string& path,
                                                 const std::stop_token& stop = {});

private:
    std::string m_path;
    std::variant<DrawingModel, std::string> m_read;
    std::atomic<bool> m_isAwaited = false;   // set once `take` waits for the read ahead
    std::unique_ptr<HelperThread> m_reader;  // last, so that it is joined before m_read goes
};

}  // namespace lintrel::preview
