#include "InputList.h"

#include <algorithm>
#include <cstring>

#include "DisplayText.h"

namespace lintrel {
namespace {

// Byte-wise, so paths in any encoding order the same on every system; std::string then compares
// as unsigned bytes, a prefix before any longer key.
std::string lowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

}  // namespace

std::size_t InputList::firstAfter(std::string_view key) const {
    auto found = std::upper_bound(
        m_order.begin(), m_order.end(), key,
        [this](std::string_view wanted, std::uint32_t entry) { return wanted < m_keys[entry]; });
    return static_cast<std::size_t>(found - m_order.begin());
}

bool InputList::contains(std::string_view path) const {
    const std::string key = lowerAscii(std::string(path));
    for (std::size_t k = firstAfter(key); k > 0 && m_keys[m_order[k - 1]] == key; --k) {
        if (m_dwgPath[m_order[k - 1]] == path) {
            return true;
        }
    }
    return false;
}

void InputList::accept(std::string path) {
    std::string key = lowerAscii(path);
    const std::size_t place = firstAfter(key);
    const bool isSameKeyAsBefore = place > 0 && m_keys[m_order[place - 1]] == key;
    m_order.insert(m_order.begin() + static_cast<std::ptrdiff_t>(place),
                   static_cast<std::uint32_t>(m_dwgPath.size()));
    m_isSameKeyAsBefore.insert(m_isSameKeyAsBefore.begin() + static_cast<std::ptrdiff_t>(place),
                               isSameKeyAsBefore ? 1 : 0);
    m_dwgDisplay.push_back(displayText(path));
    m_dwgPath.push_back(std::move(path));
    m_keys.push_back(std::move(key));
    passRunsOn(place + 1);
}

// The exchange sort, run on a sorted list with the new entry at its end, exchanges nothing before
// the new entry's place and puts it there; the entry it displaces is carried on and exchanged at
// the first greater key, and so on. Each run of equal keys after the place thus passes its first
// entry to its end; a run of one entry stays as it is, and only longer runs are found here.
void InputList::passRunsOn(std::size_t from) {
    const char* flags = m_isSameKeyAsBefore.data();
    const std::size_t size = m_isSameKeyAsBefore.size();
    for (std::size_t at = from + 1; at < size;) {
        const void* found = std::memchr(flags + at, 1, size - at);
        if (found == nullptr) {
            return;
        }
        const std::size_t first =
            static_cast<std::size_t>(static_cast<const char*>(found) - flags) - 1;
        std::size_t end = first + 1;
        while (end < size && flags[end] != 0) {
            ++end;
        }
        std::rotate(m_order.begin() + static_cast<std::ptrdiff_t>(first),
                    m_order.begin() + static_cast<std::ptrdiff_t>(first + 1),
                    m_order.begin() + static_cast<std::ptrdiff_t>(end));
        at = end + 1;
    }
}

void InputList::clear() {
    m_dwgPath.clear();
    m_dwgDisplay.clear();
    m_keys.clear();
    m_order.clear();
    m_isSameKeyAsBefore.clear();
}

}  // namespace lintrel
