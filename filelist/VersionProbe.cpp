#include "VersionProbe.h"

#include <array>
#include <sstream>
#include <utility>

#include "FileHead.h"
#include "HeadLineReader.h"

namespace lintrel {
namespace {

// The seven lines that open a header whose first variable is $ACADVER, compared exactly.
constexpr std::array<std::string_view, 7> kHeaderOpening = {"  0", "SECTION",  "  2", "HEADER",
                                                            "  9", "$ACADVER", "  1"};

constexpr std::array<std::pair<std::string_view, std::string_view>, 7> kVersions = {{
    {"AC1021", kAutoCad2007},
    {"AC1018", {}},
    {"AC1015", {}},
    {"AC1014", kAutoCadR14},
    {"AC1012", kAutoCadR13},
    {"AC1009", kAutoCadR12},
    {"AC1006", kAutoCadR10},
}};

// The probe reads no more than this of a file: the header's opening lies in its first lines.
constexpr std::size_t kHeadSize = 64 * 1024;

// A comment group is the code line "999" and its value line.
constexpr std::string_view kCommentCode = "999";

ProbeVerdict verdictFor(std::string_view version) {
    for (const auto& [known, rejection] : kVersions) {
        if (version == known) {
            return {rejection};
        }
    }
    return {kUnknownFormat};
}

}  // namespace

ProbeVerdict checkAcadVer(std::istream& drawing) {
    HeadLineReader reader(drawing);
    std::string line;
    // Some writers (dxflib, LibreDWG, PTC Creo) put comment groups before the header; the
    // header test starts at the first line after them.
    bool hasLine = reader.next(line);
    while (hasLine && line == kCommentCode) {
        hasLine = reader.next(line) && reader.next(line);
    }
    for (auto expected : kHeaderOpening) {
        if (!hasLine || line != expected) {
            return {kUnknownFormat};
        }
        hasLine = reader.next(line);
    }
    return hasLine ? verdictFor(line) : ProbeVerdict{kUnknownFormat};
}

ProbeVerdict checkAcadVer(const std::string& path) {
    auto head = readFileHead(path, kHeadSize);
    if (!head) {
        return {kUnknownFormat};
    }
    std::istringstream drawing(std::move(*head));
    return checkAcadVer(drawing);
}

}  // namespace lintrel
