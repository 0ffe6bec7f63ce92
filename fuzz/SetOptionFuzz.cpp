// The --set option on any text: it is refused with a reason, or it changes at most the control it
// names, and the same assignment made twice changes nothing more.
#include <cstdlib>

#include "OptionSet.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lintrel;
    const std::string_view assignment(reinterpret_cast<const char*>(data), size);
    OptionSet options;
    auto refusal = assignOption(options, assignment);
    if (refusal) {
        if (refusal->empty() || !(options == OptionSet())) {
            std::abort();
        }
        return 0;
    }
    OptionSet once = options;
    if (assignOption(options, assignment) || !(options == once)) {
        std::abort();
    }
    return 0;
}
