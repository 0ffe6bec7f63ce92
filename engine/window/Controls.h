#pragma once

#include <array>
#include <string_view>

// The control names of the main window that the engine, the input list and the settings use.
namespace lintrel::control {

inline constexpr std::string_view Check1 = "Check1";
inline constexpr std::string_view Check2 = "Check2";
inline constexpr std::string_view Check3 = "Check3";
inline constexpr std::string_view Check4 = "Check4";
inline constexpr std::string_view Check5 = "Check5";
inline constexpr std::string_view Check6 = "Check6";
inline constexpr std::string_view Check7 = "Check7";
inline constexpr std::string_view Check8 = "Check8";
inline constexpr std::string_view Check9 = "Check9";
inline constexpr std::string_view Check10 = "Check10";
inline constexpr std::string_view Check11 = "Check11";
inline constexpr std::string_view Check12 = "Check12";
inline constexpr std::string_view Check13 = "Check13";
inline constexpr std::string_view TextDelete = "TEXT文字削除";
inline constexpr std::string_view MTextDelete = "MTEXT文字削除";
inline constexpr std::string_view Option1_0 = "Option1(0)";
inline constexpr std::string_view Option1_1 = "Option1(1)";

inline constexpr std::string_view Text1 = "Text1";
inline constexpr std::string_view Text2 = "Text2";
inline constexpr std::string_view Text3 = "Text3";
inline constexpr std::string_view Text4 = "Text4";
inline constexpr std::string_view Text5 = "Text5";
inline constexpr std::string_view Text6 = "Text6";
inline constexpr std::string_view Text8 = "Text8";
inline constexpr std::string_view Text9 = "Text9";

inline constexpr std::string_view List1 = "List1";
inline constexpr std::string_view LISTClear = "LISTClear";
inline constexpr std::string_view Start = "Start";
inline constexpr std::string_view Command1 = "Command1";  // 中断 (interrupt)
inline constexpr std::string_view Command2 = "Command2";  // Ver
inline constexpr std::string_view Command3 = "Command3";  // END
inline constexpr std::string_view Command4 = "Command4";  // HELP
inline constexpr std::string_view ProgressBar1 = "ProgressBar1";
inline constexpr std::string_view DATACount = "DATACount";

inline constexpr std::string_view Label1 = "Label1";    // TEXT deletions
inline constexpr std::string_view Label2 = "Label2";    // LINE deletions by linetype
inline constexpr std::string_view Label3 = "Label3";    // circle and arc deletions by linetype
inline constexpr std::string_view Label4 = "Label4";    // POINT deletions
inline constexpr std::string_view Label5 = "Label5";    // LINE deletions by length
inline constexpr std::string_view Label6 = "Label6";    // circle and arc deletions by size
inline constexpr std::string_view Label12 = "Label12";  // TOTAL
inline constexpr std::string_view Label18 = "Label18";  // MTEXT deletions
inline constexpr std::string_view Label22 = "Label22";  // DIMENSION deletions
inline constexpr std::string_view Label25 = "Label25";  // duplicate lines removed
inline constexpr std::string_view Label32 = "Label32";  // elapsed time
inline constexpr std::string_view Label46 = "Label46";  // XLINE deletions
inline constexpr std::string_view Label47 = "Label47";  // LINE total of the file in progress
inline constexpr std::string_view Label52 = "Label52";  // line analysis progress in percent
inline constexpr std::string_view Label54 = "Label54";  // joins
inline constexpr std::string_view Label55 = "Label55";  // caption of Label47
inline constexpr std::string_view Label63 =
    "Label63";  // "ファイル読込中" while the line pass reads

// The fifteen check boxes, in the window's order from top to bottom.
inline constexpr std::array<std::string_view, 15> kCheckBoxes = {
    Check9, Check7, Check10, Check11, TextDelete, Check13, MTextDelete, Check12,
    Check6, Check8, Check1,  Check2,  Check3,     Check4,  Check5};

// The eight numeric text boxes, in the order of the Enter cycle.
inline constexpr std::array<std::string_view, 8> kTextBoxes = {Text9, Text8, Text5, Text6,
                                                               Text1, Text4, Text2, Text3};

}  // namespace lintrel::control
