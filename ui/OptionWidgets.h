#pragma once

#include "OptionSet.h"

namespace lintrel {

class WidgetWindowOps;

// The option set as the window's 25 option controls show it.
[[nodiscard]] OptionSet readOptions(const WidgetWindowOps& window);

// Sets the option controls from an option set; each changed box runs its pair rule as a click
// would, which leaves a consistent set as it is.
void showOptions(const OptionSet& options, WidgetWindowOps& window);

}  // namespace lintrel
