#pragma once

#include <string>
#include <variant>

#include "EntitySection.h"
#include "LineAnalysis.h"
#include "WindowOps.h"

namespace lintrel {

// The option values of one run, read from the window once its preconditions hold; the controls
// stay locked for the whole run, so this is what every file is decided against.
struct RunOptions {
    bool deleteAllText = false;       // TEXT文字削除
    bool deleteBlankText = false;     // Check13
    bool deleteAllMText = false;      // MTEXT文字削除
    bool deleteBlankMText = false;    // Check12
    bool deleteDimensions = false;    // Check6
    bool deleteXLines = false;        // Check8
    bool lineTypeLines = false;       // Check1
    bool lineTypeCircles = false;     // Check2
    bool lineTypeArcs = false;        // Check3
    bool deletePoints = false;        // Check4
    bool lineTypePointsOnly = false;  // Option1(1)
    bool bySize = false;              // Check5
    double straightLength = 0;        // |Text1|
    double obliqueLength = 0;         // |Text4|
    double arcLength = 0;             // Text2
    double circleDiameter = 0;        // Text3
    LineRules lines;  // Check7, Check9, Check10, Check11, Text5, Text6, Text8, Text9

    bool analysesLines() const { return lines.removeDuplicates || lines.joinLines; }
    RecordTypes recordTypes() const { return {deleteDimensions, deleteXLines, deletePoints}; }
};

// Checks a run's preconditions in their order, normalising the option texts on the way ("" and
// "." become "0" in the window). Gives the options, or the message that refuses the run.
std::variant<RunOptions, std::string> readRunOptions(WindowOps& window);

inline constexpr std::string_view kChooseFiles = "ファイルを選択して下さい。";
inline constexpr std::string_view kChooseItems = "処理項目を選択して下さい。";
inline constexpr std::string_view kChooseSizeItems = "処理項目ファイルを選択して下さい。";

}  // namespace lintrel
