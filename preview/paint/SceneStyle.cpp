#include "SceneStyle.h"

#include <algorithm>

namespace lintrel::preview {
namespace {

struct VerdictLook {
    Verdict verdict;
    QRgb colour;
    const char* caption;
};

constexpr std::array<VerdictLook, 13> kLooks = {{
    {Verdict::Kept, 0x9E9E9E, "残る図形"},
    {Verdict::Duplicate, 0xFF1744, "ダブり線"},
    {Verdict::Joined, 0xFF9100, "結合で消える線"},
    {Verdict::Lengthened, 0x00E676, "結合後の線"},
    {Verdict::Text, 0x40C4FF, "ダイナミック文字削除"},
    {Verdict::MText, 0x2979FF, "マルチTEXT文字削除"},
    {Verdict::Dimension, 0xD500F9, "寸法線削除"},
    {Verdict::XLine, 0xFFEA00, "構築線削除"},
    {Verdict::LineTypeLine, 0xF50057, "線種によるLINE削除"},
    {Verdict::LineTypeCircleArc, 0xC51162, "線種による円・円弧削除"},
    {Verdict::Point, 0x76FF03, "POINT削除"},
    {Verdict::SizeLine, 0x18FFFF, "長さによるLINE削除"},
    {Verdict::SizeCircleArc, 0x00B8D4, "長さによる円・円弧削除"},
}};

const VerdictLook& lookOf(Verdict verdict) {
    return *std::find_if(kLooks.begin(), kLooks.end(),
                         [&](const VerdictLook& look) { return look.verdict == verdict; });
}

}  // namespace

QColor verdictColour(Verdict verdict) {
    return QColor::fromRgb(lookOf(verdict).colour);
}

QString verdictCaption(Verdict verdict) {
    return QString::fromUtf8(lookOf(verdict).caption);
}

QColor backgroundColour(bool isDark) {
    return isDark ? QColor(0x21, 0x21, 0x21) : QColor(0xFA, 0xFA, 0xFA);
}

}  // namespace lintrel::preview
