#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace lintrel::testing {

// Lines joined with CR LF, the last one too.
std::string crlf(std::initializer_list<std::string_view> lines);

// A small AutoCAD 2000 drawing around the given entity lines: header, an ENTITIES section holding
// them, the section end and EOF.
std::string drawing(std::string_view entities);

// The lines of one entity record, each entry a code line and its value line.
std::string record(std::string_view type,
                   std::initializer_list<std::pair<std::string_view, std::string_view>> pairs);

// A LINE record from (x1, y1) to (x2, y2) on a layer, with a linetype when one is given.
std::string lineRecord(std::string_view x1, std::string_view y1, std::string_view x2,
                       std::string_view y2, std::string_view layer = "0",
                       std::string_view lineType = {});

// A drawing of `count` LINEs 10 long, one above the other: large enough, with a count in the
// hundred thousands, that reading it takes a while.
std::string linesDrawing(int count);

}  // namespace lintrel::testing
