#include "SectionParts.h"

#include "DxfError.h"
#include "RecordLayout.h"

namespace lintrel {
namespace {

// Below this much after the head, another thread costs more than it saves.
constexpr std::uint64_t kShortestPart = std::uint64_t{4} << 20;

}  // namespace

std::vector<std::uint64_t> evenSectionParts(std::uint64_t headEnd, std::uint64_t size,
                                            const ThreadBudget& threads) {
    const std::uint64_t rest = size > headEnd ? size - headEnd : 0;
    const std::uint64_t longEnough =
        threads.sharesAnySize ? kMostSectionParts : rest / kShortestPart;
    const auto parts = std::min<std::uint64_t>(
        {kMostSectionParts, longEnough, static_cast<std::uint64_t>(threads.threads)});
    std::vector<std::uint64_t> starts;
    for (std::uint64_t k = 1; k < parts; ++k) {
        starts.push_back(headEnd + rest * k / parts);
    }
    return starts;
}

std::vector<std::uint64_t> streamedSectionParts(std::uint64_t headEnd, std::uint64_t size,
                                                const ThreadBudget& threads) {
    const ThreadBudget cores{
        threads.sharesAnySize ? threads.threads : std::min(threads.threads, machineCores()),
        threads.sharesAnySize};
    std::vector<std::uint64_t> starts = evenSectionParts(headEnd, size, cores);
    if (!starts.empty()) {
        const std::uint64_t even = starts.front() - headEnd;
        const std::uint64_t shorter = even / kFirstPartShorterBy;
        for (std::size_t k = 0; k < starts.size(); ++k) {
            // The tenth taken from the first part, shared among the others.
            starts[k] -= shorter - shorter * k / starts.size();
        }
    }
    return starts;
}

namespace section_parts {

std::uint64_t findRecordStart(const InputFile& file, std::uint64_t from,
                              const std::stop_token& stop) {
    DxfLineReader reader(file, from);
    if (!reader.atEnd()) {
        static_cast<void>(reader.readLine());  // the rest of a line cut in two, or a whole one
    }
    while (!reader.atEnd() && !stop.stop_requested()) {
        const std::string_view line = reader.readLine();
        if (!isGroupCode(line, 0) || reader.atEnd()) {
            continue;
        }
        const std::uint64_t offset = reader.offsetOf(line);
        const std::string_view type = reader.readLine();
        if (std::find(RecordLayout::kTypes.begin(), RecordLayout::kTypes.end(), type) !=
            RecordLayout::kTypes.end()) {
            return offset;
        }
    }
    return kNotFound;
}

void waitForPart(HelperThread& reading, const std::function<void()>& poll, const std::string& path,
                 long linesBefore) {
    try {
        reading.wait(poll);
    } catch (const DxfError& error) {
        throw DxfError(error.kind(), path, error.line() > 0 ? linesBefore + error.line() : 0,
                       error.reason(), error.systemError());
    }
}

}  // namespace section_parts
}  // namespace lintrel
