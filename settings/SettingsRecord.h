#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Controls.h"
#include "OptionSet.h"

namespace lintrel {

inline constexpr std::size_t kRecordSize = 108;
inline constexpr std::size_t kReservedSize = 27;  // bytes 0..26, never interpreted

using RecordBytes = std::array<std::uint8_t, kRecordSize>;

// One stored option: its control, its offset in the record and the byte that means "ticked"
// (0 for the Doubles of the text boxes).
struct RecordField {
    std::string_view control;
    std::size_t offset;
    std::uint8_t onByte;
};

// The one-byte fields in record order, which is also the order start-up applies them in; the
// option buttons store 0xFF when selected, the check boxes 1.
inline constexpr std::array<RecordField, 17> kByteFields = {{
    {control::Check9, 27, 1},
    {control::Check7, 28, 1},
    {control::Check10, 29, 1},
    {control::Check11, 30, 1},
    {control::TextDelete, 31, 1},
    {control::MTextDelete, 32, 1},
    {control::Check6, 33, 1},
    {control::Check8, 34, 1},
    {control::Check1, 35, 1},
    {control::Check2, 36, 1},
    {control::Check3, 37, 1},
    {control::Check4, 38, 1},
    {control::Option1_0, 39, 0xFF},
    {control::Option1_1, 40, 0xFF},
    {control::Check5, 41, 1},
    {control::Check12, 106, 1},
    {control::Check13, 107, 1},
}};

// The text boxes' little-endian Doubles in record order; they sit at unaligned offsets.
inline constexpr std::array<RecordField, 8> kNumberFields = {{
    {control::Text1, 42, 0},
    {control::Text2, 50, 0},
    {control::Text3, 58, 0},
    {control::Text4, 66, 0},
    {control::Text5, 74, 0},
    {control::Text6, 82, 0},
    {control::Text8, 90, 0},
    {control::Text9, 98, 0},
}};

// SettingsRecord: the 108 bytes of the settings file's first record, exactly as stored.
class SettingsRecord {
public:
    SettingsRecord() = default;  // all zero, as when the file held no record
    explicit SettingsRecord(const RecordBytes& bytes) : m_bytes(bytes) {}

    [[nodiscard]] const RecordBytes& bytes() const { return m_bytes; }
    [[nodiscard]] std::uint8_t byteAt(std::size_t offset) const { return m_bytes.at(offset); }
    void setByteAt(std::size_t offset, std::uint8_t value) { m_bytes.at(offset) = value; }
    [[nodiscard]] double numberAt(std::size_t offset) const;
    void setNumberAt(std::size_t offset, double value);

    bool operator==(const SettingsRecord&) const = default;

private:
    RecordBytes m_bytes{};
};

// A text box whose text cannot be stored because it is not a number.
struct UnstorableText {
    std::string control;
    std::string text;
};

// TextToStored: an empty text and "." give 0; any other text must be a decimal number.
[[nodiscard]] std::optional<double> TextToStored(std::string_view text);

// StoredToText: the text a box shows for a stored value; nothing for 0, so the box keeps its
// text. Nothing too for a value that is not finite, which no box could have stored.
[[nodiscard]] std::optional<std::string> StoredToText(double value);

// Overwrites bytes 27..107 with the options; the reserved bytes stay. On failure the record is
// left as it was.
[[nodiscard]] std::optional<UnstorableText> storeOptions(const OptionSet& options,
                                                         SettingsRecord& record);

// Sets the options from a record in the stored order, each change with the pair rules of a
// click; a stored 0 leaves a text box as it is.
void ApplySettings(const SettingsRecord& record, OptionSet& options);

}  // namespace lintrel
