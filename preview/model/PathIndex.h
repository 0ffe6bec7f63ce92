#pragma once

#include <algorithm>
#include <cstdint>
#include <stop_token>
#include <vector>

#include "HugePages.h"

namespace lintrel::preview {

// An axis-aligned box in single precision, as the paths keep theirs.
struct Box {
    float lowX = 0;
    float lowY = 0;
    float highX = 0;
    float highY = 0;

    bool meets(const Box& other) const {
        return lowX <= other.highX && other.lowX <= highX && lowY <= other.highY &&
               other.lowY <= highY;
    }
    void add(const Box& other);
};

// A packed R-tree over the boxes of a model's paths: the paths sorted along a Z-order curve of
// their centres, grouped by kFanout into nodes whose boxes are grouped again up to one root, so
// that a query visits only the nodes that meet its box.
class PathIndex {
public:
    static constexpr std::uint32_t kFanout = 16;

    PathIndex() = default;
    // A box to index and the number it stands for.
    struct Entry {
        Box box;
        std::uint32_t number = 0;
    };

    // A drawing's paths number up to millions: the index is built in huge pages.
    using Entries = HugeVector<Entry>;

    // A build asked to stop ends between its steps and leaves the index empty.
    explicit PathIndex(Entries entries, const std::stop_token& stop = {});

    bool isEmpty() const { return m_items.empty(); }

    // Calls visit(number) once for every indexed number whose box (paths[number].box) meets
    // `view`.
    template <typename Paths, typename Visit>
    void query(const Paths& paths, const Box& view, Visit&& visit) const {
        if (!m_levels.empty()) {
            queryNode(paths, view, visit, m_levels.size() - 1, 0);
        }
    }

private:
    template <typename Paths, typename Visit>
    void queryNode(const Paths& paths, const Box& view, Visit& visit, std::size_t level,
                   std::size_t node) const;

    HugeVector<std::uint32_t> m_items;       // path numbers in the order of the curve
    std::vector<std::vector<Box>> m_levels;  // the leaves' boxes first, the root's last
};

template <typename Paths, typename Visit>
void PathIndex::queryNode(const Paths& paths, const Box& view, Visit& visit, std::size_t level,
                          std::size_t node) const {
    const std::vector<Box>& boxes = m_levels[level];
    if (!boxes[node].meets(view)) {
        return;
    }
    const std::size_t first = node * kFanout;
    if (level == 0) {
        const std::size_t end = std::min<std::size_t>(first + kFanout, m_items.size());
        for (std::size_t k = first; k < end; ++k) {
            if (paths[m_items[k]].box.meets(view)) {
                visit(m_items[k]);
            }
        }
        return;
    }
    const std::size_t end = std::min<std::size_t>(first + kFanout, m_levels[level - 1].size());
    for (std::size_t child = first; child < end; ++child) {
        queryNode(paths, view, visit, level - 1, child);
    }
}

}  // namespace lintrel::preview
