#pragma once

namespace lintrel {

// What every Lintrel program with a window sets once its QApplication exists: its name and
// version, its icon, and the Fusion style with its light palette, because the window's controls
// sit at fixed pixel positions that a desktop theme with other margins would crowd.
void setUpApplication();

}  // namespace lintrel
