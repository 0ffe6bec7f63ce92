#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace lintrel {

// sort: orders the first numCount entries of dwgName by their ASCII-lower-cased text and gives
// dwgName0 the same permutation. It is an exchange sort, and its exact order of exchanges is
// kept, because which of two entries that differ only in letter case comes first depends on it.
void sort(std::size_t numCount, std::vector<std::string>& dwgName,
          std::vector<std::string>& dwgName0);

}  // namespace lintrel
