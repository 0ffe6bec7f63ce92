#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lintrel {

// InputList: the files to be cleaned (dwgPath, each exactly as dropped) with their List1 row
// texts (dwgDisplay), kept in the order of sort; entries are numbered from 1.
//
// The order is the one the list always had: after each file it was sorted again by ASCII-lower-
// cased path with an exchange sort, whose exchanges decide between paths equal but for case.
// Each file is now put in place at once, moving entries exactly as those exchanges would.
class InputList {
public:
    [[nodiscard]] int dwgCount() const { return static_cast<int>(m_order.size()); }
    [[nodiscard]] const std::string& dwgPath(int k) const { return m_dwgPath[at(k)]; }
    [[nodiscard]] const std::string& dwgDisplay(int k) const { return m_dwgDisplay[at(k)]; }

    // Whether the very same path string is listed (letter case counts).
    [[nodiscard]] bool contains(std::string_view path) const;
    // Lists a path with its row text in its place.
    void accept(std::string path);
    void clear();

private:
    std::size_t at(int k) const { return m_order.at(static_cast<std::size_t>(k - 1)); }
    std::size_t firstAfter(std::string_view key) const;  // the position of the first greater key
    void passRunsOn(std::size_t from);

    // In the order accepted; m_order gives the list's order.
    std::vector<std::string> m_dwgPath;
    std::vector<std::string> m_dwgDisplay;
    std::vector<std::string> m_keys;
    std::vector<std::uint32_t> m_order;
    std::vector<char> m_isSameKeyAsBefore;  // by position: the entry before has the same key
};

}  // namespace lintrel
