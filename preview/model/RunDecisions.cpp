#include "RunDecisions.h"

namespace lintrel::preview {

void RunDecisions::startFile(const std::string& path) {
    m_current = &m_files[path];
    m_current->clear();
}

void RunDecisions::decided(std::uint64_t recordOffset, Verdict verdict) {
    if (m_current != nullptr) {
        m_current->push_back({recordOffset, verdict, {}});
    }
}

void RunDecisions::lengthened(std::uint64_t recordOffset, const std::array<double, 4>& ends) {
    if (m_current != nullptr) {
        m_current->push_back({recordOffset, Verdict::Lengthened, ends});
    }
}

const std::vector<RunDecisions::Told>& RunDecisions::of(const std::string& path) const {
    static const std::vector<Told> kNone;
    auto found = m_files.find(path);
    return found == m_files.end() ? kNone : found->second;
}

namespace {

// A lengthened line is drawn to its new ends in some views: its box takes them in.
void widenToEnds(DrawingModel& model, const Entity& entity) {
    if (entity.pathCount == 0) {
        return;
    }
    Extents ends;
    const auto& stretched = model.endsOf(entity);
    ends.add({stretched[0], stretched[1]});
    ends.add({stretched[2], stretched[3]});
    model.paths[entity.firstPath].box.add(boxAround(ends));
}

// A frame walks the entities in file order: their ends are put in the same order, not the order
// the run told them in.
void putEndsInFileOrder(DrawingModel& model) {
    std::vector<std::array<double, 4>> ordered;
    ordered.reserve(model.lengthenedEnds.size());
    for (Entity& entity : model.entities) {
        if (entity.isLengthened()) {
            ordered.push_back(model.lengthenedEnds[entity.lengthening]);
            entity.lengthening = static_cast<std::uint32_t>(ordered.size() - 1);
        }
    }
    model.lengthenedEnds = std::move(ordered);
}

}  // namespace

void applyDecisions(DrawingModel& model, const std::vector<RunDecisions::Told>& told) {
    for (const RunDecisions::Told& decision : told) {
        Entity* entity = model.entityAt(decision.offset);
        if (entity == nullptr) {
            ++model.undecided;
            continue;
        }
        entity->verdict = decision.verdict;
        if (decision.verdict == Verdict::Lengthened) {
            if (!entity->isLengthened()) {
                entity->lengthening = static_cast<std::uint32_t>(model.lengthenedEnds.size());
                model.lengthenedEnds.emplace_back();
            }
            model.lengthenedEnds[entity->lengthening] = decision.ends;
            widenToEnds(model, *entity);
        }
    }
    putEndsInFileOrder(model);
}

std::array<int, 13> verdictCounts(const DrawingModel& model) {
    std::array<int, 13> counts{};
    for (const Entity& entity : model.entities) {
        ++counts[static_cast<std::size_t>(entity.verdict)];
    }
    return counts;
}

}  // namespace lintrel::preview
