#include "DrawingModel.h"

#include <algorithm>
#include <cmath>

namespace lintrel::preview {

std::uint32_t Names::intern(std::string_view name) {
    if (auto found = m_ids.find(name); found != m_ids.end()) {
        return found->second;
    }
    const auto id = static_cast<std::uint32_t>(m_names.size());
    m_names.emplace_back(name);
    m_ids.emplace(std::string(name), id);
    return id;
}

void Extents::add(Point p) {
    if (isEmpty()) {
        low = p;
        high = p;
        return;
    }
    low = {std::min(low.x, p.x), std::min(low.y, p.y)};
    high = {std::max(high.x, p.x), std::max(high.y, p.y)};
}

Box boxAround(const Extents& extents) {
    const auto down = [](double value) {
        const auto rounded = static_cast<float>(value);
        return rounded > value ? std::nextafter(rounded, -HUGE_VALF) : rounded;
    };
    const auto up = [](double value) {
        const auto rounded = static_cast<float>(value);
        return rounded < value ? std::nextafter(rounded, HUGE_VALF) : rounded;
    };
    return {down(extents.low.x), down(extents.low.y), up(extents.high.x), up(extents.high.y)};
}

const Point* DrawingModel::pointsOf(const Path& path, std::vector<Point>& scratch) const {
    if (!path.isConic) {
        return points.data() + path.first;
    }
    scratch.clear();
    conics[path.first].sample(kPiecesPerTurn, scratch);
    return scratch.data();
}

Entity* DrawingModel::entityAt(std::uint64_t offset) {
    auto found =
        std::lower_bound(entities.begin(), entities.end(), offset,
                         [](const Entity& entity, std::uint64_t at) { return entity.offset < at; });
    return found != entities.end() && found->offset == offset ? &*found : nullptr;
}

void DrawingModel::indexPaths() {
    useIndex(indexPathsOf(*this));
}

void DrawingModel::useIndex(PathsIndexed indexed) {
    index = std::move(indexed.index);
    unbounded = std::move(indexed.unbounded);
}

PathsIndexed indexPathsOf(const DrawingModel& model, const std::stop_token& stop) {
    constexpr std::uint32_t kEntitiesPerLook = 65536;
    PathIndex::Entries entries;
    entries.reserve(model.paths.size());
    PathsIndexed indexed;
    for (std::uint32_t k = 0; k < model.entities.size(); ++k) {
        if (k % kEntitiesPerLook == 0 && stop.stop_requested()) {
            return {};
        }
        const Entity& entity = model.entities[k];
        if (entity.shape != EntityShape::Paths) {
            indexed.unbounded.push_back(k);
            continue;
        }
        for (std::uint32_t path = entity.firstPath; path < entity.firstPath + entity.pathCount;
             ++path) {
            entries.push_back({model.paths[path].box, path});
        }
    }
    indexed.index = PathIndex(std::move(entries), stop);
    if (stop.stop_requested()) {
        return {};  // the index may be left empty part way
    }
    return indexed;
}

std::string notDrawnLine(const DrawingModel& model) {
    if (model.notDrawn.empty()) {
        return {};
    }
    std::string line(kNotDrawnCaption);
    bool isFirst = true;
    for (const auto& [type, count] : model.notDrawn) {
        line += (isFirst ? "" : ", ") + type + " " + std::to_string(count);
        isFirst = false;
    }
    return line;
}

}  // namespace lintrel::preview
