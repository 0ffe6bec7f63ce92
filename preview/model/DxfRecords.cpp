#include "DxfRecords.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <utility>

#include "GroupCode.h"
#include "LineEnds.h"
#include "Numbers.h"

namespace lintrel::preview {
namespace {

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

#if defined(__SSE2__)
// A bit for each CR or LF among the sixteen bytes from `from`.
unsigned lineEndBits(const char* from) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(
        _mm_cmpeq_epi8(block, _mm_set1_epi8('\n')), _mm_cmpeq_epi8(block, _mm_set1_epi8('\r')))));
}
#endif

// Where the line from `at` ends: its first CR or LF, or the end of the bytes. Sixteen bytes are
// looked at in one go where the bytes go on that far: a drawing's lines are mostly shorter, and a
// loop over the bytes mispredicts its end once per line.
std::size_t lineEnd(std::string_view bytes, std::size_t at) {
#if defined(__SSE2__)
    for (; at + 16 <= bytes.size(); at += 16) {
        if (const unsigned ends = lineEndBits(bytes.data() + at); ends != 0) {
            return at + static_cast<std::size_t>(std::countr_zero(ends));
        }
    }
#endif
    while (at < bytes.size() && bytes[at] != '\n' && bytes[at] != '\r') {
        ++at;
    }
    return at;
}

// The line from `start` to the line end at `end`, without its CR when it ends in CR LF.
std::string_view lineBetween(std::string_view bytes, std::size_t start, std::size_t end) {
    const bool isCrLf = bytes[end] == '\n' && end > start && bytes[end - 1] == '\r';
    return {bytes.data() + start, end - start - (isCrLf ? 1 : 0)};
}

}  // namespace

bool RecordReader::readLine(std::string_view& line) {
    if (m_at >= m_bytes.size()) {
        return false;
    }
    // Lines end in LF, CR LF or a lone CR.
    const std::size_t stop = lineEnd(m_bytes, m_at);
    line = m_bytes.substr(m_at, stop - m_at);
    m_at = stop;
    if (m_at < m_bytes.size()) {
        m_at += (m_bytes[m_at] == '\r' && m_at + 1 < m_bytes.size() && m_bytes[m_at + 1] == '\n')
                    ? 2
                    : 1;
    }
    return true;
}

bool RecordReader::holdsGroup() const {
    std::size_t at = m_at;
    for (int line = 0; line < 2; ++line) {
        at = lineEnd(m_bytes, at);
        // A line's end at the window's edge may be a CR whose LF is still to come.
        if (at + 1 >= m_bytes.size()) {
            return false;
        }
        at += m_bytes[at] == '\r' && m_bytes[at + 1] == '\n' ? 2 : 1;
    }
    return true;
}

bool RecordReader::readMore() {
    if (m_file == nullptr) {
        return false;
    }
    const auto kept = static_cast<std::size_t>(m_base + m_bytes.size() - m_keptFrom);
    Buffer next = std::exchange(m_spare, {});
    // Room for twice what is kept at least, so that a record longer than a window is read whole
    // in a few rounds.
    if (const std::size_t wanted = std::max(m_window, 2 * kept); next.size < wanted) {
        next.bytes = std::make_unique_for_overwrite<char[]>(wanted);
        next.size = wanted;
    }
    if (kept > 0) {
        std::memcpy(next.bytes.get(), m_bytes.data() + (m_keptFrom - m_base), kept);
    }
    const std::size_t got = m_file->read(next.bytes.get() + kept, next.size - kept);
    if (got == 0) {
        m_spare = std::move(next);
        return false;
    }
    m_at = static_cast<std::size_t>(m_base + m_at - m_keptFrom);
    m_base = m_keptFrom;
    forgetLineEnds();
    m_bytes = std::string_view(next.bytes.get(), kept + got);
    if (m_buffer.bytes != nullptr) {
        m_earlier.push_back(std::exchange(m_buffer, {}));  // its records may still be looked at
    }
    m_buffer = std::move(next);
    return true;
}

void RecordReader::releaseRecordsRead() {
    m_keptFrom = m_hasHead ? m_headOffset : m_base + m_at;
    if (m_earlier.empty()) {
        return;
    }
    // The head read may lie in an earlier window's memory: it is read again from this window.
    if (m_hasHead) {
        m_at = static_cast<std::size_t>(m_headOffset - m_base);
        m_hasHead = false;
        forgetLineEnds();
    }
    for (Buffer& earlier : m_earlier) {
        if (earlier.size > m_spare.size) {
            m_spare = std::exchange(earlier, {});
        }
    }
    m_earlier.clear();
}

void RecordReader::indexLines() {
    forgetLineEnds();
    std::size_t end = std::min(m_bytes.size(), m_at + kIndexed);
    // A CR LF is not parted: its LF would be taken for a line of its own.
    end += end < m_bytes.size() && m_bytes[end - 1] == '\r' ? 1 : 0;
    if (m_lineEnds == nullptr) {
        m_lineEnds = std::make_unique_for_overwrite<std::uint32_t[]>(kIndexed + 1 + kLineEndSlack);
    }
    m_indexFrom = m_at;
    m_endCount = indexLineEnds(m_bytes.substr(m_at, end - m_at), 0, m_lineEnds.get());
    // A CR at the window's edge may be the first half of a CR LF still to be read.
    const bool mayGoOn = m_file != nullptr && end == m_bytes.size();
    if (mayGoOn && m_endCount > 0 && m_lineEnds[m_endCount - 1] + m_at + 1 == end &&
        m_bytes[end - 1] == '\r') {
        --m_endCount;
    }
}

bool RecordReader::readIndexedGroup(Group& group) {
    const std::size_t codeEnd = m_indexFrom + m_lineEnds[m_nextEnd];
    const std::size_t valueEnd = m_indexFrom + m_lineEnds[m_nextEnd + 1];
    if (!readGroupCode(lineBetween(m_bytes, m_at, codeEnd), group.code)) {
        markDamaged();
        return false;
    }
    group.value = lineBetween(m_bytes, codeEnd + 1, valueEnd);
    m_nextEnd += 2;
    m_at = valueEnd + 1;
    return true;
}

inline bool RecordReader::readGroup(Group& group, std::uint64_t& offset) {
    offset = m_base + m_at;
    if (m_nextEnd + 2 <= m_endCount) [[likely]] {
        return readIndexedGroup(group);
    }
    return readGroupAtLinesUnfound(group, offset);
}

bool RecordReader::readGroupAtLinesUnfound(Group& group, std::uint64_t& offset) {
    if (m_isDamaged) {
        return false;
    }
    indexLines();
    if (m_nextEnd + 2 <= m_endCount) {
        return readIndexedGroup(group);
    }
    // The group runs past the window, or the drawing ends within it.
    while (!holdsGroup() && readMore()) {
    }
    offset = m_base + m_at;
    std::string_view code;
    if (!readLine(code)) {
        return false;
    }
    if (!readGroupCode(code, group.code) || !readLine(group.value)) {
        markDamaged();
        return false;
    }
    forgetLineEnds();
    return true;
}

void RecordReader::markDamaged() {
    m_isDamaged = true;
    m_at = m_bytes.size();
    forgetLineEnds();
}

bool RecordReader::next(Record& record) {
    record.groups.clear();
    if (!m_hasHead) {
        do {
            if (!readGroup(m_head, m_headOffset)) {
                return false;
            }
        } while (m_head.code != 0);
    }
    record.type = trimmed(m_head.value);
    record.offset = m_headOffset;
    m_hasHead = false;
    // Each group is read straight into its place: a group read aside and copied in was loaded
    // whole right after its parts were stored apart, which stalls the copy a dozen cycles.
    std::uint64_t offset = 0;
    while (readGroup(record.groups.emplace_back(), offset)) {
        if (record.groups.back().code == 0) {
            m_head = record.groups.back();
            m_headOffset = offset;
            m_hasHead = true;
            break;
        }
    }
    record.groups.pop_back();
    return true;
}

Fields::Fields(const std::vector<Group>& groups) : m_groups(groups) {
    // From the last group to the first, so that the first of a code is the one kept.
    for (std::size_t k = groups.size(); k-- > 0;) {
        const int code = groups[k].code;
        if (static_cast<unsigned>(code) < kListed) {
            const auto listed = static_cast<std::size_t>(code);
            m_firstOf[listed] = static_cast<std::int32_t>(k);
            m_holds[listed / 64] |= std::uint64_t{1} << (listed % 64);
        } else {
            m_mayHold |= bitOf(code);
        }
    }
}

const Group* Fields::find(int code) const {
    if (static_cast<unsigned>(code) < kListed) {
        const auto listed = static_cast<std::size_t>(code);
        return (m_holds[listed / 64] >> (listed % 64) & 1) == 0
                   ? nullptr
                   : &m_groups[static_cast<std::size_t>(m_firstOf[listed])];
    }
    if ((m_mayHold & bitOf(code)) == 0) {
        return nullptr;
    }
    for (const Group& group : m_groups) {
        if (group.code == code) {
            return &group;
        }
    }
    return nullptr;
}

std::string_view Fields::text(int code) const {
    const Group* group = find(code);
    return group != nullptr ? group->value : std::string_view();
}

bool Fields::has(int code) const {
    return find(code) != nullptr;
}

double Fields::number(int code, double fallback) {
    const Group* group = find(code);
    return group != nullptr ? numberOf(group->value) : fallback;
}

int Fields::integer(int code, int fallback) {
    return static_cast<int>(number(code, fallback));
}

double Fields::numberOf(std::string_view value) {
    const auto parsed = parseDecimal(value);
    if (!parsed || !std::isfinite(*parsed)) {
        m_isBroken = true;
        return 0;
    }
    return *parsed;
}

}  // namespace lintrel::preview
