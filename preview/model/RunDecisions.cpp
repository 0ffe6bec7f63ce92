#include "RunDecisions.h"

#include <algorithm>

namespace lintrel::preview {

void RunDecisions::startFile(const std::string& path) {
    m_current = &m_files[path];
    *m_current = {};
}

void RunDecisions::ToldList::addLengthened(std::uint64_t offset,
                                           const std::array<double, 4>& lineEnds) {
    records.push_back({offset, Verdict::Lengthened, static_cast<std::uint32_t>(ends.size())});
    ends.push_back(lineEnds);
}

void RunDecisions::decided(std::uint64_t recordOffset, Verdict verdict) {
    if (m_current != nullptr) {
        m_current->add(recordOffset, verdict);
    }
}

void RunDecisions::lengthened(std::uint64_t recordOffset, const std::array<double, 4>& ends) {
    if (m_current != nullptr) {
        m_current->addLengthened(recordOffset, ends);
    }
}

const RunDecisions::ToldList& RunDecisions::of(const std::string& path) const {
    static const ToldList kNone;
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
    HugeVector<std::array<double, 4>> ordered;
    ordered.reserve(model.lengthenedEnds.size());
    for (Entity& entity : model.entities) {
        if (entity.isLengthened()) {
            ordered.push_back(model.lengthenedEnds[entity.lengthening]);
            entity.lengthening = static_cast<std::uint32_t>(ordered.size() - 1);
        }
    }
    model.lengthenedEnds = std::move(ordered);
}

// The entity of each record told, found from the one found before: a run tells its decisions
// mostly in file order, so the search strides forward from there instead of halving the whole
// drawing, which would touch a page of a large model at every step.
class EntityFinder {
public:
    explicit EntityFinder(HugeVector<Entity>& entities) : m_entities(entities) {}

    Entity* at(std::uint64_t offset) {
        std::size_t low = 0;
        std::size_t high = m_entities.size();
        if (m_last < high && m_entities[m_last].offset <= offset) {
            low = m_last;
            for (std::size_t stride = 1; low + stride < high; stride *= 2) {
                if (m_entities[low + stride].offset > offset) {
                    high = low + stride;
                    break;
                }
                low += stride;
            }
        }
        const auto found = std::lower_bound(
            m_entities.begin() + static_cast<std::ptrdiff_t>(low),
            m_entities.begin() + static_cast<std::ptrdiff_t>(high), offset,
            [](const Entity& entity, std::uint64_t at) { return entity.offset < at; });
        if (found == m_entities.end() || found->offset != offset) {
            return nullptr;
        }
        m_last = static_cast<std::size_t>(found - m_entities.begin());
        return &*found;
    }

private:
    HugeVector<Entity>& m_entities;
    std::size_t m_last = 0;
};

}  // namespace

void applyDecisions(DrawingModel& model, const RunDecisions::ToldList& told) {
    // Room for every lengthening at once: grown by doubling, the ends of a long drawing would be
    // copied again and again, each time into fresh pages.
    model.lengthenedEnds.reserve(model.lengthenedEnds.size() + told.ends.size());
    // A run mostly tells its lengthenings in file order; the ends are then in that order already.
    bool isInFileOrder = model.lengthenedEnds.empty();
    std::uint64_t lastLengthened = 0;
    EntityFinder finder(model.entities);
    for (const RunDecisions::Told& decision : told.records) {
        Entity* entity = finder.at(decision.offset);
        if (entity == nullptr) {
            ++model.undecided;
            continue;
        }
        entity->verdict = decision.verdict;
        if (decision.verdict == Verdict::Lengthened) {
            if (!entity->isLengthened()) {
                isInFileOrder = isInFileOrder &&
                                (model.lengthenedEnds.empty() || entity->offset > lastLengthened);
                lastLengthened = entity->offset;
                entity->lengthening = static_cast<std::uint32_t>(model.lengthenedEnds.size());
                model.lengthenedEnds.emplace_back();
            }
            model.lengthenedEnds[entity->lengthening] = told.ends[decision.ends];
            widenToEnds(model, *entity);
        }
    }
    if (!isInFileOrder) {
        putEndsInFileOrder(model);
    }
}

std::array<int, 13> verdictCounts(const DrawingModel& model) {
    std::array<int, 13> counts{};
    for (const Entity& entity : model.entities) {
        ++counts[static_cast<std::size_t>(entity.verdict)];
    }
    return counts;
}

}  // namespace lintrel::preview
