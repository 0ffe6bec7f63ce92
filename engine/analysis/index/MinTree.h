#pragma once

#include <algorithm>
#include <cstddef>
#include <limits>

#include "HugePages.h"

namespace lintrel {

// Values at positions 0..n-1 with the smallest value of any range in logarithmic time.
class MinTree {
public:
    static constexpr double kNone = std::numeric_limits<double>::infinity();

    MinTree() = default;
    // The values are valueAt(0) to valueAt(size - 1). Calls step() for every node it builds: a
    // tree over a million values takes a while.
    template <class ValueAt, class Step>
    MinTree(std::size_t size, ValueAt valueAt, Step step) : m_size(size), m_nodes(2 * m_size) {
        for (std::size_t at = 0; at < m_size; ++at) {
            step();
            m_nodes[m_size + at] = valueAt(at);
        }
        for (std::size_t node = m_size; node-- > 1;) {
            step();
            m_nodes[node] = std::min(m_nodes[2 * node], m_nodes[2 * node + 1]);
        }
    }

    // Takes the position out of every later query.
    void clear(std::size_t at) {
        std::size_t node = at + m_size;
        m_nodes[node] = kNone;
        for (node /= 2; node >= 1; node /= 2) {
            m_nodes[node] = std::min(m_nodes[2 * node], m_nodes[2 * node + 1]);
        }
    }

    // The smallest value at positions [first, last); kNone when the range is empty or cleared.
    double smallest(std::size_t first, std::size_t last) const {
        double result = kNone;
        for (first += m_size, last += m_size; first < last; first /= 2, last /= 2) {
            if (first % 2 == 1) {
                result = std::min(result, m_nodes[first++]);
            }
            if (last % 2 == 1) {
                result = std::min(result, m_nodes[--last]);
            }
        }
        return result;
    }

private:
    std::size_t m_size = 0;
    HugeArray<double> m_nodes;  // node k has children 2k and 2k+1; leaves from m_size on
};

}  // namespace lintrel
