// The version probe on any head: it gives one of its verdicts, the same for the bytes read from
// a stream and from a file.
#include <cstdlib>
#include <sstream>

#include "FuzzBytes.h"
#include "VersionProbe.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lintrel;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::istringstream stream(bytes);
    const ProbeVerdict fromStream = checkAcadVer(stream);
    const std::string path = fuzz::scratchFolder() + "/probe.dxf";
    fuzz::writeFile(path, bytes);
    if (checkAcadVer(path) != fromStream) {
        std::abort();
    }
    return 0;
}
