#pragma once

#include <atomic>
#include <cstddef>

namespace lintrel::preview {

// Another program may cut a file short while it is mapped here (some CAD programs save in place),
// or a page of it may fail to be read (a network drive gone): reading such a page raises SIGBUS,
// which would end this program. For a guarded mapping the signal's handler maps zeros over the
// rest of it instead and sets the flag, so the reading goes on to its end and the reader can tell.
// Other bus errors end the program as before.
//
// Guards [start, start + size) until unguarded; false when too many are guarded at once.
bool guardMapping(const char* start, std::size_t size, std::atomic<bool>& hasZeros);
void unguardMapping(const char* start);

}  // namespace lintrel::preview
