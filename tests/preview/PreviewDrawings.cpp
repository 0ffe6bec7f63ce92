#include "PreviewDrawings.h"

#include "Drawing.h"

#include <cctype>

namespace lintrel::testing {

std::string previewDrawing(std::string_view entities, std::string_view blocks,
                           std::string_view layers, std::string_view header) {
    return crlf({"  0", "SECTION", "  2", "HEADER", "  9", "$ACADVER", "  1", "AC1015"}) +
           std::string(header) +
           crlf({"  0", "ENDSEC", "  0", "SECTION", "  2", "TABLES", "  0", "TABLE", "  2",
                 "LAYER"}) +
           std::string(layers) +
           crlf({"  0", "ENDTAB", "  0", "ENDSEC", "  0", "SECTION", "  2", "BLOCKS"}) +
           std::string(blocks) + crlf({"  0", "ENDSEC", "  0", "SECTION", "  2", "ENTITIES"}) +
           std::string(entities) + crlf({"  0", "ENDSEC", "  0", "EOF"});
}

std::string block(std::string_view name, std::string_view entities) {
    return record("BLOCK",
                  {{"  8", "0"}, {"  2", name}, {" 70", "0"}, {" 10", "0"}, {" 20", "0"}}) +
           std::string(entities) + record("ENDBLK", {{"  8", "0"}});
}

std::string identifier(std::string_view sentence) {
    std::string name(sentence);
    for (char& c : name) {
        c = std::isalnum(static_cast<unsigned char>(c)) != 0 ? c : '_';
    }
    return name;
}

}  // namespace lintrel::testing
