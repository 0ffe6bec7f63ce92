#include "Admission.h"

#include "Reachability.h"
#include "VersionProbe.h"

namespace lintrel {
namespace {

// Only these two spellings are drawings; no dot is required before them.
bool hasDxfName(std::string_view path) {
    return path.ends_with("dxf") || path.ends_with("DXF");
}

}  // namespace

std::string_view admitPath(InputList& list, const std::string& path) {
    if (!hasDxfName(path)) {
        return kNotDxf;
    }
    if (list.contains(path)) {
        return kAlreadySelected;
    }
    if (auto refusal = reachabilityRefusal(path); !refusal.empty()) {
        return refusal;
    }
    if (auto verdict = checkAcadVer(path); !verdict.isAccepted()) {
        return verdict.rejection;
    }
    list.accept(path);
    return {};
}

std::vector<std::string> admitPaths(InputList& list, const std::vector<std::string>& paths) {
    std::vector<std::string> refusals;
    for (const auto& path : paths) {
        if (auto refusal = admitPath(list, path); !refusal.empty()) {
            refusals.push_back(path + std::string(refusal));
        }
    }
    return refusals;
}

}  // namespace lintrel
