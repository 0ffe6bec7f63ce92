#pragma once

#include <QColor>
#include <QString>
#include <array>
#include <set>

#include "DecisionObserver.h"

namespace lintrel::preview {

// Which of a drawing's states a scene shows.
enum class View {
    Before,   // 元図: the drawing as it is
    After,    // 結果: what the copy holds
    Changes,  // 変更点: what the run removes and joins, everything else faint
};

// How a scene is painted: the background, the view, and the verdicts whose entities are hidden.
struct SceneStyle {
    bool isDark = true;
    View view = View::Changes;
    std::set<Verdict> hidden;

    bool isShown(Verdict verdict) const { return hidden.count(verdict) == 0; }
    bool operator==(const SceneStyle&) const = default;
};

// Every verdict a legend lists, in its order.
inline constexpr std::array<Verdict, 13> kLegendOrder = {
    Verdict::Kept,         Verdict::Duplicate,
    Verdict::Joined,       Verdict::Lengthened,
    Verdict::Text,         Verdict::MText,
    Verdict::Dimension,    Verdict::XLine,
    Verdict::LineTypeLine, Verdict::LineTypeCircleArc,
    Verdict::Point,        Verdict::SizeLine,
    Verdict::SizeCircleArc};

// The colour a verdict's entities are drawn in by the 変更点 view.
QColor verdictColour(Verdict verdict);

// The legend's caption of a verdict.
QString verdictCaption(Verdict verdict);

// The background of a scene.
QColor backgroundColour(bool isDark);

}  // namespace lintrel::preview
