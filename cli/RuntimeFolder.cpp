#include "RuntimeFolder.h"

#include <cstdlib>
#include <string>
#include <system_error>

namespace lintrel {

RuntimeFolder::RuntimeFolder() {
    const char* named = std::getenv("XDG_RUNTIME_DIR");
    if (named != nullptr && *named != '\0') {
        return;
    }
    std::error_code error;
    const std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
    if (error) {
        return;
    }
    // mkdtemp makes the folder readable by its owner only, as Qt asks of a runtime folder.
    std::string pattern = (temporary / "lintrel-runtime-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        return;
    }
    m_path = pattern;
    setenv("XDG_RUNTIME_DIR", pattern.c_str(), 1);
}

void RuntimeFolder::remove() {
    if (!m_path.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
}

}  // namespace lintrel
