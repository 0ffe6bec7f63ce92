#pragma once

#include <QString>

namespace lintrel {

// Where HELP finds the manual "マニュアル.htm" for a program started from this folder: in the
// source tree's docs/ when the program runs in place from the build tree, else in
// share/doc/lintrel/ beside the folder the program was installed to.
[[nodiscard]] QString manualPath(const QString& programFolder);

}  // namespace lintrel
