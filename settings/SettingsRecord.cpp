#include "SettingsRecord.h"

#include <bit>
#include <cmath>

#include "Numbers.h"

namespace lintrel {

// The Doubles sit at offsets that are not multiples of 8, so they are assembled byte by byte;
// this also makes the record little-endian whatever the machine.
double SettingsRecord::numberAt(std::size_t offset) const {
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < sizeof bits; ++i) {
        bits |= static_cast<std::uint64_t>(m_bytes.at(offset + i)) << (8 * i);
    }
    return std::bit_cast<double>(bits);
}

void SettingsRecord::setNumberAt(std::size_t offset, double value) {
    auto bits = std::bit_cast<std::uint64_t>(value);
    for (std::size_t i = 0; i < sizeof bits; ++i) {
        m_bytes.at(offset + i) = static_cast<std::uint8_t>(bits >> (8 * i));
    }
}

std::optional<double> TextToStored(std::string_view text) {
    if (text.empty() || text == ".") {
        return 0.0;
    }
    return parseDecimal(text);
}

std::optional<std::string> StoredToText(double value) {
    if (value == 0 || !std::isfinite(value)) {
        return std::nullopt;
    }
    return formatCoordinate(value);
}

std::optional<UnstorableText> storeOptions(const OptionSet& options, SettingsRecord& record) {
    SettingsRecord stored = record;
    for (const auto& field : kByteFields) {
        stored.setByteAt(field.offset,
                         *options.ticked(field.control) ? field.onByte : std::uint8_t{0});
    }
    for (const auto& field : kNumberFields) {
        auto text = *options.text(field.control);
        auto number = TextToStored(text);
        if (!number) {
            return UnstorableText{std::string(field.control), text};
        }
        stored.setNumberAt(field.offset, *number);
    }
    record = stored;
    return std::nullopt;
}

void ApplySettings(const SettingsRecord& record, OptionSet& options) {
    // Bytes other than 0 and 1 come only from foreign writers; any non-zero byte reads as ticked.
    for (const auto& field : kByteFields) {
        options.setTicked(field.control, record.byteAt(field.offset) != 0);
    }
    for (const auto& field : kNumberFields) {
        if (auto text = StoredToText(record.numberAt(field.offset))) {
            options.setText(field.control, *text);
        }
    }
}

}  // namespace lintrel
