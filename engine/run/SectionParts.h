#pragma once

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <string_view>
#include <vector>

#include "CacheLine.h"
#include "DxfError.h"
#include "DxfLineReader.h"
#include "EntitySection.h"
#include "HelperThread.h"
#include "InputFile.h"
#include "ThreadBudget.h"

namespace lintrel {

// What follows the head of a drawing is read in this many parts at most. More threads than a
// two-core machine has cores: when one part is done early, the parts left share both cores.
inline constexpr std::size_t kMostSectionParts = 4;

// Where the parts after the first start to look for a record: the rest after the head shared
// evenly among as many parts as the threads allow, as far as it is long enough to gain from them;
// none for a short drawing.
std::vector<std::uint64_t> evenSectionParts(std::uint64_t headEnd, std::uint64_t size,
                                            const ThreadBudget& threads);

// A copy made in parts has its first part shorter than an even share by this fraction of one (a
// tenth), so that it ends first and the second part writes the rest of itself straight into place
// while the calling thread copies what it wrote before.
inline constexpr std::uint64_t kFirstPartShorterBy = 10;

// The same for a copy streamed in parts, each part after the first copied into place once the
// parts before it are done. As many parts as cores (or as a test asks for): a part beyond them
// would only add to what is copied at the end. The first part is shorter by kFirstPartShorterBy.
std::vector<std::uint64_t> streamedSectionParts(std::uint64_t headEnd, std::uint64_t size,
                                                const ThreadBudget& threads);

namespace section_parts {

inline constexpr std::uint64_t kSearching = UINT64_MAX;
inline constexpr std::uint64_t kNotFound = kSearching - 1;
inline constexpr std::size_t kNoPart = SIZE_MAX;

// The first group 0 code line after `from` that is followed by the type name of a record with
// rules: most likely a record's start, which the part before confirms or not when it gets there.
std::uint64_t findRecordStart(const InputFile& file, std::uint64_t from,
                              const std::stop_token& stop);

// Waits for a part's thread, with a failure's line counted from the start of the file.
void waitForPart(HelperThread& reading, const std::function<void()>& poll, const std::string& path,
                 long linesBefore);

}  // namespace section_parts

// Walks what follows the head of a drawing in parts, each read by a thread of its own while the
// calling thread waits (its core is theirs) and breathes. The first part starts right after the
// head, each later one at a record its thread finds near where it starts to look. What a later
// part's thread read counts only when the part before it, itself counting, meets a record starting
// at that very line; otherwise that part reads on through it. Either way every item is taken once,
// in one part, as one thread reading alone would take it.
//
// Each part's Work is made on the part's thread by `make(part, start)`, `start` being the offset of
// the record the part starts at, and takes the part's items (`take(EntitySection&, const
// DxfLineReader&)`); the calling thread then hands every part that counts, in file order, to
// `use`, and the part whose failure it rethrows to `useFailed`.
template <class Work>
class SectionParts {
public:
    using Make = std::function<std::unique_ptr<Work>(std::size_t part, std::uint64_t start)>;
    using Use = std::function<void(Work&)>;

    struct Walked {
        std::uint64_t end;   // of the last item
        bool endsAllInCrLf;  // every line of the parts that counted
    };

    SectionParts(const DxfLineReader& reader, RecordTypes types, KeptPairs kept, Make make)
        : m_reader(reader), m_types(types), m_kept(kept), m_make(std::move(make)) {}

    // `section`: the head just read with `reader`. `laterFrom`: where the later parts start to
    // look, in order (no more than kMostSectionParts - 1 are used).
    Walked walk(const EntitySection& section, const std::vector<std::uint64_t>& laterFrom,
                const std::function<void()>& poll, const Use& use, const Use& useFailed = {});

    // The part that follows `part` in the file, told once `part` is done (to the calling thread,
    // as its Work is used); kNoPart after the last.
    std::size_t nextAfter(std::size_t part) const { return m_parts[part].next; }

    // How many bytes the parts have read so far, told now and then (any thread).
    std::uint64_t bytesRead() const {
        std::uint64_t read = 0;
        for (const Part& part : m_parts) {
            read += part.read.load(std::memory_order_relaxed);
        }
        return read;
    }

private:
    // The thread reading the part before reads `start` at every record, and the calling thread
    // reads `read`: each has a line of its own, away from what this part's thread writes.
    struct Part {
        alignas(kCacheLine) std::atomic<std::uint64_t> start{section_parts::kSearching};
        std::uint64_t from = 0;  // where its thread starts to look for its start
        alignas(kCacheLine) std::atomic<std::uint64_t> read{0};
        alignas(kCacheLine) std::unique_ptr<Work> work;
        std::size_t next = section_parts::kNoPart;  // whose start it met; none at the end
        std::uint64_t end = 0;
        long lines = 0;  // from its start to its end
        bool endsAllInCrLf = true;
    };
    // How often a part tells how far it has read.
    static constexpr int kItemsPerTelling = 256;

    void readPart(std::size_t index, std::size_t count, const std::stop_token& stop);
    static void publishStart(Part& part, std::uint64_t start) {
        part.start.store(start, std::memory_order_release);
        part.start.notify_all();
    }
    std::size_t readUpToNextPart(EntitySection& section, const DxfLineReader& reader, Part& part,
                                 std::size_t next, std::size_t count, const std::stop_token& stop);

    const DxfLineReader& m_reader;
    RecordTypes m_types;
    KeptPairs m_kept;
    Make m_make;
    std::array<Part, kMostSectionParts> m_parts;
};

template <class Work>
typename SectionParts<Work>::Walked SectionParts<Work>::walk(
    const EntitySection& section, const std::vector<std::uint64_t>& laterFrom,
    const std::function<void()>& poll, const Use& use, const Use& useFailed) {
    using section_parts::kNoPart;
    const std::uint64_t headEnd = section.nextItemOffset();
    const std::size_t count = std::min(laterFrom.size() + 1, kMostSectionParts);
    // After the parts they fill: a thread left behind is stopped and joined first.
    std::array<std::optional<HelperThread>, kMostSectionParts> reading;
    for (std::size_t k = 0; k < count; ++k) {
        m_parts[k].from = k == 0 ? headEnd : laterFrom[k - 1];
    }
    for (std::size_t k = 0; k < count; ++k) {
        try {
            reading[k].emplace(
                [this, k, count](const std::stop_token& stop) { readPart(k, count, stop); });
        } catch (...) {
            // The parts already started must not wait for starts no thread will look for.
            for (std::size_t unstarted = k; unstarted < count; ++unstarted) {
                publishStart(m_parts[unstarted], section_parts::kNotFound);
            }
            throw;
        }
    }
    long linesBefore = section.linesBeforeNextItem();
    Walked walked{headEnd, m_reader.endsAllInCrLf()};
    for (std::size_t next = 0; next != kNoPart;) {
        Part& part = m_parts[next];
        try {
            section_parts::waitForPart(*reading[next], poll, m_reader.path(), linesBefore);
        } catch (const DxfError&) {
            if (part.work && useFailed) {
                useFailed(*part.work);
            }
            throw;
        }
        for (std::size_t passed = next + 1; passed < std::min(part.next, count); ++passed) {
            reading[passed]->requestStop();
        }
        use(*part.work);
        linesBefore += part.lines;
        walked.end = part.end;
        walked.endsAllInCrLf = walked.endsAllInCrLf && part.endsAllInCrLf;
        next = part.next;
    }
    return walked;
}

// Reads one part on its own thread. A DxfError counts its lines from the part's start.
template <class Work>
void SectionParts<Work>::readPart(std::size_t index, std::size_t count,
                                  const std::stop_token& stop) {
    using section_parts::kNotFound;
    using section_parts::kSearching;
    Part& part = m_parts[index];
    try {
        const std::uint64_t start =
            index == 0 ? part.from
                       : section_parts::findRecordStart(m_reader.file(), part.from, stop);
        publishStart(part, start);
        if (start == kNotFound) {
            return;
        }
        part.work = m_make(index, start);
        DxfLineReader reader(m_reader.file(), start);
        EntitySection section(reader, m_types, m_kept);
        part.next = readUpToNextPart(section, reader, part, index + 1, count, stop);
        part.end = section.nextItemOffset();
        part.read.store(part.end - start, std::memory_order_relaxed);
        part.lines = section.linesBeforeNextItem();
        part.endsAllInCrLf = reader.endsAllInCrLf();
    } catch (...) {
        std::uint64_t searching = kSearching;
        if (part.start.compare_exchange_strong(searching, kNotFound)) {
            part.start.notify_all();
        }
        throw;
    }
}

// Reads items up to the first record that starts where a later part starts, from part `next` on,
// and gives that part's number; kNoPart at the end of the file, or once told to stop. A part whose
// start it passes by (its thread found none there, or found one this part does not read as one)
// does not count: what was read there is left unused. Nor is it stopped, as this part's own start
// may yet prove wrong. Past the EOF group no record starts.
template <class Work>
std::size_t SectionParts<Work>::readUpToNextPart(EntitySection& section,
                                                 const DxfLineReader& reader, Part& part,
                                                 std::size_t next, std::size_t count,
                                                 const std::stop_token& stop) {
    using section_parts::kNoPart;
    using section_parts::kNotFound;
    using section_parts::kSearching;
    const std::uint64_t start = part.start.load(std::memory_order_relaxed);
    int untold = 0;
    while (section.hasMore()) {
        if (stop.stop_requested()) {
            return kNoPart;
        }
        const std::uint64_t at = section.nextItemOffset();
        if (++untold == kItemsPerTelling) {
            untold = 0;
            part.read.store(at - start, std::memory_order_relaxed);
        }
        for (; next < count && !section.isPastEof(); ++next) {
            std::uint64_t later = m_parts[next].start.load(std::memory_order_acquire);
            if (later == kSearching && at >= m_parts[next].from) {
                // From where that part's thread looks on, this one cannot tell where to hand
                // over before that thread has found its start (it soon does, or gives up).
                m_parts[next].start.wait(kSearching, std::memory_order_acquire);
                later = m_parts[next].start.load(std::memory_order_acquire);
            }
            if (at == later) {
                return next;
            }
            if (later != kNotFound && (later == kSearching || at < later)) {
                break;
            }
        }
        part.work->take(section, reader);
    }
    return kNoPart;
}

}  // namespace lintrel
