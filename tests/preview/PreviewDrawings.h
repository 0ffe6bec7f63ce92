#pragma once

#include <string>
#include <string_view>

namespace lintrel::testing {

// A small drawing with a header of these variables, a LAYER table of these records, a BLOCKS
// section of these blocks and an ENTITIES section of these entities (each already as CR LF
// lines).
std::string previewDrawing(std::string_view entities, std::string_view blocks = {},
                           std::string_view layers = {}, std::string_view header = {});

// A block definition named `name` with its base point at the origin holding these entities.
std::string block(std::string_view name, std::string_view entities);

// A sentence as a test name: every character but letters and digits made an underscore.
std::string identifier(std::string_view sentence);

}  // namespace lintrel::testing
