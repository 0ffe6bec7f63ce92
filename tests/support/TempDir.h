#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace lintrel::testing {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // Writes a file of these bytes into the folder and returns its full path.
    std::string write(std::string_view name, std::string_view bytes) const;

private:
    std::filesystem::path m_path;
};

std::string readBytes(const std::filesystem::path& file);

// The folder of real drawings, or empty when it is absent (tests then skip).
std::filesystem::path corpusDir();

}  // namespace lintrel::testing
