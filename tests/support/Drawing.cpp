#include "Drawing.h"

namespace lintrel::testing {

std::string crlf(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (auto line : lines) {
        text.append(line);
        text.append("\r\n");
    }
    return text;
}

std::string drawing(std::string_view entities) {
    return crlf({"  0", "SECTION", "  2", "HEADER", "  9", "$ACADVER", "  1", "AC1015", "  0",
                 "ENDSEC", "  0", "SECTION", "  2", "ENTITIES"}) +
           std::string(entities) + crlf({"  0", "ENDSEC", "  0", "EOF"});
}

std::string record(std::string_view type,
                   std::initializer_list<std::pair<std::string_view, std::string_view>> pairs) {
    std::string text = crlf({"  0", type});
    for (const auto& [code, value] : pairs) {
        text += crlf({code, value});
    }
    return text;
}

std::string lineRecord(std::string_view x1, std::string_view y1, std::string_view x2,
                       std::string_view y2, std::string_view layer, std::string_view lineType) {
    std::string text = crlf({"  0", "LINE", "  5", "1F", "100", "AcDbEntity", "  8", layer});
    if (!lineType.empty()) {
        text += crlf({"  6", lineType});
    }
    return text + crlf({"100", "AcDbLine", " 10", x1, " 20", y1, " 30", "0.0", " 11", x2, " 21", y2,
                        " 31", "0.0"});
}

std::string linesDrawing(int count) {
    std::string entities;
    for (int k = 0; k < count; ++k) {
        entities += lineRecord("0", std::to_string(k), "10", std::to_string(k));
    }
    return drawing(entities);
}

}  // namespace lintrel::testing
