#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "WindowOps.h"

namespace lintrel {

// The output path of an input: its file name without its last four characters, then "-Cut.dxf",
// in the input's folder or, given one, in the output folder. The name never takes characters
// from the folder, so the copy always lies in that folder.
std::string outputPathFor(const std::string& input, const std::string& outputDir = {});

// The texts around the two paths of a refused run (path, middle text, path, closing text).
inline constexpr std::string_view kCopyOf = " の出力ファイル ";
inline constexpr std::string_view kCopyIsListed =
    " は、選択されているファイルです。上書きしないよう処理を中止しました。";
inline constexpr std::string_view kAnd = " と ";
inline constexpr std::string_view kSameCopy =
    " は、出力ファイル名が同じです。上書きしないよう処理を中止しました。";

// Why the listed files' copies cannot all be written: a copy would replace a listed file, or two
// files would write the same copy. Nothing when every copy has a place of its own.
std::optional<std::string> copyClash(const WindowOps& window, const std::string& outputDir);

}  // namespace lintrel
