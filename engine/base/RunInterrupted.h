#pragma once

namespace lintrel {

// Thrown wherever a run learns that it must stop: on the window's thread when the user
// interrupted, on a helper thread when the thread that started it asked it to stop. Only the
// run (and the helper threads, on the way back to it) catches it.
struct RunInterrupted {};

}  // namespace lintrel
