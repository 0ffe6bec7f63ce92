#pragma once

#include <atomic>
#include <stop_token>
#include <string>
#include <string_view>
#include <variant>

#include "DrawingFile.h"
#include "DrawingModel.h"

namespace lintrel::preview {

// The model of a drawing held in memory. A damaged drawing gives what was read before the damage.
DrawingModel modelOf(std::string_view bytes);

// The model of a drawing file, or why it could not be read: the message names the file as a run's
// messages do. Asking `stop` ends the reading with RunInterrupted. A reading beside a run that
// uses every core is given `awaited`, set once a thread waits for the model: until then the
// reading takes one core only.
std::variant<DrawingModel, std::string> readDrawing(const std::string& path,
                                                    std::stop_token stop = {},
                                                    const std::atomic<bool>* awaited = nullptr);
// The same, of the file at `path` opened already. A file changed while it was read gives
// kChangedWhileRead after its name, not a model that may mix two versions of it; one that could
// not all be read gives kUnreadable.
std::variant<DrawingModel, std::string> readDrawing(DrawingFile& file, const std::string& path,
                                                    std::stop_token stop = {},
                                                    const std::atomic<bool>* awaited = nullptr);

inline constexpr std::string_view kChangedWhileRead =
    "は読み込み中に変更されました。保存が終わってから、もう一度試して下さい。　";

}  // namespace lintrel::preview
