#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "DecisionObserver.h"
#include "DrawingModel.h"
#include "HugePages.h"

namespace lintrel::preview {

// What a run told of each file's records, kept until the models of the files are read.
class RunDecisions : public DecisionObserver {
public:
    // One record told of. The ends of a lengthened one are kept apart: most records a run tells
    // of are removed, and a list of them all with room for ends was three times as long.
    struct Told {
        std::uint64_t offset = 0;
        Verdict verdict = Verdict::Kept;
        std::uint32_t ends = 0;  // Lengthened only: into ToldList::ends
    };
    // In huge pages: the run of a long drawing tells of hundreds of thousands of records.
    struct ToldList {
        HugeVector<Told> records;  // in the order told
        HugeVector<std::array<double, 4>> ends;

        void add(std::uint64_t offset, Verdict verdict) { records.push_back({offset, verdict}); }
        void addLengthened(std::uint64_t offset, const std::array<double, 4>& lineEnds);
    };

    void startFile(const std::string& path) override;
    void decided(std::uint64_t recordOffset, Verdict verdict) override;
    void lengthened(std::uint64_t recordOffset, const std::array<double, 4>& ends) override;

    // What was told of a file's records, in the order told; empty for a file never started.
    const ToldList& of(const std::string& path) const;

private:
    std::map<std::string, ToldList> m_files;
    ToldList* m_current = nullptr;
};

// Marks the model's entities with what the run told; the last word on a record counts.
void applyDecisions(DrawingModel& model, const RunDecisions::ToldList& told);

// How many entities of the model carry each verdict.
std::array<int, 13> verdictCounts(const DrawingModel& model);

}  // namespace lintrel::preview
