#include "DrawingModel.h"

#include <algorithm>

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

Entity* DrawingModel::entityAt(std::uint64_t offset) {
    auto found =
        std::lower_bound(entities.begin(), entities.end(), offset,
                         [](const Entity& entity, std::uint64_t at) { return entity.offset < at; });
    return found != entities.end() && found->offset == offset ? &*found : nullptr;
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
