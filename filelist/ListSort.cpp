#include "ListSort.h"

#include <cassert>
#include <utility>

namespace lintrel {
namespace {

// Byte-wise, so paths in any encoding order the same on every system.
std::string lowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

}  // namespace

void sort(std::size_t numCount, std::vector<std::string>& dwgName,
          std::vector<std::string>& dwgName0) {
    assert(numCount <= dwgName.size() && numCount <= dwgName0.size() &&
           "sort orders only entries that both arrays hold");
    std::vector<std::string> keys;
    keys.reserve(numCount);
    for (std::size_t k = 0; k < numCount; ++k) {
        keys.push_back(lowerAscii(dwgName[k]));
    }
    for (std::size_t i = 0; i + 1 < numCount; ++i) {
        for (std::size_t j = i + 1; j < numCount; ++j) {
            // std::string compares as unsigned bytes, a prefix before any longer key.
            if (keys[i] > keys[j]) {
                std::swap(keys[i], keys[j]);
                std::swap(dwgName[i], dwgName[j]);
                std::swap(dwgName0[i], dwgName0[j]);
            }
        }
    }
}

}  // namespace lintrel
