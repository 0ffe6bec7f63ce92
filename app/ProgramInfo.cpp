#include "ProgramInfo.h"

namespace lintrel {
namespace {

constexpr std::string_view kVersionText = "lintrel " LINTREL_VERSION "\n";
constexpr std::string_view kHelpText =
    "Usage: lintrel [FILE...]\n"
    "Cleans AutoCAD 2000/2004 text DXF drawings in a window: writes NAME-Cut.dxf beside each\n"
    "input with the chosen entities removed, duplicate lines removed and broken horizontal and\n"
    "vertical lines joined.\n"
    "\n"
    "The FILEs are put on the window's list as if dropped on it. One window runs per user: a\n"
    "second lintrel hands its FILEs to the running window and ends. The options are kept in\n"
    "$XDG_CONFIG_HOME/lintrel/msdesksys.ini (~/.config/lintrel/msdesksys.ini) when END is\n"
    "pressed. lintrel-cli does the same work from a terminal or a script.\n"
    "\n"
    "Options:\n"
    "  -h, --help     print this help and exit\n"
    "  -v, --version  print the version and exit\n"
    "\n"
    "Qt's own options (-platform NAME, -display DISPLAY, -style STYLE...) are understood too.\n";

bool isOneOf(std::string_view argument, std::string_view shortName, std::string_view longName) {
    return argument == shortName || argument == longName;
}

}  // namespace

std::optional<int> answerProgramInfo(std::span<char* const> arguments, std::ostream& out) {
    for (std::string_view argument : arguments.subspan(arguments.empty() ? 0 : 1)) {
        if (isOneOf(argument, "-h", "--help")) {
            out << kHelpText;
            return 0;
        }
        if (isOneOf(argument, "-v", "--version")) {
            out << kVersionText;
            return 0;
        }
    }
    return std::nullopt;
}

}  // namespace lintrel
