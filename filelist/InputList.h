#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lintrel {

// InputList: the files to be cleaned (dwgPath, each exactly as dropped) with their List1 row
// texts (dwgDisplay), kept in the order of sort; entries are numbered from 1.
class InputList {
public:
    [[nodiscard]] int dwgCount() const { return static_cast<int>(m_dwgPath.size()); }
    [[nodiscard]] const std::string& dwgPath(int k) const { return m_dwgPath.at(index(k)); }
    [[nodiscard]] const std::string& dwgDisplay(int k) const { return m_dwgDisplay.at(index(k)); }

    // Whether the very same path string is listed (letter case counts).
    [[nodiscard]] bool contains(std::string_view path) const;
    // Appends a path with its row text and sorts the list again.
    void accept(std::string path);
    void clear();

private:
    static std::size_t index(int k) { return static_cast<std::size_t>(k - 1); }

    std::vector<std::string> m_dwgPath;
    std::vector<std::string> m_dwgDisplay;
};

}  // namespace lintrel
