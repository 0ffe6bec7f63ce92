#pragma once

#include <stop_token>
#include <string>
#include <string_view>
#include <variant>

#include "DrawingModel.h"

namespace lintrel::preview {

// The model of a drawing held in memory. A damaged drawing gives what was read before the damage.
DrawingModel modelOf(std::string_view bytes);

// The model of a drawing file, or why it could not be read. Asking `stop` ends the reading with
// RunInterrupted.
std::variant<DrawingModel, std::string> readDrawing(const std::string& path,
                                                    std::stop_token stop = {});

}  // namespace lintrel::preview
