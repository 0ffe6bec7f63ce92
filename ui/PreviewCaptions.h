#pragma once

// The captions of the preview window, exactly as shown.
namespace lintrel::caption {

inline constexpr char kPreviewAction[] = "プレビュー…";
inline constexpr char kPreviewTitle[] = "プレビュー - ";
inline constexpr char kViewBefore[] = "元図";
inline constexpr char kViewAfter[] = "結果";
inline constexpr char kViewChanges[] = "変更点";
inline constexpr char kLightBackground[] = "明るい背景";
inline constexpr char kLegendTitle[] = "凡例";
inline constexpr char kPreviewRunning[] = "プレビュー作成中…";
inline constexpr char kCountSuffix[] = "件";
inline constexpr char kFitButton[] = "全体表示";

}  // namespace lintrel::caption
