// The settings record on any bytes: applying a record and storing the options back gives a record
// that applies to the same options, and storing never touches the reserved bytes.
#include <algorithm>
#include <cstdlib>

#include "FuzzBytes.h"
#include "SettingsFile.h"
#include "SettingsRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lintrel;
    RecordBytes bytes{};
    std::copy_n(data, std::min(size, bytes.size()), bytes.begin());
    const SettingsRecord stored(bytes);
    OptionSet options;
    ApplySettings(stored, options);

    SettingsRecord again = stored;
    if (storeOptions(options, again)) {
        return 0;  // a text that is no number is refused, and the record stays
    }
    if (!std::equal(bytes.begin(), bytes.begin() + kReservedSize, again.bytes().begin())) {
        std::abort();
    }
    OptionSet reapplied;
    ApplySettings(again, reapplied);
    if (!(reapplied == options)) {
        std::abort();
    }

    // The same bytes as a settings file, whatever its length.
    const std::string path = fuzz::scratchFolder() + "/settings.ini";
    fuzz::writeFile(path, {reinterpret_cast<const char*>(data), size});
    LoadedSettings loaded = LoadSettings(path);
    if (loaded.error || loaded.record.has_value() != (size >= kRecordSize) ||
        (loaded.record && !(*loaded.record == stored))) {
        std::abort();
    }
    return 0;
}
