#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace lintrel {

// indexLineEnds() may write this many slots past the last end it notes.
inline constexpr std::size_t kLineEndSlack = 8;

// Notes where the lines of bytes[from, bytes.size()) end, as offsets into `bytes`: each LF (after
// its CR when the line ends in CR LF), and each CR no LF follows. A CR at the last byte is noted;
// whether an LF comes after it is for the caller to tell. `out` has room for
// bytes.size() - from + kLineEndSlack offsets, and `bytes` is shorter than 4 GiB. Returns how many
// ends were noted. Finding them line by line cost a mispredicted branch per line.
std::size_t indexLineEnds(std::string_view bytes, std::size_t from, std::uint32_t* out);

// The CR LFs of some bytes one after another, each where its CR stands, found 64 bytes at a time:
// splitting a record's lines with find() cost a call per line.
class CrLfFinder {
public:
    explicit CrLfFinder(std::string_view bytes) : m_bytes(bytes) {}

    // Where the next CR LF starts; std::string_view::npos once there is none.
    std::size_t next() {
        while (m_crs == 0) {
            if (m_block >= m_bytes.size()) {
                return std::string_view::npos;
            }
            findInNextBlock();
        }
        const std::size_t at = m_block - 64 + static_cast<unsigned>(std::countr_zero(m_crs));
        m_crs &= m_crs - 1;
        return at;
    }

private:
    void findInNextBlock();  // notes the CRs of the 64 bytes from m_block that begin a CR LF

    std::string_view m_bytes;
    std::size_t m_block = 0;  // the bytes before it are looked at
    std::uint64_t m_crs = 0;  // the CR LFs of the last block looked at not handed out yet
};

}  // namespace lintrel
