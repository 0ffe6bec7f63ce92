#pragma once

#include <istream>
#include <string>
#include <string_view>

namespace lintrel {

// The rejection texts of the probe; each follows the file's path in its message.
inline constexpr std::string_view kUnknownFormat = " は、形式不明な DXFファイルです。";
inline constexpr std::string_view kAutoCad2007 = " は、AutoCAD 2007/LT2007 DXFファイルです。";
inline constexpr std::string_view kAutoCadR14 = " は、AutoCAD R14/LT98/LT97 DXFファイルです。";
inline constexpr std::string_view kAutoCadR13 = " は、AutoCAD R13/LT95 DXFファイルです。";
inline constexpr std::string_view kAutoCadR12 = " は、AutoCAD R12/LT2 DXFファイルです。";
inline constexpr std::string_view kAutoCadR10 = " は、AutoCAD R10 DXFファイルです。";

// The probe's verdict on a file: accepted, or refused with the text that follows its path.
struct ProbeVerdict {
    std::string_view rejection;  // empty when the file is accepted

    [[nodiscard]] bool isAccepted() const { return rejection.empty(); }
    bool operator==(const ProbeVerdict&) const = default;
};

// checkAcadVer: whether the clean-up may take a drawing, from its header's $ACADVER. Only the
// 2000 ("AC1015") and 2004 ("AC1018") formats are taken; a file that cannot be read, is no
// regular file (a FIFO, a device, a socket, a folder) or ends before its version line within its
// first 64 KiB is of unknown format.
[[nodiscard]] ProbeVerdict checkAcadVer(const std::string& path);

// The same test on a drawing's bytes.
[[nodiscard]] ProbeVerdict checkAcadVer(std::istream& drawing);

}  // namespace lintrel
