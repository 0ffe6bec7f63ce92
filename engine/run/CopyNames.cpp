#include "CopyNames.h"

#include <filesystem>
#include <map>
#include <system_error>

namespace lintrel {
namespace {

// What "the same file" means for a copy: the same name in the same folder. The folder is
// resolved through its links, but not the name itself: the copy is renamed into place, which
// replaces a link there and leaves what it points to alone.
std::string placeOf(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    const std::filesystem::path folder =
        std::filesystem::weakly_canonical(absolute.parent_path(), error);
    return (folder / absolute.filename()).lexically_normal().string();
}

}  // namespace

std::string outputPathFor(const std::string& input, const std::string& outputDir) {
    const std::size_t nameStart = input.find_last_of('/') + 1;  // 0 without a folder
    const std::string name = input.substr(nameStart);
    const std::string copyName =
        name.substr(0, name.size() >= 4 ? name.size() - 4 : 0) + "-Cut.dxf";
    if (outputDir.empty()) {
        return input.substr(0, nameStart) + copyName;
    }
    return outputDir.back() == '/' ? outputDir + copyName : outputDir + "/" + copyName;
}

std::optional<std::string> copyClash(const WindowOps& window, const std::string& outputDir) {
    std::map<std::string, int> inputs;  // by place, list index
    for (int k = 1; k <= window.listCount(); ++k) {
        inputs.emplace(placeOf(window.listPath(k)), k);
    }
    std::map<std::string, int> copies;
    for (int k = 1; k <= window.listCount(); ++k) {
        const std::string input = window.listPath(k);
        const std::string copy = outputPathFor(input, outputDir);
        const std::string place = placeOf(copy);
        if (auto listed = inputs.find(place); listed != inputs.end()) {
            return input + std::string(kCopyOf) + copy + std::string(kCopyIsListed);
        }
        if (auto [other, isNew] = copies.emplace(place, k); !isNew) {
            return window.listPath(other->second) + std::string(kAnd) + input +
                   std::string(kSameCopy);
        }
    }
    return std::nullopt;
}

}  // namespace lintrel
