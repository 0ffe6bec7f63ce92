#pragma once

// Every caption, tooltip and message of frmMain and frmAbout, with its exact text (blanks and
// full-width characters included). Names follow the control that shows the text; texts that
// several static labels share are named by what they say.
namespace lintrel::caption {

// frmMain's title while idle.
inline constexpr char kMainTitle[] = "   Lintrel";
// The title of every message box.
inline constexpr char kMessageTitle[] = "確認";

// Buttons.
inline constexpr char kCommand4[] = "HELP ";
inline constexpr char kCommand2[] = "Ｖｅｒ";
inline constexpr char kCommand3[] = "ＥＮＤ";
inline constexpr char kLISTClear[] = "Ｃｌｅａｒ";
inline constexpr char kStart[] = "Ｓｔａｒｔ";
inline constexpr char kStartTip[] =
    "選択したファイルと同一フォルダに***-CUT.DXFファイルを作成します。";
inline constexpr char kCommand1[] = "中  断";

// File list and line count.
inline constexpr char kLabel24[] = "DXFファイル選択　（下のボックスにDrag ＆Drop）";
inline constexpr char kFiles[] = "Ｆｉｌｅｓ";
inline constexpr char kLabel55[] = "処理中ファイルＬＩＮＥ総数";

// Line options (Frame5).
inline constexpr char kLabel48[] = "  LINE結合";
inline constexpr char kGap[] = "線間間隙";
inline constexpr char kOffset[] = "線間ズレ";
inline constexpr char kOrLess[] = "以下";
inline constexpr char kLabel43[] = "  ダブり線の削除";
inline constexpr char kLineCorrection[] = "LINE補正値";
inline constexpr char kLabel52[] = "0.00";
inline constexpr char kLabel30[] = "%";
inline constexpr char kLabel63[] = "ファイル読込中";
inline constexpr char kLabel34[] = "　同一画素のみ";
inline constexpr char kLabel56[] = "　同一線種のみ";

// Text and annotation options.
inline constexpr char kLabel35[] = "ダイナミック文字削除";
inline constexpr char kLabel36[] = "マルチTEXT文字削除";
inline constexpr char kBlankOnly[] = "空白文字のみ削除";
inline constexpr char kDeleteAllTextTip[] = "ダイナミック文字を全て削除します。";
inline constexpr char kLabel37[] = "寸法線削除";
inline constexpr char kLabel44[] = "構築線削除";

// Deletion counters (Frame1); the counters' own captions are in the run's CounterTable.h.
inline constexpr char kFrame1[] = "　削 除 数 ";

// Linetype options (Frame2).
inline constexpr char kFrame2[] = "  線 種 に よ る 削 除 ";
inline constexpr char kLabel38[] = "ＬＩＮＥ 削除";
inline constexpr char kLabel39[] = "円 削除";
inline constexpr char kLabel40[] = "円弧 削除";
inline constexpr char kLabel41[] = "点 削除";
inline constexpr char kOption1_0[] = "全線種点";
inline constexpr char kOption1_1[] = "線種点";
inline constexpr char kLabel20[] = "Bylayer・ByBlock・Continuous  以外の線種を削除します。";

// Size options (Frame3).
inline constexpr char kFrame3[] = "  ";
inline constexpr char kLabel42[] = "  長さ による削除  ";
inline constexpr char kStraightLines[] = "垂直・水平線";
inline constexpr char kObliqueLines[] = "斜線";
inline constexpr char kArcs[] = "円弧";
inline constexpr char kCircles[] = "円";
inline constexpr char kLength[] = "長さ";
inline constexpr char kArcLength[] = "円弧長";
inline constexpr char kDiameter[] = "直径";

// The starting caption of every count label.
inline constexpr char kZero[] = "0";

// Adding files without a file manager.
inline constexpr char kAddFiles[] = "ファイルを追加…";
inline constexpr char kAddFilesTitle[] = "ファイルを追加";
inline constexpr char kDxfFilter[] = "DXFファイル (*.dxf *.DXF)";

// A settings file that cannot be used; the file's path comes first, the reason after it.
inline constexpr char kSettingsFailure[] = " は、設定ファイルとして読み書きできませんでした。";

// frmAbout.
inline constexpr char kApplicationTitle[] = "  Lintrel";
inline constexpr char kAboutSuffix[] = "のﾊﾞｰｼﾞｮﾝ情報";
inline constexpr char kVersionPrefix[] = "Ver ";
inline constexpr char kCmdOK[] = "O  K";

}  // namespace lintrel::caption
